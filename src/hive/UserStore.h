#pragma once

#include "Store.h"

#include <memory>
#include <string>
#include <vector>

namespace Hive {

// The current user's registry: on Windows the real one (hivePath is not used); elsewhere the
// hive file at hivePath, opened as openHiveFile does. Never null; `notes` receives what went
// wrong on the way, for the log.
std::unique_ptr<Store> openUserStore(const std::string& hivePath, std::vector<std::string>& notes);

} // namespace Hive
