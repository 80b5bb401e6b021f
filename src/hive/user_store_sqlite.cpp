#include "UserStore.h"

#include "HiveFile.h"

namespace Hive {

StoreOpening openUserStore(const std::string& hivePath) {
    return openHiveFile(hivePath);
}

} // namespace Hive
