#include "platform/UserDataFolder.h"

#include "platform/FileName.h"

#include <QtGlobal>

#include <pwd.h>
#include <unistd.h>

namespace Platform {
namespace {

QByteArray homeFolder() {
    QByteArray home = qgetenv("HOME");
    if (home.startsWith('/'))
        return home;
    // A session started without HOME still has a home in the user database.
    const passwd* user = ::getpwuid(::getuid());
    return user != nullptr && user->pw_dir != nullptr ? QByteArray(user->pw_dir) : QByteArray();
}

} // namespace

QString userDataFolder() {
    QByteArray base = qgetenv("XDG_DATA_HOME");
    // The XDG base directory rules have a relative path ignored: it would name a folder
    // that changes with the folder the program was started in.
    if (!base.startsWith('/')) {
        const QByteArray home = homeFolder();
        if (!home.startsWith('/'))
            return {};
        base = home + "/.local/share";
    }
    return fileNameFromSystem(base + "/vindrel");
}

} // namespace Platform
