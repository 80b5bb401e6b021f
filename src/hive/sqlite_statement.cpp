#include "hive/SqliteStatement.h"

#include <sqlite3.h>

namespace Hive {

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(stmt_);
}

int SqliteStatement::prepare(sqlite3* db, std::string_view sql) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    return sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()),
                              SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
}

void SqliteStatement::bind(int index, std::int64_t value) {
    sqlite3_bind_int64(stmt_, index, value);
}

void SqliteStatement::bind(int index, std::string_view text) {
    // A null pointer would bind NULL; the empty name is a name.
    sqlite3_bind_text(stmt_, index, text.empty() ? "" : text.data(), static_cast<int>(text.size()),
                      SQLITE_TRANSIENT);
}

void SqliteStatement::bindBytes(int index, const std::uint8_t* data, std::uint32_t size) {
    static const std::uint8_t none = 0;
    sqlite3_bind_blob64(stmt_, index, size == 0 || data == nullptr ? &none : data,
                        data == nullptr ? 0 : size, SQLITE_TRANSIENT);
}

int SqliteStatement::step() {
    return sqlite3_step(stmt_);
}

void SqliteStatement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    // SQLite counts a statement's steps over all its uses; the work limit is for one use.
    sqlite3_stmt_status(stmt_, SQLITE_STMTSTATUS_VM_STEP, 1);
}

std::int64_t SqliteStatement::integer(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

std::string SqliteStatement::text(int column) const {
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    const int size = sqlite3_column_bytes(stmt_, column);
    return data == nullptr ? std::string() : std::string(data, static_cast<size_t>(size));
}

const std::uint8_t* SqliteStatement::bytes(int column) const {
    return static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt_, column));
}

std::uint32_t SqliteStatement::byteCount(int column) const {
    return static_cast<std::uint32_t>(sqlite3_column_bytes(stmt_, column));
}

} // namespace Hive
