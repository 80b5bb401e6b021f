#include "DisplayServer.h"

#include <QByteArray>
#include <QString>

namespace Platform {

void preferX11Display() {
    const bool chosen = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    const bool wayland = qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
    const bool xwayland = !qEnvironmentVariableIsEmpty("DISPLAY");
    if (!chosen && wayland && xwayland)
        qputenv("QT_QPA_PLATFORM", "xcb");
}

void preferImagesOverConnection() {
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) // the user's own choice stands
        qputenv("QT_XCB_NO_MITSHM", "1");
}

} // namespace Platform
