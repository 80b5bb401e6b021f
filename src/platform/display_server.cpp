#include "platform/DisplayServer.h"

#include <QString>

namespace Platform {

void StartupEnvironment::set(const char* name, const QByteArray& value) {
    saved_.push_back({name, qEnvironmentVariableIsSet(name), qgetenv(name)});
    qputenv(name, value);
}

void StartupEnvironment::restore() {
    // Last set first, so a variable set twice ends as it was before the first time.
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        if (it->wasSet)
            qputenv(it->name, it->value);
        else
            qunsetenv(it->name);
    }
    saved_.clear();
}

void preferX11Display(StartupEnvironment& environment) {
    const bool chosen = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    const bool wayland = qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
    const bool xwayland = !qEnvironmentVariableIsEmpty("DISPLAY");
    if (!chosen && wayland && xwayland)
        environment.set("QT_QPA_PLATFORM", "xcb");
}

void preferImagesOverConnection(StartupEnvironment& environment) {
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) // the user's own choice stands
        environment.set("QT_XCB_NO_MITSHM", "1");
}

void preferQtEventLoop(StartupEnvironment& environment) {
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB")) // the user's own choice stands
        environment.set("QT_NO_GLIB", "1");
}

} // namespace Platform
