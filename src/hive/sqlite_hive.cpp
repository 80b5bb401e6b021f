#include "hive/SqliteHive.h"

#include "hive/NameFolding.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>

namespace Hive {

namespace {

constexpr std::int64_t kRootId = 1;

bool succeeded(int rc) {
    return rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE;
}

Status statusOf(int rc) {
    switch (rc & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
        return kSuccess;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return kBusy;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return kAccessDenied;
    case SQLITE_FULL:
        return kDiskFull;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return kBadDatabase;
    default:
        return kIoFailed;
    }
}

// The bytes or text of one stored value, reached in place.
class StoredBytes {
public:
    // Row 0 reaches nothing.
    StoredBytes(sqlite3* db, std::int64_t rowid) {
        if (rowid != 0)
            status_ = sqlite3_blob_open(db, "main", "hive_values", "data", rowid, 0, &blob_);
    }
    ~StoredBytes() { sqlite3_blob_close(blob_); }
    StoredBytes(const StoredBytes&) = delete;
    StoredBytes& operator=(const StoredBytes&) = delete;

    int status() const { return status_; }
    std::uint32_t size() const { return static_cast<std::uint32_t>(sqlite3_blob_bytes(blob_)); }
    int read(std::uint8_t* data, std::uint32_t count) {
        return sqlite3_blob_read(blob_, data, static_cast<int>(count), 0);
    }

private:
    sqlite3_blob* blob_ = nullptr;
    int status_ = SQLITE_OK;
};

// Takes the first level off `rest`, passing over empty ones as the registry does (a doubled or
// trailing backslash); false when there is none left.
bool nextLevel(std::string_view& rest, std::string_view& level) {
    rest.remove_prefix(std::min(rest.find_first_not_of('\\'), rest.size()));
    if (rest.empty())
        return false;
    const size_t cut = rest.find('\\');
    level = rest.substr(0, cut);
    rest = cut == rest.npos ? std::string_view() : rest.substr(cut + 1);
    return true;
}

bool hasLevels(std::string_view path) {
    std::string_view level;
    return nextLevel(path, level);
}

// A path is relative to its key, so it cannot start with a backslash, and no level is longer
// than the registry takes.
Status checkPath(std::string_view path) {
    if (path.starts_with('\\'))
        return kBadPathname;
    for (std::string_view level; nextLevel(path, level);) {
        if (nameLength(level) > kLongestKeyName)
            return kInvalidParameter;
    }
    return kSuccess;
}

} // namespace

int SqliteHive::prepareStatements() {
    const std::pair<SqliteStatement*, const char*> statements[] = {
        {&findChild_, "SELECT id FROM hive_keys WHERE parent = ?1 AND folded = ?2"},
        {&insertChild_, "INSERT INTO hive_keys(parent, name, folded) VALUES (?1, ?2, ?3)"},
        {&keyExists_, "SELECT 1 FROM hive_keys WHERE id = ?1"},
        {&upsertValue_, "INSERT INTO hive_values(key, name, folded, type, data) "
                        "VALUES (?1, ?2, ?3, ?4, ?5) ON CONFLICT(key, folded) "
                        "DO UPDATE SET type = excluded.type, data = excluded.data"},
        {&selectValue_, "SELECT type, rowid, typeof(data) IN ('blob', 'text'), "
                        "CASE WHEN typeof(data) NOT IN ('blob', 'text') THEN data END "
                        "FROM hive_values WHERE key = ?1 AND folded = ?2"},
        {&removeValue_, "DELETE FROM hive_values WHERE key = ?1 AND folded = ?2"},
        {&subkeyAt_, "SELECT name, folded FROM hive_keys WHERE parent = ?1 ORDER BY folded "
                     "LIMIT 1 OFFSET ?2"},
        {&subkeyAfter_, "SELECT name, folded FROM hive_keys WHERE parent = ?1 AND folded > ?2 "
                        "ORDER BY folded LIMIT 1"},
        {&valueAt_, "SELECT name, type, data, rowid FROM hive_values WHERE key = ?1 "
                    "ORDER BY rowid LIMIT 1 OFFSET ?2"},
        // By the table itself: the index by name would sort the key's values for each one.
        {&valueAfter_, "SELECT name, type, data, rowid FROM hive_values NOT INDEXED "
                       "WHERE rowid > ?2 AND key = ?1 ORDER BY rowid LIMIT 1"},
        {&removeKey_, "DELETE FROM hive_keys WHERE id = ?1"},
        {&treeBelow_, "WITH RECURSIVE tree(id, depth) AS (SELECT ?1, 0 UNION ALL "
                      "SELECT hive_keys.id, tree.depth + 1 FROM hive_keys JOIN tree "
                      "ON hive_keys.parent = tree.id) SELECT id FROM tree ORDER BY depth DESC"},
    };
    for (const auto& [statement, sql] : statements) {
        if (const int rc = statement->prepare(db_, sql); rc != SQLITE_OK)
            return rc;
    }
    return SQLITE_OK;
}

int SqliteHive::exec(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
}

bool SqliteHive::keyId(Key key, std::int64_t& id) const {
    const auto found = handles_.find(key.id);
    if (found == handles_.end())
        return false;
    id = found->second;
    return true;
}

Key SqliteHive::newHandle(std::int64_t id) {
    handles_.emplace(++lastHandle_, id);
    return Key{lastHandle_};
}

int SqliteHive::childOf(std::int64_t parent, std::string_view name, std::int64_t& id) {
    StatementUse use(findChild_);
    findChild_.bind(1, parent);
    findChild_.bind(2, foldCase(name));
    const int rc = findChild_.step();
    if (rc == SQLITE_ROW)
        id = findChild_.integer(0);
    return rc;
}

int SqliteHive::addChild(std::int64_t parent, std::string_view name, std::int64_t& id) {
    StatementUse use(insertChild_);
    insertChild_.bind(1, parent);
    insertChild_.bind(2, name);
    insertChild_.bind(3, foldCase(name));
    const int rc = insertChild_.step();
    if (rc == SQLITE_DONE)
        id = sqlite3_last_insert_rowid(db_);
    return rc;
}

int SqliteHive::walk(std::int64_t from, std::string_view path, std::int64_t& id,
                     std::string_view& rest) {
    id = from;
    rest = path;
    std::string_view remaining = rest;
    for (std::string_view level; nextLevel(remaining, level); rest = remaining) {
        const int rc = childOf(id, level, id);
        if (rc != SQLITE_ROW)
            return rc;
    }
    return SQLITE_ROW;
}

Status SqliteHive::createBelow(std::int64_t from, std::string_view path, std::int64_t& id) {
    std::string_view missing;
    int rc = walk(from, path, id, missing);
    if (rc != SQLITE_DONE)
        return statusOf(rc);
    if (const Status status = writable(); status != kSuccess)
        return status;
    forgetCursors();
    Transaction scope(*this);
    // Another copy may have made some of the levels meanwhile: look again under the lock.
    for (std::string_view level; nextLevel(missing, level);) {
        rc = childOf(id, level, id);
        if (rc == SQLITE_DONE)
            rc = addChild(id, level, id);
        if (!succeeded(rc))
            return statusOf(rc);
    }
    return scope.commit();
}

Status SqliteHive::nothingFound(std::int64_t id, Status otherwise) {
    StatementUse use(keyExists_);
    keyExists_.bind(1, id);
    const int rc = keyExists_.step();
    if (rc == SQLITE_DONE)
        return kKeyDeleted;
    return rc == SQLITE_ROW ? otherwise : statusOf(rc);
}

Status SqliteHive::writable() const {
    if (readScope_ || readOnly_)
        return kAccessDenied;
    return blocked_ ? kBusy : kSuccess;
}

Status SqliteHive::findBelow(std::int64_t from, std::string_view path, std::int64_t& id) {
    std::string_view missing;
    const int rc = walk(from, path, id, missing);
    return rc == SQLITE_DONE ? kFileNotFound : statusOf(rc);
}

Status SqliteHive::reach(Root root, std::string_view path, bool create, Key& key) {
    key = {};
    if (root != Root::CurrentUser)
        return kInvalidHandle;
    if (const Status status = checkPath(path); status != kSuccess)
        return status;
    std::int64_t id = 0;
    const Status status = create ? createBelow(kRootId, path, id) : findBelow(kRootId, path, id);
    if (status == kSuccess)
        key = newHandle(id);
    return status;
}

Status SqliteHive::createKey(Root root, std::string_view path, Key& key) {
    return reach(root, path, true, key);
}

Status SqliteHive::openKey(Root root, std::string_view path, Key& key) {
    return reach(root, path, false, key);
}

Status SqliteHive::closeKey(Key key) {
    return handles_.erase(key.id) == 1 ? kSuccess : kInvalidHandle;
}

Status SqliteHive::setValue(Key key, std::string_view name, std::uint32_t type,
                            const std::uint8_t* data, std::uint32_t size) {
    std::int64_t id = 0;
    if (!keyId(key, id))
        return kInvalidHandle;
    if ((data == nullptr && size > 0) || nameLength(name) > kLongestValueName)
        return kInvalidParameter;
    if (const Status status = writable(); status != kSuccess)
        return status;
    forgetCursors();
    StatementUse use(upsertValue_);
    upsertValue_.bind(1, id);
    upsertValue_.bind(2, name);
    upsertValue_.bind(3, foldCase(name));
    upsertValue_.bind(4, static_cast<std::int64_t>(type));
    upsertValue_.bindBytes(5, data, size);
    const int rc = upsertValue_.step();
    // The only constraint left to fail is the key's own existence.
    if ((rc & 0xFF) == SQLITE_CONSTRAINT)
        return kKeyDeleted;
    return statusOf(rc);
}

Status SqliteHive::queryValue(Key key, std::string_view name, std::uint32_t* type,
                              std::uint8_t* data, std::uint32_t* size) {
    std::int64_t id = 0;
    if (!keyId(key, id))
        return kInvalidHandle;
    if (data != nullptr && size == nullptr)
        return kInvalidParameter;
    StatementUse use(selectValue_);
    selectValue_.bind(1, id);
    selectValue_.bind(2, foldCase(name));
    const int rc = selectValue_.step();
    if (rc == SQLITE_DONE)
        return nothingFound(id, kFileNotFound);
    if (rc != SQLITE_ROW)
        return statusOf(rc);
    if (type != nullptr)
        *type = static_cast<std::uint32_t>(selectValue_.integer(0));
    // Bytes and text are read through a blob handle, which knows their count without loading
    // them: asking for the size of a huge value costs nothing, and its bytes are read only
    // into a buffer that takes them. A number, which only another program stores, is short.
    const bool inPlace = selectValue_.integer(2) != 0;
    StoredBytes stored(db_, inPlace ? selectValue_.integer(1) : 0);
    if (inPlace && stored.status() != SQLITE_OK)
        return statusOf(stored.status());
    const std::uint32_t count = inPlace ? stored.size() : selectValue_.byteCount(3);
    Status status = kSuccess;
    if (data != nullptr && *size < count)
        status = kMoreData;
    else if (data != nullptr && count > 0 && inPlace)
        status = statusOf(stored.read(data, count));
    else if (data != nullptr && count > 0)
        std::memcpy(data, selectValue_.bytes(3), count);
    if (size != nullptr)
        *size = count;
    return status;
}

Status SqliteHive::deleteValue(Key key, std::string_view name) {
    std::int64_t id = 0;
    if (!keyId(key, id))
        return kInvalidHandle;
    if (const Status status = writable(); status != kSuccess)
        return status;
    forgetCursors();
    StatementUse use(removeValue_);
    removeValue_.bind(1, id);
    removeValue_.bind(2, foldCase(name));
    const int rc = removeValue_.step();
    if (rc != SQLITE_DONE)
        return statusOf(rc);
    return sqlite3_changes(db_) > 0 ? kSuccess : nothingFound(id, kFileNotFound);
}

template <typename BindCursor, typename Read>
Status SqliteHive::itemAt(SqliteStatement& counting, SqliteStatement& seeking, ListCursor& cursor,
                          Key key, std::uint32_t index, BindCursor bindCursor, Read read) {
    std::int64_t id = 0;
    if (!keyId(key, id))
        return kInvalidHandle;
    const bool next = cursor.key == id && cursor.index + 1 == index;
    SqliteStatement& statement = next ? seeking : counting;
    StatementUse use(statement);
    statement.bind(1, id);
    if (next)
        bindCursor(statement);
    else
        statement.bind(2, static_cast<std::int64_t>(index));
    const int rc = statement.step();
    cursor.key = 0;
    if (rc == SQLITE_DONE)
        return nothingFound(id, kNoMoreItems);
    if (rc != SQLITE_ROW)
        return statusOf(rc);
    read(statement);
    cursor.key = id;
    cursor.index = index;
    return kSuccess;
}

void SqliteHive::forgetCursors() {
    subkeyCursor_.key = 0;
    valueCursor_.key = 0;
}

Status SqliteHive::enumKey(Key key, std::uint32_t index, std::string& name) {
    return itemAt(
        subkeyAt_, subkeyAfter_, subkeyCursor_, key, index,
        [&](SqliteStatement& s) { s.bind(2, subkeyCursor_.folded); },
        [&](SqliteStatement& s) {
            name = s.text(0);
            subkeyCursor_.folded = s.text(1);
        });
}

Status SqliteHive::enumValue(Key key, std::uint32_t index, std::string& name, std::uint32_t& type,
                             std::vector<std::uint8_t>& data) {
    return itemAt(
        valueAt_, valueAfter_, valueCursor_, key, index,
        [&](SqliteStatement& s) { s.bind(2, valueCursor_.rowid); },
        [&](SqliteStatement& s) {
            name = s.text(0);
            type = static_cast<std::uint32_t>(s.integer(1));
            const std::uint8_t* bytes = s.bytes(2);
            data.assign(bytes, bytes + s.byteCount(2));
            valueCursor_.rowid = s.integer(3);
        });
}

Status SqliteHive::deleteTree(Key key, std::string_view subkey) {
    std::int64_t id = 0;
    if (!keyId(key, id))
        return kInvalidHandle;
    if (!hasLevels(subkey) || checkPath(subkey) != kSuccess)
        return kInvalidParameter;
    std::int64_t target = 0;
    std::string_view missing;
    const int rc = walk(id, subkey, target, missing);
    if (rc == SQLITE_DONE)
        return nothingFound(id, kFileNotFound);
    if (rc != SQLITE_ROW)
        return statusOf(rc);
    if (const Status status = writable(); status != kSuccess)
        return status;
    forgetCursors();
    return removeTree(target);
}

Status SqliteHive::removeTree(std::int64_t top) {
    Transaction scope(*this);
    std::vector<std::int64_t> keys;
    {
        StatementUse use(treeBelow_);
        treeBelow_.bind(1, top);
        int rc = SQLITE_ROW;
        while ((rc = treeBelow_.step()) == SQLITE_ROW)
            keys.push_back(treeBelow_.integer(0));
        if (rc != SQLITE_DONE)
            return statusOf(rc);
    }
    // Deepest first, so that no delete cascades to a child: SQLite runs each cascade one
    // trigger level below the one that caused it and fails past its trigger depth (1000 by
    // default), which deleting the top of a deep key at once would reach.
    for (const std::int64_t key : keys) {
        StatementUse use(removeKey_);
        removeKey_.bind(1, key);
        if (const int rc = removeKey_.step(); rc != SQLITE_DONE)
            return statusOf(rc);
    }
    return scope.commit();
}

Status SqliteHive::beginTransaction(Access access) {
    if (depth_++ > 0)
        return blocked_ ? kBusy : statusOf(exec("SAVEPOINT nested"));
    // Taking the write lock at once lets the busy timeout wait for another writer; a
    // transaction that reads first could only fail on its first write. In a file only read,
    // every scope reads, and its writes are refused one by one.
    readScope_ = access == Access::Read || readOnly_;
    const int rc = exec(readScope_ ? "BEGIN" : "BEGIN IMMEDIATE");
    blocked_ = rc != SQLITE_OK;
    return statusOf(rc);
}

Status SqliteHive::endTransaction(bool commit) {
    if (depth_ == 0)
        return kInvalidParameter;
    if (--depth_ > 0) {
        if (blocked_)
            return kBusy;
        if (!commit)
            exec("ROLLBACK TO nested");
        return statusOf(exec("RELEASE nested"));
    }
    readScope_ = false;
    if (blocked_) {
        blocked_ = false;
        return kBusy;
    }
    if (!commit)
        return statusOf(exec("ROLLBACK"));
    const int rc = exec("COMMIT");
    // A commit that fails (a full disk) keeps nothing of the scope.
    if (rc != SQLITE_OK && sqlite3_get_autocommit(db_) == 0)
        exec("ROLLBACK");
    return statusOf(rc);
}

} // namespace Hive
