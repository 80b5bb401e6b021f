// Opening the user's hive file whatever state it is found in: the clock must always start,
// and a file that is not a sound hive is never overwritten.

#include "TemporaryFolder.h"

#include <HiveFile.h>
#include <SqliteHive.h>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <functional>
#include <iterator>

namespace {

namespace fs = std::filesystem;
using Hive::Key;
using Hive::Root;

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

class DamagedHiveFile : public HiveFileTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedHiveFile, IsKeptAsideAndAFreshHiveStarted) {
    makeHive(path);
    GetParam().inflict(path);
    const std::string damaged = contents(path);
    Hive::StoreOpening opening = Hive::openHiveFile(path);
    EXPECT_TRUE(opening.persistent);
    EXPECT_FALSE(holdsX(*opening.store));
    EXPECT_TRUE(usable(*opening.store));
    const std::vector<fs::path> copies = damagedCopies(folder.path() / "Brambleton");
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(contents(copies[0]), damaged);
    ASSERT_EQ(opening.notes.size(), 1u);
    EXPECT_NE(opening.notes[0].find(copies[0].filename().string()), std::string::npos);
}

std::string pages(const std::string& path, size_t from, size_t count) {
    return contents(path).substr(from, count);
}

INSTANTIATE_TEST_SUITE_P(
    Damages, DamagedHiveFile,
    ::testing::Values(Damage{"TextFile", [](const std::string& p) { write(p, "X=1200\nY=900\n"); }},
                      Damage{"WrongMagic",
                             [](const std::string& p) {
                                 std::string data = contents(p);
                                 data.replace(0, 6, "SQLITF");
                                 write(p, data);
                             }},
                      Damage{"Truncated",
                             [](const std::string& p) { write(p, pages(p, 0, 4096 + 100)); }},
                      Damage{"ScrambledPages",
                             [](const std::string& p) {
                                 std::string data = contents(p);
                                 for (size_t at = 4096; at < data.size(); at += 7)
                                     data[at] = static_cast<char>(data[at] ^ 0x5A);
                                 write(p, data);
                             }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HiveFileTest, TheDamagedFilesLogGoesAsideWithItUntouched) {
    const std::string original = folder.file("original.sqlite3");
    makeHive(original);
    Hive::OpenError error;
    auto writer = Hive::SqliteHive::open(original, error);
    Key key;
    writer->createKey(Root::CurrentUser, "Software\\Brambleton\\Vindrel\\Alarms", key);
    writer->closeKey(key);
    fs::copy_file(original, path);
    fs::copy_file(original + "-wal", path + "-wal");
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
    Hive::StoreOpening opening = Hive::openHiveFile(path);
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

} // namespace
