#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace Hive {

// One prepared SQLite statement, kept for the life of its connection and reused.
class SqliteStatement {
public:
    SqliteStatement() = default;
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // SQLite's result code.
    int prepare(sqlite3* db, std::string_view sql);

    // Parameters are numbered from 1. Text and bytes are copied.
    void bind(int index, std::int64_t value);
    void bind(int index, std::string_view text);
    void bindBytes(int index, const std::uint8_t* data, std::uint32_t size);

    // SQLITE_ROW, SQLITE_DONE or an error code.
    int step();
    // Makes the statement ready for new parameters, its work limit counted afresh; call after
    // each use.
    void reset();

    std::int64_t integer(int column) const;
    std::string text(int column) const;
    const std::uint8_t* bytes(int column) const;
    std::uint32_t byteCount(int column) const;

private:
    sqlite3_stmt* stmt_ = nullptr;
};

// Resets a statement when the use of it ends, whatever way it ends.
class StatementUse {
public:
    explicit StatementUse(SqliteStatement& statement) : statement_(statement) {}
    ~StatementUse() { statement_.reset(); }
    StatementUse(const StatementUse&) = delete;
    StatementUse& operator=(const StatementUse&) = delete;

private:
    SqliteStatement& statement_;
};

} // namespace Hive
