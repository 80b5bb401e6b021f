// Saving under faults: a writer killed at any moment, two writers at once, and a disk that
// fills up never leave the store damaged or holding part of a save. The writers are save_loop
// processes (SaveSteps.h).

#include "SaveSteps.h"
#include <CorePeer.h>

#include "core/Tick.h"
#include "hive/HiveFile.h"
#include "hive/SqliteHive.h"
#include "platform/SettingsStore.h"
#include <ChildProcess.h>
#include <FakeClockWindow.h>
#include <LogCapture.h>
#include <TestServices.h>

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr int kKills = 300;
constexpr auto kLongestRunBeforeTheKill = 40ms;
constexpr int kEndless = 1 << 30;

std::vector<std::string> saveLoop(const std::string& store, int first, int last, int base,
                                  int pauseMs = 0) {
    return {VINDREL_SAVE_LOOP,     store,
            std::to_string(first), std::to_string(last),
            std::to_string(base),  std::to_string(pauseMs)};
}

// The steps a writer reported committed, with the time it reported each (microseconds).
std::vector<std::pair<int, long long>> reportedSteps(const std::string& output) {
    std::vector<std::pair<int, long long>> steps;
    std::istringstream lines(output);
    std::string word;
    while (lines >> word) {
        if (word != "step")
            continue;
        std::pair<int, long long> step;
        lines >> step.first >> step.second;
        steps.push_back(step);
    }
    return steps;
}

// SQLite's full check of the file; "ok" when it finds nothing wrong.
std::string integrity(const std::string& path) {
    sqlite3* db = nullptr;
    std::string result = "cannot open";
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* check = nullptr;
        sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr);
        result.clear();
        while (sqlite3_step(check) == SQLITE_ROW)
            result += reinterpret_cast<const char*>(sqlite3_column_text(check, 0));
        sqlite3_finalize(check);
    }
    sqlite3_close(db);
    return result;
}

class StoreUnderFaults : public ::testing::Test {
protected:
    QTemporaryDir folder;
    std::string path = folder.filePath(QStringLiteral("hkcu.sqlite3")).toStdString();

    // Opens the store as the clock does at start and names the whole step it holds.
    ::testing::AssertionResult holdsAWholeStep(int& step, int& base) const {
        const Hive::StoreOpening opening = Hive::openHiveFile(path);
        if (!opening.persistent || !opening.notes.empty())
            return ::testing::AssertionFailure()
                   << "the store was not opened as it is: " << opening.notes.front();
        if (const std::string check = integrity(path); check != "ok")
            return ::testing::AssertionFailure() << "integrity check: " << check;
        if (!SaveSteps::identify(*opening.store, step, base))
            return ::testing::AssertionFailure()
                   << "it holds part of a save (near step " << step << ", base " << base << ")";
        return ::testing::AssertionSuccess();
    }
};

// One kill in four comes while the writer starts (opening the store, replaying the log the last
// kill left, writing the first-run defaults), the others while it saves.
TEST_F(StoreUnderFaults, AWriterKilledAtAnyMomentLeavesTheLastCommittedStepOrTheNext) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("random seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delayMicroseconds(
        0, std::chrono::duration_cast<std::chrono::microseconds>(kLongestRunBeforeTheKill).count());
    int stored = SaveSteps::kNothing;
    int committedUnreported = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        ChildProcess writer(saveLoop(path, stored + 1, kEndless, 0));
        ASSERT_TRUE(writer.waitForOutput(kill % 4 == 0 ? "ready\n" : "step ", 10s));
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        writer.kill(SIGKILL);
        const ChildOutcome outcome = writer.wait(10s);
        ASSERT_EQ(outcome.signal, SIGKILL) << "the writer ended by itself, status "
                                           << outcome.exitCode << ", before kill " << kill;
        const auto reported = reportedSteps(outcome.output);
        const int last = reported.empty() ? stored : reported.back().first;
        int step = 0;
        int base = 0;
        ASSERT_TRUE(holdsAWholeStep(step, base)) << "after kill " << kill;
        // The step in flight may have committed just before the kill, unreported.
        ASSERT_TRUE(step == last || step == last + 1)
            << "after kill " << kill << " the store holds step " << step << ", the writer had "
            << "committed step " << last;
        committedUnreported += step == last + 1;
        stored = step;
    }
    RecordProperty("steps", stored);
    RecordProperty("committed_unreported", committedUnreported);
}

// Each writer saves hundreds of times a second, far beyond what a user's clicks ask for, yet
// pauses a moment between saves: SQLite's busy wait is not fair, and a writer that never let
// go of the store could keep the other waiting past its timeout.
TEST_F(StoreUnderFaults, TwoWritersAtOnceNeverFailAndReadersSeeWholeSteps) {
    constexpr int kSteps = 300;
    constexpr int kPauseMs = 2;
    ChildProcess first(saveLoop(path, SaveSteps::kFirstRun, kSteps - 1, 0, kPauseMs));
    ChildProcess second(
        saveLoop(path, SaveSteps::kFirstRun, kSteps - 1, SaveSteps::kBaseSpacing, kPauseMs));
    // A third copy reads while both write: every state it sees is one writer's whole step.
    int snapshots = 0;
    {
        ASSERT_TRUE(first.waitForOutput("step 0 ", 20s));
        Hive::OpenError error;
        const auto reader = Hive::SqliteHive::open(path, error);
        ASSERT_NE(reader, nullptr) << error.message;
        const std::string lastStep = "step " + std::to_string(kSteps - 1) + ' ';
        const auto writing = [&](ChildProcess& writer) {
            return !writer.waitForOutput(lastStep, 1ms) && !writer.outputClosed();
        };
        while (writing(first) || writing(second)) {
            int step = 0;
            int base = 0;
            ASSERT_TRUE(SaveSteps::identify(*reader, step, base))
                << "a reader saw part of a save, near step " << step << " of base " << base;
            ++snapshots;
        }
    }
    const ChildOutcome a = first.wait(60s);
    const ChildOutcome b = second.wait(60s);
    ASSERT_TRUE(a.exited && a.exitCode == 0) << "the first writer failed";
    ASSERT_TRUE(b.exited && b.exitCode == 0) << "the second writer failed";
    const auto aSteps = reportedSteps(a.output);
    const auto bSteps = reportedSteps(b.output);
    ASSERT_EQ(aSteps.size(), size_t(kSteps + 1));
    ASSERT_EQ(bSteps.size(), size_t(kSteps + 1));
    EXPECT_TRUE(aSteps.front().second < bSteps.back().second &&
                bSteps.front().second < aSteps.back().second)
        << "the writers never saved at the same time";
    EXPECT_GT(snapshots, 0);

    int step = 0;
    int base = 0;
    ASSERT_TRUE(holdsAWholeStep(step, base));
    EXPECT_EQ(step, kSteps - 1);
}

// Set in the copy of this program that runs inside a small filesystem of its own: its folder.
constexpr const char* kSmallFilesystem = "VINDREL_SMALL_FILESYSTEM";

// Runs `test` of this program again in a user and mount namespace of its own, with a tmpfs of
// `size` mounted on `folder`: a full disk that needs no root and touches nothing else.
ChildOutcome runInSmallFilesystem(const std::string& folder, const char* size,
                                  const std::string& test) {
    const std::string mountThenRun =
        "mount -t tmpfs -o size=" + std::string(size) + " tmpfs \"$0\" && exec \"$@\"";
    ChildProcess child({"/usr/bin/unshare", "--user", "--map-root-user", "--mount", "/bin/sh", "-c",
                        mountThenRun, folder, std::filesystem::read_symlink("/proc/self/exe"),
                        "--gtest_filter=" + test},
                       {std::string(kSmallFilesystem) + "=" + folder});
    return child.wait(120s);
}

// Fills the filesystem of `folder` to its last block.
void fill(const std::filesystem::path& folder) {
    std::ofstream filler(folder / "filler", std::ios::binary);
    const std::string block(4096, 'f');
    while (filler.write(block.data(), block.size()) && filler.flush()) {
    }
}

void giveLongNames(VD_Core::Core& core) {
    VD_Core::CorePeer::alarms(core).AlarmCount = VD_Core::Alarms::kCapacity;
    for (int n = 1; n <= VD_Core::Alarms::kCapacity; ++n)
        VD_Core::CorePeer::alarms(core)[n] = {QString(2000, QLatin1Char('a' + n % 26)), 7, 30, 0,
                                              0};
}

// Runs the current test again in a small filesystem of its own, which it finds named by
// kSmallFilesystem, and takes on its outcome.
void runInItsOwnSmallFilesystem() {
    QTemporaryDir folder;
    const std::string name =
        ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() +
        std::string(".") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    const ChildOutcome outcome = runInSmallFilesystem(folder.path().toStdString(), "384k", name);
    if (outcome.exited && outcome.exitCode != 0 &&
        outcome.output.find("[==========]") == std::string::npos)
        GTEST_SKIP() << "no user namespace with a tmpfs of its own here: " << outcome.output;
    EXPECT_TRUE(outcome.exited && outcome.exitCode == 0) << outcome.output;
    EXPECT_NE(outcome.output.find("[  PASSED  ] 1 test."), std::string::npos) << outcome.output;
}

// Each test runs twice: here, where it runs itself again in a small filesystem of its own,
// and there, where `inside` names that filesystem.
class FullDisk : public ::testing::Test, protected TestServices {
protected:
    const char* inside = std::getenv(kSmallFilesystem);
    std::string path = inside != nullptr ? std::string(inside) + "/hkcu.sqlite3" : std::string();
};

// A save and a removal on a full disk keep the store as it was and are logged once each; with
// room again, the next save stores what the clock kept in memory.
TEST_F(FullDisk, SavesThatCannotBeWrittenKeepTheStoreAsItWasAndSucceedLater) {
    if (inside == nullptr)
        return runInItsOwnSmallFilesystem();
    FakeClockWindow window;
    Hive::StoreOpening opening = Hive::openHiveFile(path);
    ASSERT_TRUE(opening.persistent && opening.notes.empty());
    VD_Core::Core core(services(), *opening.store);
    core.attachWindow(&window);
    SaveSteps::apply(core, window, SaveSteps::kFirstRun, 0);
    SaveSteps::apply(core, window, 0, 0);
    const QList<StoredValue> before = clockValues(*opening.store);
    fill(inside);
    giveLongNames(core);
    {
        LogCapture log("vindrel.registry");
        core.SaveSettings();
        core.RemoveAlarm(1);
        EXPECT_EQ(log.messages().size(), 2) << log.messages().join(u'\n').toStdString();
    }
    EXPECT_EQ(clockValues(*Hive::openHiveFile(path).store), before);
    EXPECT_EQ(core.alarms()[1].Name.size(), 2000);
    std::filesystem::remove(std::filesystem::path(inside) / "filler");
    core.SaveSettings();
    const QList<StoredValue> after = clockValues(*Hive::openHiveFile(path).store);
    EXPECT_TRUE(after.contains(textValue(QStringLiteral("Alarms\\20.Name"), QString(2000, u'u'))));
}

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The clock's last clean end removed the log's index (-shm), which a full disk cannot hold
// again: the store is read as it is, its alarm rings, a save fails and keeps the file as it
// was, and the log said at the start why saves fail. With room again, the next start saves.
TEST_F(FullDisk, AStoreThatCannotBeWrittenIsReadAndItsAlarmsRing) {
    if (inside == nullptr)
        return runInItsOwnSmallFilesystem();
    {
        Hive::StoreOpening opening = Hive::openHiveFile(path);
        VD_Core::Core core(services(), *opening.store);
        core.EnsureSettings();
        core.SetAlarmsEnabled(true);
        VD_Core::CorePeer::alarms(core).append({QStringLiteral("Wake"), 7, 30, 0, 0});
        core.SaveSettings();
    }
    ASSERT_FALSE(std::filesystem::exists(path + "-shm"));
    fill(inside);
    const std::string before = contents(path);

    LogCapture log("vindrel.registry");
    const auto store = Platform::openSettingsStore(QString::fromStdString(path));
    VD_Core::Core core(services(), *store);
    core.EnsureSettings();
    core.LoadSettings();
    ASSERT_EQ(core.alarms().AlarmCount, 1);
    EXPECT_EQ(core.alarms()[1].Name, QStringLiteral("Wake"));
    VD_Core::CorePeer::skin(core).AlarmSoundPath = QStringLiteral("alarm");
    VD_Core::TickState state;
    const QDateTime due(QDate(2024, 3, 4), QTime(7, 30));
    EXPECT_TRUE(RunTick(core, due, 0, state, QLocale(QLocale::English))
                    .sounds.contains(QStringLiteral("alarm")));
    ASSERT_EQ(log.messages().size(), 1) << log.messages().join(u'\n').toStdString();
    EXPECT_TRUE(log.messages()[0].contains(QLatin1String("No space left on device")))
        << log.messages()[0].toStdString();

    VD_Core::CorePeer::alarms(core).append({QStringLiteral("Later"), 8, 0, 0, 0});
    core.SaveSettings();
    EXPECT_EQ(log.messages().size(), 2) << "the failed save, once";
    EXPECT_EQ(core.alarms().AlarmCount, 2);
    EXPECT_EQ(contents(path), before);

    // What the failed start left beside the file does not stand in the way of the next one.
    std::filesystem::remove(std::filesystem::path(inside) / "filler");
    Hive::StoreOpening again = Hive::openHiveFile(path);
    ASSERT_TRUE(again.writable && again.notes.empty());
    VD_Core::Core next(services(), *again.store);
    VD_Core::CorePeer::alarms(next) = core.alarms();
    next.SaveSettings();
    next.ClearAlarms();
    next.LoadSettings();
    EXPECT_EQ(next.alarms()[2].Name, QStringLiteral("Later"));
}

} // namespace
