#pragma once

#include "hive/UserStore.h"

namespace Hive {

// How many damaged files are kept beside the hive; older ones are removed.
inline constexpr int kDamagedCopiesKept = 3;

// Opens the hive file at path, creating it and its folder when missing. A file that SQLite
// finds damaged, not a database at all or not a hive as this program makes them is renamed
// aside (path.damaged-<UTC time>, with its log) and a fresh hive started in its place. A file
// that cannot be written (a read-only file or folder, a full disk) is opened for reading
// alone, and left untouched. Any other failure (no access, not a plain file, locked by another
// program) leaves the file untouched, and a hive in memory stands in.
StoreOpening openHiveFile(const std::string& path);

} // namespace Hive
