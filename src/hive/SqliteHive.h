#pragma once

#include "hive/HiveCheck.h"
#include "hive/SqliteStatement.h"
#include "hive/Store.h"

#include <chrono>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct sqlite3;

namespace Hive {

// The registry stand-in: one user's keys and values in an SQLite database. Names are matched
// without regard to letter case and keep the case they were created with; values of every type
// keep their bytes as written. The file uses a write-ahead log and write transactions take the
// lock at their start, waiting a while for another writer, so two running copies never fail
// each other. A file from elsewhere is opened defensively (HiveCheck.h). Used from one thread.
class SqliteHive final : public Store {
public:
    // Opens or creates the hive file; null and `error` filled when it cannot be used. A file
    // that is not a hive as this program makes them is refused as damaged, a database of
    // another program as such; neither is changed, nor given a log beside it.
    static std::unique_ptr<SqliteHive> open(const std::string& path, OpenError& error);
    // Opens the hive file for reading alone, as a file that cannot be written (a read-only file
    // or folder, a full disk) can still be read: also when the index of its log (-shm) is gone
    // and cannot be made again. Every write answers kAccessDenied. Null and `error` filled when
    // it cannot be read, or holds no hive yet; a damaged file is refused and left as it is.
    static std::unique_ptr<SqliteHive> openReadOnly(const std::string& path, OpenError& error);
    // A hive that lives only as long as the object.
    static std::unique_ptr<SqliteHive> inMemory();
    ~SqliteHive() override;

    Status createKey(Root root, std::string_view path, Key& key) override;
    Status openKey(Root root, std::string_view path, Key& key) override;
    Status closeKey(Key key) override;
    Status setValue(Key key, std::string_view name, std::uint32_t type, const std::uint8_t* data,
                    std::uint32_t size) override;
    Status queryValue(Key key, std::string_view name, std::uint32_t* type, std::uint8_t* data,
                      std::uint32_t* size) override;
    Status deleteValue(Key key, std::string_view name) override;
    Status enumKey(Key key, std::uint32_t index, std::string& name) override;
    Status enumValue(Key key, std::uint32_t index, std::string& name, std::uint32_t& type,
                     std::vector<std::uint8_t>& data) override;
    // subkey must name a key below key; the root itself cannot be deleted.
    Status deleteTree(Key key, std::string_view subkey) override;
    Status beginTransaction(Access access) override;
    Status endTransaction(bool commit) override;

    // How long a write waits for another copy's write to end before it fails with kBusy.
    void setBusyTimeout(int milliseconds);

    // Keys opened and not closed yet.
    size_t openHandles() const { return handles_.size(); }

private:
    // Long enough for another copy's save to end, short enough for the clock to start anyway.
    static constexpr int kBusyTimeoutMs = 2000;

    SqliteHive(sqlite3* db, bool readOnly);
    // Opens with `attempt` until it works or fails for a reason other than a busy file, or the
    // usual wait for a busy file is used up.
    template <typename Attempt>
    static std::unique_ptr<SqliteHive> retried(Attempt attempt, OpenError& error);
    // A hive on a new connection to `name` (a path or URI) opened with SQLite's `flags`, yet to
    // be configured; null and `error` filled when SQLite cannot open it.
    static std::unique_ptr<SqliteHive> connect(const std::string& name, int flags,
                                               OpenError& error);
    static std::unique_ptr<SqliteHive> openOnce(const std::string& path, OpenError& error);
    // Opens an SQLite URI for reading alone, running `setUp` (or nothing) before any read.
    static std::unique_ptr<SqliteHive> openUri(const std::string& uri, const char* setUp,
                                               OpenError& error);
    int configure(bool inFile, OpenError& error);
    int createSchema();
    int prepareStatements();
    int exec(const char* sql);

    bool keyId(Key key, std::int64_t& id) const;
    Key newHandle(std::int64_t id);
    // Walks the levels of path from the key `from`: SQLITE_ROW with id set when all exist,
    // SQLITE_DONE with id at the deepest existing level and `rest` the levels still missing.
    int walk(std::int64_t from, std::string_view path, std::int64_t& id, std::string_view& rest);
    int childOf(std::int64_t parent, std::string_view name, std::int64_t& id);
    int addChild(std::int64_t parent, std::string_view name, std::int64_t& id);
    Status createBelow(std::int64_t from, std::string_view path, std::int64_t& id);
    Status findBelow(std::int64_t from, std::string_view path, std::int64_t& id);
    // Opens root\path, creating what is missing when asked to.
    Status reach(Root root, std::string_view path, bool create, Key& key);
    // What a lookup that found nothing under key `id` means: its key is gone, or `otherwise`.
    Status nothingFound(std::int64_t id, Status otherwise);
    Status writable() const;
    // Deletes the key `top` and every key below it, with their values, as one.
    Status removeTree(std::int64_t top);
    // Where the last listing of a key's subkeys or values stopped: item `index`, at `rowid`
    // (values) or `folded` (subkeys).
    struct ListCursor {
        std::int64_t key = 0; // none
        std::uint32_t index = 0;
        std::int64_t rowid = 0;
        std::string folded;
    };
    // Picks item number index below key: past the cursor when index is the one after it, so
    // that listing a key item by item takes time linear in its items, otherwise by counting
    // from the first. Binds the key as 1, the offset or the cursor as 2; read() takes the row.
    template <typename BindCursor, typename Read>
    Status itemAt(SqliteStatement& counting, SqliteStatement& seeking, ListCursor& cursor, Key key,
                  std::uint32_t index, BindCursor bindCursor, Read read);
    // Any write may move items: listings start again from the first.
    void forgetCursors();

    // How long a write waits for another writer, and since when the current wait has lasted.
    struct BusyWait {
        int timeoutMs;
        std::chrono::steady_clock::time_point since;
    };
    static int waitWhileBusy(void* wait, int attempts);

    sqlite3* db_;
    BusyWait busyWait_;
    std::unordered_map<std::uintptr_t, std::int64_t> handles_;
    std::uintptr_t lastHandle_ = 0;
    bool readOnly_; // the file is only read
    int depth_ = 0;
    bool blocked_ = false;   // the outermost transaction could not begin: its writes fail
    bool readScope_ = false; // the outermost transaction is a read scope
    ListCursor subkeyCursor_;
    ListCursor valueCursor_;

    SqliteStatement findChild_;
    SqliteStatement insertChild_;
    SqliteStatement keyExists_;
    SqliteStatement upsertValue_;
    SqliteStatement selectValue_;
    SqliteStatement removeValue_;
    SqliteStatement subkeyAt_;
    SqliteStatement subkeyAfter_;
    SqliteStatement valueAt_;
    SqliteStatement valueAfter_;
    SqliteStatement removeKey_;
    SqliteStatement treeBelow_;
};

} // namespace Hive
