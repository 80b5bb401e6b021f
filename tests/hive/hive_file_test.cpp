// Opening the user's hive file whatever state it is found in: the clock must always start
// within moments, and a file that is not a sound hive is never overwritten.

#include "TemporaryFolder.h"

#include "hive/HiveFile.h"
#include "hive/SqliteHive.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>

namespace {

namespace fs = std::filesystem;
using Hive::Key;
using Hive::Root;
using namespace std::chrono_literals;

// Opening waits at most the busy timeout (2 s) for another program's lock; anything near this
// is a hang. How fast a start is belongs to the benchmarks.
constexpr auto kHangGuard = 10s;

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void write(const fs::path& path, const std::string& data) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << data;
}

// A sound hive holding Software\Brambleton\Vindrel with X = "1200".
void makeHive(const std::string& path) {
    Hive::OpenError error;
    auto hive = Hive::SqliteHive::open(path, error);
    ASSERT_NE(hive, nullptr) << error.message;
    Key key;
    hive->createKey(Root::CurrentUser, "Software\\Brambleton\\Vindrel", key);
    const std::uint8_t x[] = {'1', '2', '0', '0', 0};
    hive->setValue(key, "X", Hive::kRegSz, x, sizeof x);
    hive->closeKey(key);
}

bool holdsX(Hive::Store& store) {
    Key key;
    if (store.openKey(Root::CurrentUser, "Software\\Brambleton\\Vindrel", key) != Hive::kSuccess)
        return false;
    const bool found = store.queryValue(key, "X", nullptr, nullptr, nullptr) == Hive::kSuccess;
    store.closeKey(key);
    return found;
}

// The store can be written and read back.
bool usable(Hive::Store& store) {
    Key key;
    if (store.createKey(Root::CurrentUser, "Software\\Probe", key) != Hive::kSuccess)
        return false;
    const std::uint8_t one[] = {'1', 0};
    store.setValue(key, "P", Hive::kRegSz, one, 2);
    const bool found = store.queryValue(key, "P", nullptr, nullptr, nullptr) == Hive::kSuccess;
    store.closeKey(key);
    return found;
}

std::vector<fs::path> damagedCopies(const fs::path& folder) {
    std::vector<fs::path> copies;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.find(".damaged-") != name.npos && !name.ends_with("-wal") &&
            !name.ends_with("-shm"))
            copies.push_back(entry.path());
    }
    return copies;
}

class HiveFileTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    const std::string path = folder.file("Brambleton/hkcu.sqlite3");

    void SetUp() override { fs::create_directories(fs::path(path).parent_path()); }

    // Opens the hive as the clock does at start, failing the test if that hangs.
    Hive::StoreOpening openInTime() const {
        const auto start = std::chrono::steady_clock::now();
        Hive::StoreOpening opening = Hive::openHiveFile(path);
        EXPECT_LT(std::chrono::steady_clock::now() - start, kHangGuard);
        return opening;
    }
};

TEST_F(HiveFileTest, AMissingFileAndFolderAreCreated) {
    fs::remove_all(fs::path(path).parent_path());
    Hive::StoreOpening opening = Hive::openHiveFile(path);
    EXPECT_TRUE(opening.persistent);
    EXPECT_TRUE(opening.notes.empty());
    EXPECT_TRUE(usable(*opening.store));
    EXPECT_TRUE(fs::is_regular_file(path));
}

TEST_F(HiveFileTest, ASoundFileIsOpenedAsItIs) {
    makeHive(path);
    Hive::StoreOpening opening = Hive::openHiveFile(path);
    EXPECT_TRUE(opening.persistent);
    EXPECT_TRUE(holdsX(*opening.store));
}

TEST_F(HiveFileTest, AZeroByteFileBecomesAnEmptyHive) {
    write(path, "");
    Hive::StoreOpening opening = Hive::openHiveFile(path);
    EXPECT_TRUE(opening.persistent);
    EXPECT_TRUE(damagedCopies(folder.path() / "Brambleton").empty());
    EXPECT_TRUE(usable(*opening.store));
}

TEST_F(HiveFileTest, ALogLeftByAKilledWriterIsReplayed) {
    const std::string original = folder.file("original.sqlite3");
    Hive::OpenError error;
    auto writer = Hive::SqliteHive::open(original, error);
    Key key;
    writer->createKey(Root::CurrentUser, "Software\\Brambleton\\Vindrel", key);
    const std::uint8_t x[] = {'0', 0};
    writer->setValue(key, "X", Hive::kRegSz, x, 2);
    // Copied while the writer is still open: the committed save is only in the log.
    ASSERT_TRUE(fs::exists(original + "-wal"));
    fs::copy_file(original, path);
    fs::copy_file(original + "-wal", path + "-wal");
    Hive::StoreOpening opening = Hive::openHiveFile(path);
    EXPECT_TRUE(opening.persistent);
    EXPECT_TRUE(holdsX(*opening.store));
    writer->closeKey(key);
}

struct Damage {
    const char* name;
    std::function<void(const std::string& path)> inflict;
};

void PrintTo(const Damage& damage, std::ostream* out) {
    *out << damage.name;
}

class DamagedHiveFile : public HiveFileTest, public ::testing::WithParamInterface<Damage> {};

// Set aside as it was found: never switched to another journal, nor given a log beside it.
TEST_P(DamagedHiveFile, IsKeptAsideUntouchedAndAFreshHiveStarted) {
    makeHive(path);
    GetParam().inflict(path);
    const std::string damaged = contents(path);
    Hive::StoreOpening opening = openInTime();
    // Before the fresh hive is written: a hostile file taken in could run its triggers.
    const std::vector<fs::path> copies = damagedCopies(folder.path() / "Brambleton");
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(contents(copies[0]), damaged);
    EXPECT_FALSE(fs::exists(copies[0].string() + "-wal"));
    EXPECT_FALSE(fs::exists(copies[0].string() + "-shm"));
    ASSERT_EQ(opening.notes.size(), 1u);
    EXPECT_NE(opening.notes[0].find(copies[0].filename().string()), std::string::npos);
    EXPECT_TRUE(opening.persistent);
    EXPECT_FALSE(holdsX(*opening.store));
    EXPECT_TRUE(usable(*opening.store));
}

std::string pages(const std::string& path, size_t from, size_t count) {
    return contents(path).substr(from, count);
}

// Changes the sound hive with `sql`, as an attacker's tool would, leaving the file in log mode
// (as the clock leaves it) or in the rollback mode of a file made elsewhere.
std::function<void(const std::string&)> rewritten(std::string sql, bool logMode) {
    return [sql = std::move(sql), logMode](const std::string& p) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(p.c_str(), &db), SQLITE_OK);
        const std::string mode = logMode ? "WAL" : "DELETE";
        char* error = nullptr;
        const int rc = sqlite3_exec(db, (sql + "; PRAGMA journal_mode = " + mode).c_str(), nullptr,
                                    nullptr, &error);
        EXPECT_EQ(rc, SQLITE_OK) << (error != nullptr ? error : "");
        sqlite3_free(error);
        sqlite3_close(db);
        ASSERT_FALSE(fs::exists(p + "-wal"));
    };
}

// A join of eight tables of a hundred rows: 10^16 rows, endless in practice.
constexpr const char* kEndlessTriggers = R"(
    CREATE TABLE pad(n);
    WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r LIMIT 100)
        INSERT INTO pad SELECT n FROM r;
    CREATE TRIGGER on_insert BEFORE INSERT ON hive_values BEGIN
        SELECT count(*) FROM pad a, pad b, pad c, pad d, pad e, pad f, pad g, pad h; END;
    CREATE TRIGGER on_update BEFORE UPDATE ON hive_values BEGIN
        SELECT count(*) FROM pad a, pad b, pad c, pad d, pad e, pad f, pad g, pad h; END;
    CREATE TRIGGER on_delete BEFORE DELETE ON hive_values BEGIN
        SELECT count(*) FROM pad a, pad b, pad c, pad d, pad e, pad f, pad g, pad h; END)";

INSTANTIATE_TEST_SUITE_P(
    Damages, DamagedHiveFile,
    ::testing::Values(
        Damage{"TextFile", [](const std::string& p) { write(p, "X=1200\nY=900\n"); }},
        Damage{"WrongMagic",
               [](const std::string& p) {
                   std::string data = contents(p);
                   data.replace(0, 6, "SQLITF");
                   write(p, data);
               }},
        Damage{"Truncated", [](const std::string& p) { write(p, pages(p, 0, 4096 + 100)); }},
        Damage{"ScrambledPages",
               [](const std::string& p) {
                   std::string data = contents(p);
                   for (size_t at = 4096; at < data.size(); at += 7)
                       data[at] = static_cast<char>(data[at] ^ 0x5A);
                   write(p, data);
               }},
        // The application id and quick_check pass: the schema tells.
        Damage{"EndlessTriggersInLogMode", rewritten(kEndlessTriggers, true)},
        Damage{"EndlessTriggers", rewritten(kEndlessTriggers, false)},
        Damage{"ValuesAsAView", rewritten("DROP TABLE hive_values; CREATE VIEW hive_values AS "
                                          "SELECT 1 AS key, '' AS name, '' AS folded, 1 AS type, "
                                          "x'' AS data",
                                          false)},
        Damage{"NoTables", rewritten("DROP TABLE hive_values; DROP TABLE hive_keys", false)},
        Damage{"AnotherTable", rewritten("CREATE TABLE notes(text)", false)},
        Damage{"AnotherColumn", rewritten("ALTER TABLE hive_values ADD COLUMN extra", false)},
        Damage{"AnIndexMissing", rewritten("DROP INDEX hive_values_by_name", true)}),
    [](const auto& info) { return std::string(info.param.name); });

// Copies a sound hive to `to` while its writer, still open, holds its last save (the Alarms
// key) in the log alone; returns that log.
std::string copyWithItsLogPending(const std::string& original, const std::string& to) {
    makeHive(original);
    Hive::OpenError error;
    auto writer = Hive::SqliteHive::open(original, error);
    Key key;
    writer->createKey(Root::CurrentUser, "Software\\Brambleton\\Vindrel\\Alarms", key);
    writer->closeKey(key);
    fs::copy_file(original, to);
    return contents(original + "-wal");
}

TEST_F(HiveFileTest, TheDamagedFilesLogGoesAsideWithItUntouched) {
    write(path + "-wal", copyWithItsLogPending(folder.file("original.sqlite3"), path));
    std::string data = contents(path);
    data.replace(0, 6, "SQLITF");
    write(path, data);
    const std::string log = contents(path + "-wal");
    ASSERT_FALSE(log.empty());

    Hive::StoreOpening opening = Hive::openHiveFile(path);
    const std::vector<fs::path> copies = damagedCopies(folder.path() / "Brambleton");
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(contents(copies[0].string() + "-wal"), log);
    EXPECT_TRUE(usable(*opening.store));
    EXPECT_FALSE(holdsX(*opening.store));
}

TEST_F(HiveFileTest, OnlyTheNewestDamagedCopiesAreKept) {
    for (int i = 0; i < Hive::kDamagedCopiesKept + 2; ++i) {
        write(path, "damage " + std::to_string(i));
        Hive::openHiveFile(path);
    }
    std::vector<std::string> kept;
    for (const fs::path& copy : damagedCopies(folder.path() / "Brambleton"))
        kept.push_back(contents(copy));
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, (std::vector<std::string>{"damage 2", "damage 3", "damage 4"}));
}

struct Obstacle {
    const char* name;
    std::function<void(const std::string& path)> place;
};

class UnusableHiveFile : public HiveFileTest, public ::testing::WithParamInterface<Obstacle> {};

TEST_P(UnusableHiveFile, IsLeftAloneAndAHiveInMemoryStandsIn) {
    GetParam().place(path);
    const auto before = fs::status(path).type();
    Hive::StoreOpening opening = openInTime();
    EXPECT_FALSE(opening.persistent);
    EXPECT_FALSE(opening.notes.empty());
    EXPECT_TRUE(usable(*opening.store));
    EXPECT_EQ(fs::status(path).type(), before);
    if (fs::is_directory(folder.path() / "Brambleton")) {
        EXPECT_TRUE(damagedCopies(folder.path() / "Brambleton").empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Obstacles, UnusableHiveFile,
    ::testing::Values(Obstacle{"Directory", [](const std::string& p) { fs::create_directory(p); }},
                      Obstacle{"Fifo",
                               [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }},
                      Obstacle{"FolderIsAFile",
                               [](const std::string& p) {
                                   const fs::path folder = fs::path(p).parent_path();
                                   fs::remove_all(folder);
                                   write(folder, "in the way");
                               }}),
    [](const auto& info) { return std::string(info.param.name); });

// A hive of many pages: the settings with forty values more.
void makeLargerHive(const std::string& path) {
    makeHive(path);
    Hive::OpenError error;
    auto hive = Hive::SqliteHive::open(path, error);
    Hive::Transaction scope(*hive);
    Key key;
    hive->createKey(Root::CurrentUser, "Software\\Brambleton\\Vindrel\\Alarms", key);
    for (int n = 0; n < 40; ++n) {
        const std::string text = "alarm number " + std::to_string(n) + std::string(100, '.');
        hive->setValue(key, std::to_string(n), Hive::kRegSz,
                       reinterpret_cast<const std::uint8_t*>(text.c_str()),
                       static_cast<std::uint32_t>(text.size() + 1));
    }
    hive->closeKey(key);
    scope.commit();
}

class FlippedHiveFile : public HiveFileTest, public ::testing::WithParamInterface<unsigned> {};

// A few random bytes changed anywhere: whatever SQLite makes of the file, the clock starts, a
// file kept in use works (or is only read, as a header may ask), and a file not kept is either
// set aside whole or left untouched.
TEST_P(FlippedHiveFile, IsUsedKeptAsideOrLeftAloneAndTheClockStarts) {
    makeLargerHive(path);
    std::mt19937 random(GetParam());
    std::string data = contents(path);
    const int flips = std::uniform_int_distribution<int>(1, 8)(random);
    for (int i = 0; i < flips; ++i) {
        const size_t at = std::uniform_int_distribution<size_t>(0, data.size() - 1)(random);
        data[at] = static_cast<char>(data[at] ^ (1 << (random() % 8)));
    }
    write(path, data);
    Hive::StoreOpening opening = openInTime();
    ASSERT_NE(opening.store, nullptr);
    EXPECT_EQ(usable(*opening.store), opening.writable);
    const std::vector<fs::path> copies = damagedCopies(folder.path() / "Brambleton");
    if (!opening.persistent || !opening.writable) {
        EXPECT_FALSE(opening.notes.empty());
        EXPECT_EQ(contents(path), data);
        EXPECT_TRUE(copies.empty());
    } else if (!copies.empty()) {
        ASSERT_EQ(copies.size(), 1u);
        EXPECT_EQ(contents(copies[0]), data);
    } else {
        EXPECT_TRUE(opening.notes.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, FlippedHiveFile, ::testing::Range(1u, 41u));

TEST_F(HiveFileTest, ALogWithADamagedFrameIsReplayedUpToIt) {
    std::string log = copyWithItsLogPending(folder.file("original.sqlite3"), path);
    ASSERT_GT(log.size(), 100u);
    log[log.size() - 100] = static_cast<char>(log[log.size() - 100] ^ 0x40);
    write(path + "-wal", log);
    Hive::StoreOpening opening = openInTime();
    EXPECT_TRUE(opening.persistent);
    EXPECT_TRUE(opening.notes.empty());
    EXPECT_TRUE(holdsX(*opening.store)) << "what the file itself holds";
    EXPECT_TRUE(usable(*opening.store));
}

TEST_F(HiveFileTest, AGarbledSharedMemoryFileIsRebuilt) {
    makeHive(path);
    std::mt19937 random(7);
    std::string garbage(32768, '\0');
    for (char& c : garbage)
        c = static_cast<char>(random());
    write(path + "-shm", garbage);
    Hive::StoreOpening opening = openInTime();
    EXPECT_TRUE(opening.persistent);
    EXPECT_TRUE(holdsX(*opening.store));
    EXPECT_TRUE(usable(*opening.store));
}

// Another program holds the file to itself: the clock waits for it no longer than the busy
// timeout, then runs from memory and leaves the file alone.
TEST_F(HiveFileTest, AFileLockedByAnotherProgramIsLeftAloneAfterAShortWait) {
    makeHive(path);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other,
                           "PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE; "
                           "SELECT count(*) FROM hive_keys;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    const std::string before = contents(path);
    Hive::StoreOpening opening = openInTime();
    EXPECT_FALSE(opening.persistent);
    EXPECT_FALSE(opening.notes.empty());
    EXPECT_TRUE(usable(*opening.store));
    sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(contents(path), before);
    EXPECT_TRUE(damagedCopies(folder.path() / "Brambleton").empty());
}

// A sound hive whose last save made the Alarms key, closed as the clock closes it: no log.
void makeHiveWithAlarms(const std::string& path) {
    makeHive(path);
    Hive::OpenError error;
    auto hive = Hive::SqliteHive::open(path, error);
    Key key;
    hive->createKey(Root::CurrentUser, "Software\\Brambleton\\Vindrel\\Alarms", key);
    hive->closeKey(key);
}

bool holdsAlarms(Hive::Store& store) {
    Key key;
    if (store.openKey(Root::CurrentUser, "Software\\Brambleton\\Vindrel\\Alarms", key) !=
        Hive::kSuccess)
        return false;
    store.closeKey(key);
    return true;
}

// What the clock made of the file, opened by another user.
struct OpeningSeen {
    bool persistent = true;
    bool writable = true;
    bool noted = false;
    bool holdsLastSave = false;
    bool usable = false;
};

// Opens the hive in a child process as an ordinary user. Tests run as root here, who may read
// and write any file, so a root child first becomes "nobody", to whom the files are given.
// False when no such user can be taken on.
bool openAsAnOrdinaryUser(const std::string& path, OpeningSeen& seen) {
    const passwd* nobody = getpwnam("nobody");
    const bool root = geteuid() == 0;
    if (root && nobody == nullptr)
        return false;
    int channel[2];
    if (pipe(channel) != 0)
        return false;
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        if (root && (setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0))
            _exit(77);
        Hive::StoreOpening opening = Hive::openHiveFile(path);
        OpeningSeen result{opening.persistent, opening.writable, !opening.notes.empty()};
        result.holdsLastSave = holdsAlarms(*opening.store);
        result.usable = usable(*opening.store);
        _exit(::write(channel[1], &result, sizeof result) == sizeof result ? 0 : 1);
    }
    close(channel[1]);
    const bool got = read(channel[0], &seen, sizeof seen) == sizeof seen;
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return got && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void giveToNobody(const fs::path& path) {
    const passwd* nobody = getpwnam("nobody");
    if (nobody != nullptr && geteuid() == 0) {
        EXPECT_EQ(chown(path.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    }
}

struct Permissions {
    const char* name;
    fs::perms file;
    fs::perms folder;
    bool logPending; // the last save is in the log alone, and the log's index (-shm) is gone
    bool read;       // the stored settings can be read
};

void PrintTo(const Permissions& permissions, std::ostream* out) {
    *out << permissions.name;
}

class UnwritableHiveFile : public HiveFileTest,
                           public ::testing::WithParamInterface<Permissions> {};

// A file that cannot be written is read, down to its last save, where it can be read at all;
// otherwise a hive in memory stands in. Either way the file and its log are left as they are.
TEST_P(UnwritableHiveFile, IsReadWhereItCanBeAndLeftAsItIs) {
    const Permissions& p = GetParam();
    if (p.logPending)
        write(path + "-wal", copyWithItsLogPending(folder.file("original.sqlite3"), path));
    else
        makeHiveWithAlarms(path);
    const std::string before = contents(path);
    const std::string log = contents(path + "-wal");
    const fs::path hiveFolder = fs::path(path).parent_path();
    giveToNobody(hiveFolder);
    giveToNobody(path);
    if (p.logPending)
        giveToNobody(path + "-wal");
    fs::permissions(path, p.file);
    fs::permissions(hiveFolder, p.folder);
    OpeningSeen seen;
    const bool opened = openAsAnOrdinaryUser(path, seen);
    fs::permissions(hiveFolder, fs::perms::owner_all);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    if (!opened)
        GTEST_SKIP() << "no ordinary user to open the file as";
    EXPECT_TRUE(seen.noted);
    EXPECT_EQ(seen.persistent, p.read);
    EXPECT_EQ(seen.writable, !p.read);
    EXPECT_EQ(seen.holdsLastSave, p.read);
    EXPECT_EQ(seen.usable, !p.read) << "writes last, or fail";
    EXPECT_EQ(contents(path), before);
    EXPECT_EQ(contents(path + "-wal"), log);
    EXPECT_TRUE(damagedCopies(hiveFolder).empty());
}

using fs::perms;
constexpr perms kReadAndWrite = perms::owner_read | perms::owner_write;
constexpr perms kReadOnlyFolder = perms::owner_read | perms::owner_exec;
INSTANTIATE_TEST_SUITE_P(
    Permissions, UnwritableHiveFile,
    ::testing::Values(Permissions{"UnreadableFile", perms::none, perms::owner_all, false, false},
                      Permissions{"ReadOnlyFile", perms::owner_read, perms::owner_all, false, true},
                      // A clean end removed the log and its index, which cannot be made again.
                      Permissions{"ReadOnlyFolder", kReadAndWrite, kReadOnlyFolder, false, true},
                      Permissions{"ReadOnlyFolderWithItsLogPending", kReadAndWrite, kReadOnlyFolder,
                                  true, true}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
