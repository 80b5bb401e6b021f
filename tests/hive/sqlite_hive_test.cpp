// What the SQLite hive does beyond the registry's calls: transactions, sharing one file
// between two copies of the clock, and refusing what is not its own.

#include "TemporaryFolder.h"

#include "hive/HiveCheck.h"
#include "hive/NameFolding.h"
#include "hive/SqliteHive.h"
#include "hive/SqliteStatement.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <ostream>

namespace {

using Hive::Key;
using Hive::Root;

const std::uint8_t kOne[] = {'1', 0};

class SqliteHiveTest : public ::testing::Test {
protected:
    TemporaryFolder folder;

    static std::unique_ptr<Hive::SqliteHive> openFile(const std::string& path) {
        Hive::OpenError error;
        auto hive = Hive::SqliteHive::open(path, error);
        EXPECT_NE(hive, nullptr) << error.message;
        return hive;
    }

    static Key create(Hive::Store& store, const std::string& path) {
        Key key;
        EXPECT_EQ(store.createKey(Root::CurrentUser, path, key), Hive::kSuccess);
        return key;
    }

    // Two copies of the clock with one hive file, each with Software\Shared open.
    struct TwoCopies {
        std::unique_ptr<Hive::SqliteHive> first;
        std::unique_ptr<Hive::SqliteHive> second;
        Key firstKey;
        Key secondKey;
    };

    TwoCopies twoCopies() {
        const std::string path = folder.file("hkcu.sqlite3");
        TwoCopies copies{openFile(path), openFile(path), {}, {}};
        copies.firstKey = create(*copies.first, "Software\\Shared");
        copies.secondKey = create(*copies.second, "Software\\Shared");
        return copies;
    }

    static bool has(Hive::Store& store, Key key, const std::string& name) {
        return store.queryValue(key, name, nullptr, nullptr, nullptr) == Hive::kSuccess;
    }
};

// Listing one item after another seeks past the last one listed; any other index, or a write
// in between, counts from the first again. Each way must name the same items.
TEST_F(SqliteHiveTest, ListingsInAnyOrderAndAcrossWritesNameTheSameItems) {
    auto hive = Hive::SqliteHive::inMemory();
    const Key key = create(*hive, "Software\\List");
    for (const char* name : {"a", "b", "c", "d"}) {
        hive->setValue(key, name, Hive::kRegSz, kOne, 2);
        create(*hive, std::string("Software\\List\\") + name);
    }
    const auto valueAt = [&](std::uint32_t index) {
        std::string name;
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
        return hive->enumValue(key, index, name, type, data) == Hive::kSuccess ? name : "-";
    };
    const auto subkeyAt = [&](std::uint32_t index) {
        std::string name;
        return hive->enumKey(key, index, name) == Hive::kSuccess ? name : "-";
    };
    const std::pair<std::uint32_t, const char*> reads[] = {{2, "c"}, {3, "d"}, {4, "-"},
                                                           {1, "b"}, {0, "a"}, {1, "b"}};
    for (const auto& [index, expected] : reads) {
        EXPECT_EQ(valueAt(index), expected) << "value " << index;
        EXPECT_EQ(subkeyAt(index), expected) << "subkey " << index;
    }
    hive->deleteValue(key, "c");
    hive->deleteTree(key, "c");
    EXPECT_EQ(valueAt(2), "d");
    EXPECT_EQ(subkeyAt(2), "d");
}

TEST_F(SqliteHiveTest, ARolledBackScopeKeepsNothing) {
    auto hive = Hive::SqliteHive::inMemory();
    const Key key = create(*hive, "Software\\Saved");
    {
        Hive::Transaction scope(*hive);
        hive->setValue(key, "X", Hive::kRegSz, kOne, 2);
        create(*hive, "Software\\Saved\\Made");
    }
    EXPECT_FALSE(has(*hive, key, "X"));
    Key made;
    EXPECT_EQ(hive->openKey(Root::CurrentUser, "Software\\Saved\\Made", made), Hive::kFileNotFound);
}

TEST_F(SqliteHiveTest, AnInnerRollbackKeepsTheOuterWrites) {
    auto hive = Hive::SqliteHive::inMemory();
    const Key key = create(*hive, "Software\\Saved");
    Hive::Transaction outer(*hive);
    hive->setValue(key, "X", Hive::kRegSz, kOne, 2);
    {
        Hive::Transaction inner(*hive);
        hive->setValue(key, "Y", Hive::kRegSz, kOne, 2);
    }
    EXPECT_EQ(outer.commit(), Hive::kSuccess);
    EXPECT_TRUE(has(*hive, key, "X"));
    EXPECT_FALSE(has(*hive, key, "Y"));
}

TEST_F(SqliteHiveTest, HandlesAreCountedUntilClosed) {
    auto hive = Hive::SqliteHive::inMemory();
    const Key a = create(*hive, "Software\\A");
    Key b;
    hive->openKey(Root::CurrentUser, "software\\a", b);
    EXPECT_EQ(hive->openHandles(), 2u);
    hive->closeKey(a);
    hive->closeKey(b);
    EXPECT_EQ(hive->openHandles(), 0u);
    EXPECT_EQ(hive->closeKey(b), Hive::kInvalidHandle);
}

TEST_F(SqliteHiveTest, AHandleOutlivingItsKeySaysTheKeyIsDeleted) {
    auto hive = Hive::SqliteHive::inMemory();
    const Key parent = create(*hive, "Software");
    const Key child = create(*hive, "Software\\Child");
    hive->deleteTree(parent, "Child");
    EXPECT_EQ(hive->setValue(child, "X", Hive::kRegSz, kOne, 2), Hive::kKeyDeleted);
    EXPECT_EQ(hive->queryValue(child, "X", nullptr, nullptr, nullptr), Hive::kKeyDeleted);
}

// Deeper than SQLite's 1000 trigger levels, through which a cascade from the top would run.
TEST_F(SqliteHiveTest, ATreeOfAnyDepthIsDeletedWithEveryValueInIt) {
    const std::string path = folder.file("hkcu.sqlite3");
    auto hive = openFile(path);
    std::string deep = "Software\\Deep";
    for (int level = 0; level < 1500; ++level) {
        deep += "\\k";
        if (level % 500 == 0)
            hive->setValue(create(*hive, deep), "X", Hive::kRegSz, kOne, 2);
    }
    hive->setValue(create(*hive, deep), "X", Hive::kRegSz, kOne, 2);
    hive->setValue(create(*hive, "Software\\Kept"), "X", Hive::kRegSz, kOne, 2);
    const Key software = create(*hive, "Software");
    EXPECT_EQ(hive->deleteTree(software, "Deep"), Hive::kSuccess);
    hive.reset();

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    sqlite3_stmt* count = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT (SELECT group_concat(name) FROM hive_keys), "
                       "(SELECT count(*) FROM hive_values)",
                       -1, &count, nullptr);
    ASSERT_EQ(sqlite3_step(count), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(count, 0)), ",Software,Kept");
    EXPECT_EQ(sqlite3_column_int(count, 1), 1);
    sqlite3_finalize(count);
    sqlite3_close(db);
}

TEST_F(SqliteHiveTest, OnlyTheCurrentUsersRootIsThere) {
    auto hive = Hive::SqliteHive::inMemory();
    Key key;
    EXPECT_EQ(hive->openKey(static_cast<Root>(0x80000002u), "", key), Hive::kInvalidHandle);
}

TEST_F(SqliteHiveTest, ValuesOutliveTheConnectionAndTheFileKeepsAWriteAheadLog) {
    const std::string path = folder.file("hkcu.sqlite3");
    {
        auto hive = openFile(path);
        hive->setValue(create(*hive, "Software\\Kept"), "X", Hive::kRegSz, kOne, 2);
    }
    auto hive = openFile(path);
    EXPECT_TRUE(has(*hive, create(*hive, "Software\\Kept"), "X"));

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    sqlite3_stmt* mode = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &mode, nullptr);
    ASSERT_EQ(sqlite3_step(mode), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(mode, 0)), "wal");
    sqlite3_finalize(mode);
    sqlite3_close(db);
}

TEST_F(SqliteHiveTest, ASecondCopySeesWhatTheFirstCommitted) {
    auto [first, second, firstKey, secondKey] = twoCopies();
    Hive::Transaction scope(*first);
    first->setValue(firstKey, "X", Hive::kRegSz, kOne, 2);
    EXPECT_FALSE(has(*second, secondKey, "X"));
    scope.commit();
    EXPECT_TRUE(has(*second, secondKey, "X"));
}

TEST_F(SqliteHiveTest, AScopeThatCannotTakeTheLockWritesNothing) {
    auto [first, second, firstKey, secondKey] = twoCopies();
    second->setBusyTimeout(20);
    Hive::Transaction holding(*first);
    first->setValue(firstKey, "X", Hive::kRegSz, kOne, 2);
    {
        Hive::Transaction waiting(*second);
        EXPECT_EQ(second->setValue(secondKey, "Y", Hive::kRegSz, kOne, 2), Hive::kBusy);
        EXPECT_EQ(second->deleteValue(secondKey, "X"), Hive::kBusy);
        EXPECT_EQ(waiting.commit(), Hive::kBusy);
    }
    holding.commit();
    EXPECT_TRUE(has(*second, secondKey, "X"));
    EXPECT_FALSE(has(*second, secondKey, "Y"));
    // The failed scope left no lock and no transaction behind.
    Hive::Transaction next(*second);
    EXPECT_EQ(second->setValue(secondKey, "Y", Hive::kRegSz, kOne, 2), Hive::kSuccess);
    EXPECT_EQ(next.commit(), Hive::kSuccess);
}

TEST_F(SqliteHiveTest, AReadScopeSeesOneStateAndWritesNothing) {
    auto [reader, writer, readerKey, writerKey] = twoCopies();
    {
        Hive::Transaction snapshot(*reader, Hive::Access::Read);
        EXPECT_FALSE(has(*reader, readerKey, "X"));
        writer->setValue(writerKey, "X", Hive::kRegSz, kOne, 2);
        EXPECT_FALSE(has(*reader, readerKey, "X"));
        EXPECT_EQ(reader->setValue(readerKey, "Y", Hive::kRegSz, kOne, 2), Hive::kAccessDenied);
    }
    EXPECT_TRUE(has(*reader, readerKey, "X"));
    EXPECT_EQ(reader->setValue(readerKey, "Y", Hive::kRegSz, kOne, 2), Hive::kSuccess);
}

TEST_F(SqliteHiveTest, AnotherProgramsDatabaseIsRefusedButNotCalledDamaged) {
    const std::string path = folder.file("other.sqlite3");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "CREATE TABLE notes(text)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    Hive::OpenError error;
    EXPECT_EQ(Hive::SqliteHive::open(path, error), nullptr);
    EXPECT_FALSE(error.damaged());
}

// A value as another program may have stored it: its data as SQL, and the bytes it reads as.
struct StoredForm {
    const char* name;
    const char* sql;
    std::string bytes;
};

void PrintTo(const StoredForm& form, std::ostream* out) {
    *out << form.name;
}

constexpr std::uint32_t kHugeValue = 16 << 20;

class StoredFormTest : public SqliteHiveTest, public ::testing::WithParamInterface<StoredForm> {};

// Asking for the size of a huge value, as the clock does before it decides to read it, costs no
// memory: SQLite's own allocations stay far below the value's size.
TEST_P(StoredFormTest, ItsSizeCostsNothingAndItsBytesReadBack) {
    const std::string path = folder.file("hkcu.sqlite3");
    {
        auto hive = openFile(path);
        hive->setValue(create(*hive, "Software\\Values"), "V", Hive::kRegSz, kOne, 2);
    }
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           (std::string("UPDATE hive_values SET data = ") + GetParam().sql).c_str(),
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    auto hive = openFile(path);
    const Key key = create(*hive, "Software\\Values");
    std::uint32_t size = 0;
    const sqlite3_int64 before = sqlite3_memory_used();
    sqlite3_memory_highwater(1);
    ASSERT_EQ(hive->queryValue(key, "V", nullptr, nullptr, &size), Hive::kSuccess);
    EXPECT_LT(sqlite3_memory_highwater(0) - before, 1 << 20);
    EXPECT_EQ(size, GetParam().bytes.size());
    std::string bytes(size, '\0');
    ASSERT_EQ(
        hive->queryValue(key, "V", nullptr, reinterpret_cast<std::uint8_t*>(bytes.data()), &size),
        Hive::kSuccess);
    EXPECT_TRUE(bytes == GetParam().bytes) << bytes.substr(0, 20);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, StoredFormTest,
    ::testing::Values(StoredForm{"HugeBytes", "zeroblob(16 << 20)", std::string(kHugeValue, '\0')},
                      StoredForm{"HugeText", "replace(hex(zeroblob(8 << 20)), '0', 'a')",
                                 std::string(kHugeValue, 'a')},
                      StoredForm{"Number", "1200", "1200"}),
    [](const auto& info) { return std::string(info.param.name); });

// The last line of defence, should a trigger ever run: one use of a statement is stopped
// after its steps, however many steps all its uses take together.
TEST(WorkLimit, StopsAnEndlessTriggerButNotAStatementUsedOften) {
    constexpr int kSteps = 100000;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    Hive::defendConnection(db, kSteps);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 1, nullptr);
    ASSERT_EQ(sqlite3_exec(db, R"(
        CREATE TABLE pad(n);
        WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r LIMIT 100)
            INSERT INTO pad SELECT n FROM r;
        CREATE TABLE t(x);
        CREATE TRIGGER endless BEFORE INSERT ON t BEGIN
            SELECT count(*) FROM pad a, pad b, pad c, pad d, pad e, pad f, pad g, pad h; END)",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    {
        Hive::SqliteStatement cheap;
        ASSERT_EQ(cheap.prepare(db, "SELECT sum(n) FROM pad"), SQLITE_OK);
        for (int use = 0; use < 1000; ++use) {
            ASSERT_EQ(cheap.step(), SQLITE_ROW) << "use " << use;
            cheap.reset();
        }
        Hive::SqliteStatement insert;
        ASSERT_EQ(insert.prepare(db, "INSERT INTO t VALUES (1)"), SQLITE_OK);
        EXPECT_EQ(insert.step(), SQLITE_INTERRUPT);
    }
    sqlite3_close(db);
}

struct FoldCase {
    const char* name;
    const char* folded;
};

// Names that are not ASCII show as hex bytes in the test's name and messages.
void PrintTo(const FoldCase& c, std::ostream* out) {
    for (const char* b = c.name; *b != 0; ++b) {
        const auto byte = static_cast<unsigned char>(*b);
        if (byte >= 0x20 && byte < 0x7F)
            *out << *b;
        else
            *out << "\\x" << std::hex << static_cast<int>(byte) << std::dec;
    }
}

class NameFolding : public ::testing::TestWithParam<FoldCase> {};

TEST_P(NameFolding, UpperCasesAsTheRegistryCompares) {
    EXPECT_EQ(Hive::foldCase(GetParam().name), GetParam().folded);
}

INSTANTIATE_TEST_SUITE_P(
    Names, NameFolding,
    ::testing::Values(FoldCase{"AlarmCount", "ALARMCOUNT"}, FoldCase{"01.Name", "01.NAME"},
                      FoldCase{"\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89"}, // été
                      FoldCase{"\xD0\xB4\xD0\xB0", "\xD0\x94\xD0\x90"},   // да
                      FoldCase{"stra\xC3\x9F"
                               "e",
                               "STRA\xC3\x9F"
                               "E"},                                    // ß stays
                      FoldCase{"\xF0\x9D\x90\x9A", "\xF0\x9D\x90\x9A"}, // beyond 16 bits
                      FoldCase{"a\xFF"
                               "b\xC3",
                               "A\xFF"
                               "B\xC3"})); // not UTF-8

} // namespace
