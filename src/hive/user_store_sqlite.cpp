#include "hive/UserStore.h"

#include "hive/HiveFile.h"

namespace Hive {

StoreOpening openUserStore(const std::string& hivePath) {
    return openHiveFile(hivePath);
}

} // namespace Hive
