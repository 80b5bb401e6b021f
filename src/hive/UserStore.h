#pragma once

#include "hive/Store.h"

#include <memory>
#include <string>
#include <vector>

namespace Hive {

struct StoreOpening {
    std::unique_ptr<Store> store;   // never null
    bool persistent = true;         // false: a store in memory stands in; nothing written lasts
    bool writable = true;           // false: the stored settings are read, every write fails
    std::vector<std::string> notes; // what went wrong on the way and what was done about it
};

// The current user's registry: on Windows the real one (hivePath is not used); elsewhere the
// hive file at hivePath, opened as openHiveFile does.
StoreOpening openUserStore(const std::string& hivePath);

} // namespace Hive
