#include "platform/UserDataFolder.h"

namespace Platform {

QString userDataFolder() {
    return {};
}

} // namespace Platform
