// Opening a hive file: checked before anything in it is changed or made beside it, and read
// alone where it cannot be written.

#include "hive/SqliteHive.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <thread>

namespace Hive {

namespace {

// A log no longer than its own header holds nothing to read.
constexpr off_t kLogHeaderBytes = 32;

// A URI for the file at path, which carries SQLite's options for opening it.
std::string fileUri(const std::string& path, const char* options) {
    std::string uri = path.starts_with('/') ? "file://" : "file:";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || std::strchr("/-._~", c) != nullptr) {
            uri += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            uri += escaped;
        }
    }
    return uri + "?" + options;
}

// What tells that a file was written: it is the same file, of the same size and time.
struct FileState {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    timespec modified{};

    bool operator==(const FileState& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

FileState stateOf(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return {};
    return {status.st_dev, status.st_ino, status.st_size, status.st_mtim};
}

// The file's header says it keeps a write-ahead log, and there is none beside it.
bool logModeWithoutLog(const std::string& path) {
    char header[20] = {};
    if (!std::ifstream(path, std::ios::binary).read(header, sizeof header))
        return false;
    return header[18] == 2 && header[19] == 2 && stateOf(path + "-wal").size < 0;
}

bool logHoldsFrames(const std::string& path) {
    return stateOf(path + "-wal").size > kLogHeaderBytes;
}

// Checks a file in log mode that has no log beside it, without making one: opening it as
// usual makes the log and its index, also beside a file that proves to be no hive. The
// immutable file is read without locks, so another copy of the clock could write it
// meanwhile, at the end of its run; a verdict against the file counts only if it stayed as
// it was. SQLITE_OK when nothing speaks against the file.
int inspectAlone(const std::string& path, OpenError& error) {
    const FileState before = stateOf(path);
    sqlite3* db = nullptr;
    bool fresh = false;
    if (sqlite3_open_v2(fileUri(path, "immutable=1").c_str(), &db,
                        SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) == SQLITE_OK) {
        defendConnection(db);
        checkHive(db, fresh, error);
    }
    sqlite3_close(db);
    const bool verdict = error.damaged() || error.code == SQLITE_ERROR;
    if (!verdict) {
        error = {};
        return SQLITE_OK;
    }
    if (!(stateOf(path) == before && logModeWithoutLog(path))) {
        error = {SQLITE_BUSY, "the file changed while it was checked"};
        return SQLITE_BUSY;
    }
    return error.code;
}

} // namespace

SqliteHive::SqliteHive(sqlite3* db, bool readOnly)
    : db_(db), busyWait_{kBusyTimeoutMs, {}}, readOnly_(readOnly) {}

SqliteHive::~SqliteHive() {
    // The statements are finalized after this body; v2 closes once they are.
    sqlite3_close_v2(db_);
}

template <typename Attempt>
std::unique_ptr<SqliteHive> SqliteHive::retried(Attempt attempt, OpenError& error) {
    // A few steps of opening report a busy file at once instead of waiting, for instance while
    // another copy sets up a new file; they are tried again until the usual wait is used up.
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
    for (;;) {
        error = {};
        std::unique_ptr<SqliteHive> hive = attempt(error);
        const bool busy = error.code == SQLITE_BUSY || error.code == SQLITE_LOCKED;
        if (hive || !busy || std::chrono::steady_clock::now() >= deadline)
            return hive;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::unique_ptr<SqliteHive> SqliteHive::connect(const std::string& name, int flags,
                                                OpenError& error) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(name.c_str(), &db, flags, nullptr);
    // Closed with the hive, also when the open failed.
    std::unique_ptr<SqliteHive> hive(new SqliteHive(db, (flags & SQLITE_OPEN_READONLY) != 0));
    if (rc == SQLITE_OK)
        return hive;
    error = {rc & 0xFF, db != nullptr ? lastError(db) : sqlite3_errstr(rc)};
    return nullptr;
}

std::unique_ptr<SqliteHive> SqliteHive::open(const std::string& path, OpenError& error) {
    return retried([&](OpenError& e) { return openOnce(path, e); }, error);
}

std::unique_ptr<SqliteHive> SqliteHive::openOnce(const std::string& path, OpenError& error) {
    const bool inFile = path != ":memory:";
    if (inFile && logModeWithoutLog(path) && inspectAlone(path, error) != SQLITE_OK)
        return nullptr;
    std::unique_ptr<SqliteHive> hive =
        connect(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error);
    if (!hive)
        return nullptr;
    // Closing a file found unusable must not fold its log into it, nor delete the log.
    sqlite3_db_config(hive->db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    if (hive->configure(inFile, error) != SQLITE_OK)
        return nullptr;
    sqlite3_db_config(hive->db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
    return hive;
}

std::unique_ptr<SqliteHive> SqliteHive::openReadOnly(const std::string& path, OpenError& error) {
    // As usual where the log's index can be read or made.
    std::unique_ptr<SqliteHive> hive =
        retried([&](OpenError& e) { return openUri(fileUri(path, "mode=ro"), nullptr, e); }, error);
    if (hive || !error.mayBeReadable())
        return hive;
    // Where it cannot, a file without a log to read is the whole store by itself...
    if (!logHoldsFrames(path))
        return openUri(fileUri(path, "immutable=1"), nullptr, error);
    // ...and a log's index is built in memory, which SQLite does for a connection that holds
    // the file to itself: one that takes no locks, since the file cannot be locked for writing.
    return openUri(fileUri(path, "mode=ro&vfs=unix-none"), "PRAGMA locking_mode = EXCLUSIVE",
                   error);
}

std::unique_ptr<SqliteHive> SqliteHive::openUri(const std::string& uri, const char* setUp,
                                                OpenError& error) {
    error = {};
    std::unique_ptr<SqliteHive> hive = connect(uri, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, error);
    if (!hive)
        return nullptr;
    if (setUp != nullptr)
        hive->exec(setUp);
    if (hive->configure(true, error) != SQLITE_OK)
        return nullptr;
    return hive;
}

std::unique_ptr<SqliteHive> SqliteHive::inMemory() {
    OpenError error;
    return open(":memory:", error);
}

int SqliteHive::configure(bool inFile, OpenError& error) {
    defendConnection(db_);
    if (!readOnly_ && sqlite3_db_readonly(db_, "main") == 1) {
        error = {SQLITE_READONLY, "the file is read-only"};
        return SQLITE_READONLY;
    }
    sqlite3_busy_handler(db_, &SqliteHive::waitWhileBusy, &busyWait_);
    bool fresh = false;
    int rc = exec("PRAGMA foreign_keys = ON");
    // Nothing is changed in a file before it is known to be a sound hive, or a new one.
    if (rc == SQLITE_OK)
        rc = checkHive(db_, fresh, error);
    if (rc == SQLITE_OK && fresh && readOnly_) {
        error = {SQLITE_EMPTY, "it holds no settings"};
        return SQLITE_EMPTY;
    }
    // The log makes a save one append; readers never wait for a writer.
    if (rc == SQLITE_OK && inFile && !readOnly_)
        rc = exec("PRAGMA journal_mode = WAL");
    if (rc == SQLITE_OK && !readOnly_)
        rc = exec("PRAGMA synchronous = FULL");
    if (rc == SQLITE_OK && fresh)
        rc = createSchema();
    if (rc == SQLITE_OK)
        rc = prepareStatements();
    if (rc != SQLITE_OK && error.code == 0)
        error = {rc & 0xFF, lastError(db_)};
    return rc;
}

int SqliteHive::createSchema() {
    // Two copies starting at once may both get here; the schema statements are idempotent.
    int rc = exec("BEGIN IMMEDIATE");
    if (rc == SQLITE_OK)
        rc = exec(kHiveSchema);
    if (rc == SQLITE_OK)
        return exec("COMMIT");
    exec("ROLLBACK");
    return rc;
}

void SqliteHive::setBusyTimeout(int milliseconds) {
    busyWait_.timeoutMs = milliseconds;
}

int SqliteHive::waitWhileBusy(void* wait, int attempts) {
    // SQLite's own timeout sleeps ever longer between tries, up to 100 ms: a writer that saves
    // again after a short pause could take the lock every time and outwait it. Trying every
    // millisecond catches the gap between the other writer's saves.
    auto& busy = *static_cast<BusyWait*>(wait);
    const auto now = std::chrono::steady_clock::now();
    if (attempts == 0)
        busy.since = now;
    if (now - busy.since >= std::chrono::milliseconds(busy.timeoutMs))
        return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return 1;
}

} // namespace Hive
