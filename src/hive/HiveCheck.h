#pragma once

#include <cstdint>
#include <string>

struct sqlite3;

namespace Hive {

// Why a hive could not be opened: SQLite's primary result code and its explanation.
struct OpenError {
    int code = 0;
    std::string message;

    // The file is damaged, is not a database at all, or is not a hive as this program makes
    // them (as opposed to out of reach, or another program's database).
    bool damaged() const;
    // Opening for writing failed in a way that may leave the file readable: a read-only file
    // or folder, a full disk, a log index that cannot be made.
    bool mayBeReadable() const;
};

// "VDHV": the application id of this program's hive files.
inline constexpr std::int64_t kApplicationId = 0x56444856;

// The most steps of SQLite's virtual machine one use of a statement may take before it is
// interrupted: eight times what deleting a key of 100,000 values takes, yet about a sixth of a
// second, so that no file can make a statement run on unbounded.
inline constexpr int kMostStepsPerStatement = 20'000'000;

// The statements that make a new hive; run once in a fresh database.
extern const char* const kHiveSchema;

// Shuts what SQLite leaves open to a file made elsewhere: triggers and views never run,
// functions in the schema are refused unless harmless, the schema cannot be written through
// SQL, and one use of a statement is interrupted after `mostSteps` steps (SQLITE_INTERRUPT).
void defendConnection(sqlite3* db, int mostSteps = kMostStepsPerStatement);

// Whether the file behind db is a hive as this program makes them: quick_check finds nothing
// wrong, the application id is this program's, and its schema (tables, columns, indexes,
// triggers, views) is exactly the one kHiveSchema makes. `fresh` is set for an empty database
// to make one of. SQLITE_OK, or an error with `error` filled: SQLITE_CORRUPT for a damaged
// file, one whose schema differs or one too costly to check, SQLITE_ERROR for another
// program's database, the error met otherwise.
int checkHive(sqlite3* db, bool& fresh, OpenError& error);

// SQLite's explanation of its last error on db, with the system's own where there is one.
std::string lastError(sqlite3* db);

} // namespace Hive
