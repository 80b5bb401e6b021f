// The clock's start with a settings store it cannot use as it is: it always gets a store,
// starts on the defaults, and says why under vindrel.registry.

#include <FakeClock.h>
#include <FakeShell.h>
#include <FakeSoundPlayer.h>
#include <LogCapture.h>
#include <SettingsStore.h>
#include <VD_Core.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

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

    FakeClock clock;
    FakeSoundPlayer sound;
    FakeShell shell;
    VD_Core::Core core(clock, sound, *store, shell);
    core.EnsureSettings();
    core.LoadSettings();
    EXPECT_EQ(core.AlarmTable.AlarmCount, 0);
    core.AlarmTable.AlarmCount = 1;
    core.AlarmTable[1].Name = QStringLiteral("Wake");
    core.SaveSettings();
    core.ClearAlarms();
    core.LoadSettings();
    EXPECT_EQ(core.AlarmTable[1].Name, QStringLiteral("Wake")) << "saves work for this run";
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

} // namespace
