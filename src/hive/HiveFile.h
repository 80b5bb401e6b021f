#pragma once

#include "Store.h"

#include <memory>
#include <string>
#include <vector>

namespace Hive {

struct HiveFileOpening {
    std::unique_ptr<Store> store;   // never null
    bool inFile = false;            // false: a hive in memory stands in for the file
    std::vector<std::string> notes; // what went wrong and what was done about it
};

// How many damaged files are kept beside the hive; older ones are removed.
inline constexpr int kDamagedCopiesKept = 3;

// Opens the hive file at path, creating it and its folder when missing. A file that SQLite
// finds damaged or not a database at all is renamed aside (path.damaged-<UTC time>, with its
// log) and a fresh hive started in its place. Any other failure (no access, not a plain file,
// locked by another program) leaves the file untouched, and a hive in memory stands in.
HiveFileOpening openHiveFile(const std::string& path);

} // namespace Hive
