#include "core/VD_Core.h"
#include <CorePeer.h>
#include <FakeClockWindow.h>
#include <TestCore.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace VD_Core;

namespace {

class CoreTest : public ::testing::Test, protected TestCore {
protected:
    FakeClockWindow window;

    void fillAlarms(int count) {
        for (int n = 1; n <= Alarms::kCapacity; ++n)
            VD_Core::CorePeer::alarms(core)[n] = {QStringLiteral("alarm %1").arg(n), 7, 30, 1, 3};
        VD_Core::CorePeer::alarms(core).AlarmCount = static_cast<quint8>(count);
    }
};

TEST_F(CoreTest, StartsZeroedAndEmpty) {
    EXPECT_EQ(core.settings().AlwaysOnTop, 0);
    EXPECT_EQ(core.settings().HourSignal, 0);
    EXPECT_EQ(core.settings().AlarmEnabled, 0);
    EXPECT_TRUE(core.settings().UsedSkinPath.isEmpty());
    EXPECT_EQ(core.alarms().AlarmCount, 0);
    EXPECT_EQ(core.alarms()[1], AlarmEntry{});
    EXPECT_EQ(core.alarms()[20], AlarmEntry{});
}

TEST_F(CoreTest, ClearAlarmsEmptiesOnlyTheEntriesInUse) {
    fillAlarms(3);
    core.ClearAlarms();
    EXPECT_EQ(core.alarms().AlarmCount, 0);
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(core.alarms()[n], AlarmEntry{}) << n;
    EXPECT_EQ(core.alarms()[4].Name, QStringLiteral("alarm 4"));
}

TEST_F(CoreTest, ClearAlarmsWithNoneInUseChangesNothing) {
    fillAlarms(0);
    core.ClearAlarms();
    EXPECT_EQ(core.alarms().AlarmCount, 0);
    EXPECT_EQ(core.alarms()[1].Name, QStringLiteral("alarm 1"));
}

TEST_F(CoreTest, ClearAlarmsWithAFullTable) {
    fillAlarms(Alarms::kCapacity);
    core.ClearAlarms();
    EXPECT_EQ(core.alarms()[20], AlarmEntry{});
}

TEST_F(CoreTest, SetOnTopWithoutAWindowFails) {
    EXPECT_FALSE(core.SetOnTop());
}

struct OnTopCase {
    quint8 stored;
    const char* applied;
};

class SetOnTopTest : public CoreTest, public ::testing::WithParamInterface<OnTopCase> {};

TEST_P(SetOnTopTest, AnyNonzeroValueCountsAsOn) {
    core.attachWindow(&window);
    VD_Core::CorePeer::settings(core).AlwaysOnTop = GetParam().stored;
    EXPECT_TRUE(core.SetOnTop());
    EXPECT_EQ(window.topmostCalls, QStringList{QString::fromLatin1(GetParam().applied)});
    EXPECT_EQ(window.left, 0);
    EXPECT_EQ(window.top, 0);
}

INSTANTIATE_TEST_SUITE_P(Stored, SetOnTopTest,
                         ::testing::Values(OnTopCase{0, "off"}, OnTopCase{1, "on"},
                                           OnTopCase{2, "on"}, OnTopCase{255, "on"}));

TEST_F(CoreTest, SetOnTopReportsARefusal) {
    core.attachWindow(&window);
    window.acceptTopmost = false;
    EXPECT_FALSE(core.SetOnTop());
}

struct StoreCase {
    const char* name;
    int inUse;
    std::optional<int> target; // empty: a new alarm
    int stored;                // the entry written, 0 for none
};

class StoreAlarmTest : public CoreTest, public ::testing::WithParamInterface<StoreCase> {};

TEST_P(StoreAlarmTest, WritesOnlyWithinTheEntriesInUseOrOneAfterThemAndSaves) {
    core.EnsureSettings();
    fillAlarms(GetParam().inUse);
    const AlarmEntry tea{QStringLiteral("Tea"), 16, 5, 2, 11};
    const int stored = GetParam().stored;
    const int countAfter = GetParam().target || stored == 0 ? GetParam().inUse : stored;

    EXPECT_EQ(core.StoreAlarm(tea, GetParam().target), stored);
    EXPECT_EQ(core.alarms().AlarmCount, countAfter);
    int tees = 0;
    for (int n = 1; n <= Alarms::kCapacity; ++n)
        tees += core.alarms()[n] == tea ? 1 : 0;
    EXPECT_EQ(tees, stored == 0 ? 0 : 1);
    if (stored != 0) {
        EXPECT_EQ(core.alarms()[stored], tea);
    }
    const QString key = QStringLiteral("Software\\Brambleton\\Vindrel");
    EXPECT_EQ(core.registry()
                  .GetValue(Hive::Root::CurrentUser, key, QStringLiteral("AlarmCount"))
                  .toText(),
              QString::number(stored == 0 ? 0 : countAfter))
        << "saved exactly when stored";
}

INSTANTIATE_TEST_SUITE_P(Table, StoreAlarmTest,
                         ::testing::Values(StoreCase{"NewIntoAnEmptyTable", 0, std::nullopt, 1},
                                           StoreCase{"NewAfterTheLast", 2, std::nullopt, 3},
                                           StoreCase{"NewAsTheTwentieth", 19, std::nullopt, 20},
                                           StoreCase{"NewIntoAFullTable", 20, std::nullopt, 0},
                                           StoreCase{"EditTheFirst", 2, 1, 1},
                                           StoreCase{"EditTheLast", 20, 20, 20},
                                           StoreCase{"EditPastTheLastInUse", 2, 3, 0},
                                           StoreCase{"EditNumberZero", 2, 0, 0},
                                           StoreCase{"EditPastTheTable", 20, 21, 0},
                                           StoreCase{"EditANegativeNumber", 2, -1, 0}),
                         [](const ::testing::TestParamInfo<StoreCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(SettingsSwitches, OnlyExactlyOneTurnsSignalAndAlarmsOn) {
    Settings s;
    s.HourSignal = 2;
    s.AlarmEnabled = 2;
    EXPECT_FALSE(s.hourSignalOn());
    EXPECT_FALSE(s.alarmsOn());
    s.HourSignal = 1;
    s.AlarmEnabled = 1;
    EXPECT_TRUE(s.hourSignalOn());
    EXPECT_TRUE(s.alarmsOn());
}

} // namespace
