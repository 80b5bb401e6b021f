#include <FakeClockWindow.h>
#include <TestCore.h>
#include <VD_Core.h>

#include <gtest/gtest.h>

using namespace VD_Core;

namespace {

class CoreTest : public ::testing::Test, protected TestCore {
protected:
    FakeClockWindow window;

    void fillAlarms(int count) {
        for (int n = 1; n <= Alarms::kCapacity; ++n)
            core.AlarmTable[n] = {QStringLiteral("alarm %1").arg(n), 7, 30, 1, 3};
        core.AlarmTable.AlarmCount = static_cast<quint8>(count);
    }
};

TEST_F(CoreTest, StartsZeroedAndEmpty) {
    EXPECT_EQ(core.ClockSettings.AlwaysOnTop, 0);
    EXPECT_EQ(core.ClockSettings.HourSignal, 0);
    EXPECT_EQ(core.ClockSettings.AlarmEnabled, 0);
    EXPECT_TRUE(core.ClockSettings.UsedSkinPath.isEmpty());
    EXPECT_EQ(core.AlarmTable.AlarmCount, 0);
    EXPECT_EQ(core.AlarmTable[1], AlarmEntry{});
    EXPECT_EQ(core.AlarmTable[20], AlarmEntry{});
}

TEST_F(CoreTest, ClearAlarmsEmptiesOnlyTheEntriesInUse) {
    fillAlarms(3);
    core.ClearAlarms();
    EXPECT_EQ(core.AlarmTable.AlarmCount, 0);
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(core.AlarmTable[n], AlarmEntry{}) << n;
    EXPECT_EQ(core.AlarmTable[4].Name, QStringLiteral("alarm 4"));
}

TEST_F(CoreTest, ClearAlarmsWithNoneInUseChangesNothing) {
    fillAlarms(0);
    core.ClearAlarms();
    EXPECT_EQ(core.AlarmTable.AlarmCount, 0);
    EXPECT_EQ(core.AlarmTable[1].Name, QStringLiteral("alarm 1"));
}

TEST_F(CoreTest, ClearAlarmsWithAFullTable) {
    fillAlarms(Alarms::kCapacity);
    core.ClearAlarms();
    EXPECT_EQ(core.AlarmTable[20], AlarmEntry{});
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
    core.ClockSettings.AlwaysOnTop = GetParam().stored;
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
