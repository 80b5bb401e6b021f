#include "hive/HiveCheck.h"

#include "hive/SqliteStatement.h"

#include <sqlite3.h>

#include <cstring>
#include <tuple>
#include <vector>

namespace Hive {

// Keys form a tree through `parent`; the root (HKEY_CURRENT_USER) is the one without a parent.
// Names are matched through their folded form, which is unique among siblings. The text of the
// statements is what a file's schema is compared with: files made since the first version hold
// it as it stands, so it must not change, not even in its spaces.
const char* const kHiveSchema = R"(
    CREATE TABLE IF NOT EXISTS hive_keys(
        id INTEGER PRIMARY KEY AUTOINCREMENT,
        parent INTEGER REFERENCES hive_keys(id) ON DELETE CASCADE,
        name TEXT NOT NULL,
        folded TEXT NOT NULL);
    CREATE UNIQUE INDEX IF NOT EXISTS hive_keys_by_name ON hive_keys(parent, folded);
    CREATE TABLE IF NOT EXISTS hive_values(
        key INTEGER NOT NULL REFERENCES hive_keys(id) ON DELETE CASCADE,
        name TEXT NOT NULL,
        folded TEXT NOT NULL,
        type INTEGER NOT NULL,
        data BLOB NOT NULL);
    CREATE UNIQUE INDEX IF NOT EXISTS hive_values_by_name ON hive_values(key, folded);
    INSERT OR IGNORE INTO hive_keys(id, parent, name, folded) VALUES (1, NULL, '', '');
    PRAGMA application_id = 1447315542;
    PRAGMA user_version = 1;
)";
static_assert(kApplicationId == 1447315542);

namespace {

// One entry of a schema: its type, name, table and the SQL SQLite keeps for it.
using SchemaEntry = std::tuple<std::string, std::string, std::string, std::string>;
using Schema = std::vector<SchemaEntry>;

int refuseMoreWork(void*) {
    return 1;
}

int readSchema(sqlite3* db, Schema& schema) {
    SqliteStatement entries;
    int rc =
        entries.prepare(db, "SELECT type, name, tbl_name, sql FROM sqlite_schema ORDER BY name");
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        rc = entries.step();
        if (rc == SQLITE_ROW)
            schema.emplace_back(entries.text(0), entries.text(1), entries.text(2), entries.text(3));
    }
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

// The schema kHiveSchema makes, as SQLite keeps it, made once in memory.
const Schema& hiveSchema() {
    static const Schema schema = [] {
        Schema made;
        sqlite3* db = nullptr;
        if (sqlite3_open(":memory:", &db) == SQLITE_OK &&
            sqlite3_exec(db, kHiveSchema, nullptr, nullptr, nullptr) == SQLITE_OK)
            readSchema(db, made);
        sqlite3_close(db);
        return made;
    }();
    return schema;
}

int quickCheck(sqlite3* db, OpenError& error) {
    SqliteStatement check;
    int rc = check.prepare(db, "PRAGMA quick_check");
    if (rc == SQLITE_OK)
        rc = check.step();
    if (rc == SQLITE_ROW && check.text(0) != "ok") {
        error = {SQLITE_CORRUPT, "the database is damaged: " + check.text(0)};
        return SQLITE_CORRUPT;
    }
    return rc == SQLITE_ROW ? SQLITE_OK : rc;
}

int applicationId(sqlite3* db, std::int64_t& id) {
    SqliteStatement probe;
    int rc = probe.prepare(db, "PRAGMA application_id");
    if (rc == SQLITE_OK)
        rc = probe.step();
    if (rc == SQLITE_ROW)
        id = probe.integer(0);
    return rc == SQLITE_ROW ? SQLITE_OK : rc;
}

// Says why a check failed with rc, unless it has said so. A check cut short by the work limit
// finds a file no store of the clock's grows into.
void explain(int rc, sqlite3* db, OpenError& error) {
    if (error.code == 0 && (rc & 0xFF) == SQLITE_INTERRUPT)
        error = {SQLITE_CORRUPT, "checking it takes more work than any settings store needs"};
    else if (error.code == 0)
        error = {rc & 0xFF, lastError(db)};
}

// Reads the file's schema, checks it and reads its application id, all in one state of the
// file: another copy of the clock may be making the tables of a new file meanwhile, and its id
// with them. SQLITE_OK, or an error with `error` filled.
int readHive(sqlite3* db, Schema& schema, std::int64_t& id, OpenError& error) {
    int rc = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    // The schema first: anything else the file holds is compared, never run.
    if (rc == SQLITE_OK)
        rc = readSchema(db, schema);
    if (rc == SQLITE_OK)
        rc = quickCheck(db, error);
    if (rc == SQLITE_OK)
        rc = applicationId(db, id);
    // Said before the end of the transaction, which answers for itself.
    if (rc != SQLITE_OK)
        explain(rc, db, error);
    if (sqlite3_get_autocommit(db) == 0)
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    return rc == SQLITE_OK ? SQLITE_OK : error.code;
}

} // namespace

bool OpenError::damaged() const {
    return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
}

bool OpenError::mayBeReadable() const {
    switch (code) {
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR:
    case SQLITE_FULL:
    case SQLITE_PERM:
        return true;
    default:
        return false;
    }
}

void defendConnection(sqlite3* db, int mostSteps) {
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    // The cascading deletes of keys are foreign key actions, which still work without triggers.
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    // A damaged page is found where it is read rather than trusted.
    sqlite3_exec(db, "PRAGMA cell_size_check = ON", nullptr, nullptr, nullptr);
    // SQLite calls this each time a statement's count of steps since its last reset passes a
    // multiple of mostSteps; SqliteStatement::reset sets the count back to zero.
    sqlite3_progress_handler(db, mostSteps, &refuseMoreWork, nullptr);
}

int checkHive(sqlite3* db, bool& fresh, OpenError& error) {
    Schema schema;
    std::int64_t id = 0;
    if (const int rc = readHive(db, schema, id, error); rc != SQLITE_OK)
        return rc;
    fresh = id == 0 && schema.empty();
    if (fresh)
        return SQLITE_OK;
    if (id != kApplicationId) {
        error = {SQLITE_ERROR, "the file is another program's database"};
        return SQLITE_ERROR;
    }
    // Without the schema to compare with, no file can be judged.
    if (hiveSchema().empty()) {
        error = {SQLITE_NOMEM, "the settings store's schema cannot be made"};
        return SQLITE_NOMEM;
    }
    if (schema != hiveSchema()) {
        error = {SQLITE_CORRUPT, "its tables are not the settings store's own"};
        return SQLITE_CORRUPT;
    }
    return SQLITE_OK;
}

std::string lastError(sqlite3* db) {
    std::string text = sqlite3_errmsg(db);
    if (sqlite3_extended_errcode(db) == SQLITE_READONLY_DIRECTORY)
        return text + " (its folder cannot be written)";
    // The system's error is kept from the last failed call that had one.
    const int primary = sqlite3_errcode(db);
    const int system = sqlite3_system_errno(db);
    if ((primary == SQLITE_IOERR || primary == SQLITE_CANTOPEN) && system != 0)
        text += std::string(" (") + std::strerror(system) + ")";
    return text;
}

} // namespace Hive
