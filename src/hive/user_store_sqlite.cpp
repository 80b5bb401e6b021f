#include "UserStore.h"

#include "HiveFile.h"

namespace Hive {

std::unique_ptr<Store> openUserStore(const std::string& hivePath, std::vector<std::string>& notes) {
    HiveFileOpening opening = openHiveFile(hivePath);
    notes.insert(notes.end(), opening.notes.begin(), opening.notes.end());
    return std::move(opening.store);
}

} // namespace Hive
