// The clock's start with a settings store it cannot use as it is: it always gets a store,
// starts on the defaults, and says why under vindrel.registry.

#include "core/VD_Core.h"
#include "hive/SqliteHive.h"
#include "platform/SettingsStore.h"
#include <CorePeer.h>
#include <CountingStore.h>
#include <HiveContents.h>
#include <LogCapture.h>
#include <TestCore.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace {

struct StartCase {
    const char* name;
    std::function<void(const QString& path)> place;
    bool kept; // the settings outlive the run
    const char* logged;
};

class StartWithUnusableStore : public ::testing::TestWithParam<StartCase> {};

TEST_P(StartWithUnusableStore, StartsOnTheDefaultsAndLogsWhy) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Brambleton/hkcu.sqlite3"));
    QDir().mkpath(QFileInfo(path).absolutePath());
    GetParam().place(path);
    LogCapture log("vindrel.registry");
    const auto store = Platform::openSettingsStore(path);
    ASSERT_NE(store, nullptr);
    ASSERT_FALSE(log.messages().isEmpty());
    EXPECT_TRUE(log.messages()[0].contains(path));
    EXPECT_TRUE(log.messages().join(u' ').contains(QLatin1String(GetParam().logged)))
        << log.messages().join(u'\n').toStdString();

    TestServices fakes;
    VD_Core::Core core(fakes.services(), *store);
    core.EnsureSettings();
    core.LoadSettings();
    EXPECT_EQ(core.alarms().AlarmCount, 0);
    VD_Core::CorePeer::alarms(core).AlarmCount = 1;
    VD_Core::CorePeer::alarms(core)[1].Name = QStringLiteral("Wake");
    core.SaveSettings();
    core.ClearAlarms();
    core.LoadSettings();
    EXPECT_EQ(core.alarms()[1].Name, QStringLiteral("Wake")) << "saves work for this run";
    EXPECT_EQ(QFileInfo(path).isFile(), GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(Stores, StartWithUnusableStore,
                         ::testing::Values(StartCase{"AFolderInItsPlace",
                                                     [](const QString& path) {
                                                         QDir().mkpath(path);
                                                     },
                                                     false, "kept in memory"},
                                           StartCase{"ATextFileInItsPlace",
                                                     [](const QString& path) {
                                                         QFile file(path);
                                                         file.open(QIODevice::WriteOnly);
                                                         file.write("X=1200\n");
                                                     },
                                                     true, "a fresh store was started"}),
                         [](const auto& info) { return std::string(info.param.name); });

const QString kSettings = QStringLiteral("Software\\Brambleton\\Vindrel");
const QString kAlarms = QStringLiteral("Software\\Brambleton\\Vindrel\\Alarms");

// Two clocks whose settings are one file, as two copies of the program started by one user.
class TwoCopiesOfOneFile : public ::testing::Test, protected TestCore {
protected:
    QTemporaryDir sharedFolder;

    // Two copies of the clock's store, on one file.
    std::pair<std::unique_ptr<Hive::SqliteHive>, std::unique_ptr<Hive::SqliteHive>>
    twoCopiesOfOneFile() {
        const std::string path =
            sharedFolder.filePath(QStringLiteral("hkcu.sqlite3")).toStdString();
        Hive::OpenError error;
        auto first = Hive::SqliteHive::open(path, error);
        return {std::move(first), Hive::SqliteHive::open(path, error)};
    }
};

TEST_F(TwoCopiesOfOneFile, ARemovalWhileAnotherCopyHoldsTheStoreKeepsTheOldListEverywhere) {
    const auto [mine, other] = twoCopiesOfOneFile();
    mine->setBusyTimeout(20);
    VD_Core::Core clockCopy(services(), *mine);
    clockCopy.EnsureSettings();
    for (const char* name : {"One", "Two", "Three"}) {
        VD_Core::CorePeer::alarms(clockCopy).append({QString::fromLatin1(name)});
    }
    clockCopy.SaveSettings();
    {
        Hive::Transaction otherCopySaving(*other);
        clockCopy.RemoveAlarm(2);
        otherCopySaving.commit();
    }
    EXPECT_EQ(clockCopy.alarms().AlarmCount, 3);
    EXPECT_EQ(clockCopy.alarms()[2].Name, QStringLiteral("Two"));
    EXPECT_EQ(storedValues(*mine, kAlarms).size(), 15);
}

// Runs `meanwhile` once, just before the first transaction begins.
class BeginHook final : public CountingStore {
public:
    BeginHook(Hive::Store& store, std::function<void()> meanwhile)
        : CountingStore(store), meanwhile_(std::move(meanwhile)) {}

    Hive::Status beginTransaction(Hive::Access access) override {
        if (meanwhile_)
            std::exchange(meanwhile_, nullptr)();
        return CountingStore::beginTransaction(access);
    }

private:
    std::function<void()> meanwhile_;
};

TEST_F(TwoCopiesOfOneFile, AFirstRunNeverWritesItsDefaultsOverAnotherCopysFirstSave) {
    const auto [mine, other] = twoCopiesOfOneFile();
    other->setBusyTimeout(20);
    VD_Core::Core otherCopy(services(), *other);
    VD_Core::CorePeer::alarms(otherCopy).AlarmCount = 1;
    VD_Core::CorePeer::alarms(otherCopy)[1].Name = QStringLiteral("Kept");
    // The other copy starts and saves just as this one looks for its settings.
    BeginHook hooked(*mine, [&] {
        otherCopy.EnsureSettings();
        otherCopy.SaveSettings();
    });
    VD_Core::Core clockCopy(services(), hooked);
    LogCapture log("vindrel.registry");
    clockCopy.EnsureSettings();
    const bool otherSaveFailed =
        log.messages().filter(QStringLiteral("could not be stored")).size() > 0;
    EXPECT_TRUE(otherSaveFailed ||
                storedValues(*mine, kSettings)
                    .contains(textValue(QStringLiteral("AlarmCount"), QStringLiteral("1"))))
        << "the other copy's save was lost without a word";
}

} // namespace
