#include "core/Tick.h"
#include <CorePeer.h>
#include <EnglishLocale.h>
#include <TestCore.h>

#include <gtest/gtest.h>

using namespace VD_Core;

namespace {

const QString kHour = QStringLiteral("hour.wav");
const QString kAlarm = QStringLiteral("alarm.wav");

// A Monday in March.
QDateTime at(int h, int m, int s, int ms = 0, QDate date = QDate(2024, 3, 4)) {
    return {date, QTime(h, m, s, ms)};
}

class TickTest : public ::testing::Test, protected TestCore {
protected:
    TickState state;

    void SetUp() override {
        VD_Core::CorePeer::skin(core).HourSoundPath = kHour;
        VD_Core::CorePeer::skin(core).AlarmSoundPath = kAlarm;
    }

    QStringList tick(const QDateTime& now, quint32 ticks = 0) {
        return RunTick(core, now, ticks, state, kEnglish).sounds;
    }
};

TEST_F(TickTest, ShowsTimeDateDayAndPowerOnTime) {
    const TickResult r = RunTick(core, at(13, 45, 0), 3725000, state, kEnglish);
    EXPECT_EQ(r.display.time, QStringLiteral("13.45.00"));
    EXPECT_EQ(r.display.date, QStringLiteral("Monday 04 March 2024"));
    EXPECT_EQ(r.display.day, QStringLiteral("Mo"));
    EXPECT_EQ(r.display.pass, QStringLiteral("1.02"));
    EXPECT_EQ(state.TimeText, QStringLiteral("13.45.00"));
    EXPECT_FLOAT_EQ(state.PowerOnSeconds, 3725.0f);
}

TEST_F(TickTest, DateAndDayFollowMidnightAndTheLanguage) {
    RunTick(core, at(23, 59, 59, 600), 0, state, kEnglish);
    const TickResult tuesday =
        RunTick(core, at(0, 0, 0, 100, QDate(2024, 3, 5)), 0, state, kEnglish);
    EXPECT_EQ(tuesday.display.date, QStringLiteral("Tuesday 05 March 2024"));
    EXPECT_EQ(tuesday.display.day, QStringLiteral("Tu"));
    const QLocale german(QLocale::German, QLocale::Germany);
    const TickResult dienstag =
        RunTick(core, at(0, 0, 0, 600, QDate(2024, 3, 5)), 0, state, german);
    EXPECT_EQ(dienstag.display.date, QStringLiteral("Dienstag 05 März 2024"));
    EXPECT_EQ(dienstag.display.day, QStringLiteral("Di"));
}

TEST_F(TickTest, HourSignalSoundsOnceOnTheFirstTickOfMinuteZero) {
    core.SetHourSignal(true);
    EXPECT_TRUE(tick(at(10, 59, 59, 800)).isEmpty());
    EXPECT_EQ(tick(at(11, 0, 0, 300)), QStringList{kHour});
    EXPECT_TRUE(tick(at(11, 0, 0, 800)).isEmpty());
    EXPECT_TRUE(state.SignalPlayed);
    EXPECT_TRUE(tick(at(11, 1, 0, 300)).isEmpty());
    EXPECT_FALSE(state.SignalPlayed);
    EXPECT_EQ(tick(at(12, 0, 0, 300)), QStringList{kHour});
}

TEST_F(TickTest, HourSignalOffLeavesItsFlagAlone) {
    core.SetHourSignal(true);
    tick(at(11, 0, 0, 300));
    core.SetHourSignal(false);
    EXPECT_TRUE(tick(at(11, 1, 0)).isEmpty());
    EXPECT_TRUE(state.SignalPlayed);
    VD_Core::CorePeer::settings(core).HourSignal = 2; // counts as off
    EXPECT_TRUE(tick(at(12, 0, 0)).isEmpty());
    EXPECT_TRUE(state.SignalPlayed);
}

TEST_F(TickTest, AlarmSoundsOnceInItsMinute) {
    core.SetAlarmsEnabled(true);
    addAlarm(7, 5);
    EXPECT_TRUE(tick(at(7, 4, 59, 700)).isEmpty());
    EXPECT_EQ(tick(at(7, 5, 0, 200)), QStringList{kAlarm});
    EXPECT_TRUE(tick(at(7, 5, 30)).isEmpty());
    EXPECT_TRUE(tick(at(7, 5, 59, 700)).isEmpty());
    EXPECT_TRUE(tick(at(7, 6, 0, 200)).isEmpty());
    EXPECT_EQ(tick(at(7, 5, 0, 200, QDate(2024, 3, 5))), QStringList{kAlarm});
}

TEST_F(TickTest, MidnightMatchesAndImpossibleTimesNever) {
    core.SetAlarmsEnabled(true);
    addAlarm(0, 0);
    addAlarm(24, 0);
    addAlarm(0, 60);
    tick(at(23, 59, 0, 0, QDate(2024, 3, 3)));
    for (int h = 0; h < 24; ++h)
        EXPECT_EQ(tick(at(h, 0, 0)).size(), h == 0 ? 1 : 0) << h;
    EXPECT_FALSE(state.AlarmPlayed[2]);
    EXPECT_FALSE(state.AlarmPlayed[3]);
}

struct FilterCase {
    const char* name;
    int day;
    int month;
    QDate date;
    bool sounds;
};

class AlarmFilterTest : public TickTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(AlarmFilterTest, DayAndMonthFilters) {
    core.SetAlarmsEnabled(true);
    addAlarm(8, 0, GetParam().day, GetParam().month);
    EXPECT_EQ(tick(at(8, 0, 0, 0, GetParam().date)).size(), GetParam().sounds ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, AlarmFilterTest,
    ::testing::Values(FilterCase{"EveryDayEveryMonth", 0, 0, QDate(2024, 7, 17), true},
                      FilterCase{"MondayOnMonday", 1, 0, QDate(2024, 3, 4), true},
                      FilterCase{"MondayOnTuesday", 1, 0, QDate(2024, 3, 5), false},
                      FilterCase{"SundayOnSunday", 7, 0, QDate(2024, 3, 10), true},
                      FilterCase{"SundayOnSaturday", 7, 0, QDate(2024, 3, 9), false},
                      FilterCase{"DecemberInDecember", 0, 12, QDate(2024, 12, 2), true},
                      FilterCase{"DecemberInNovember", 0, 12, QDate(2024, 11, 2), false},
                      FilterCase{"MondayInMarchOnAMarchMonday", 1, 3, QDate(2024, 3, 11), true},
                      FilterCase{"MondayInMarchOnAnAprilMonday", 1, 3, QDate(2024, 4, 1), false},
                      FilterCase{"DayOutOfRange", 8, 0, QDate(2024, 3, 4), false},
                      FilterCase{"MonthOutOfRange", 0, 13, QDate(2024, 3, 4), false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TickTest, FilteredOutAlarmKeepsItsFlag) {
    core.SetAlarmsEnabled(true);
    addAlarm(8, 0, 1);
    tick(at(8, 0, 0, 0, QDate(2024, 3, 4)));
    EXPECT_TRUE(state.AlarmPlayed[1]);
    tick(at(9, 0, 0, 0, QDate(2024, 3, 5))); // Tuesday: filtered out, flag untouched
    EXPECT_TRUE(state.AlarmPlayed[1]);
}

TEST_F(TickTest, SwitchingAlarmsOffAndOnWithinTheMinuteDoesNotRepeat) {
    core.SetAlarmsEnabled(true);
    addAlarm(7, 5);
    EXPECT_EQ(tick(at(7, 5, 0)).size(), 1);
    core.SetAlarmsEnabled(false);
    EXPECT_TRUE(tick(at(7, 5, 10)).isEmpty());
    core.SetAlarmsEnabled(true);
    EXPECT_TRUE(tick(at(7, 5, 20)).isEmpty());
}

TEST_F(TickTest, AlarmsOffChangesNoFlag) {
    core.SetAlarmsEnabled(true);
    addAlarm(7, 5);
    tick(at(7, 5, 0));
    VD_Core::CorePeer::settings(core).AlarmEnabled = 2; // counts as off
    tick(at(7, 6, 0));
    EXPECT_TRUE(state.AlarmPlayed[1]);
}

TEST_F(TickTest, TwoAlarmsInOneMinuteStartInEntryOrderAfterTheSignal) {
    core.SetAlarmsEnabled(true);
    core.SetHourSignal(true);
    addAlarm(12, 0);
    addAlarm(12, 0);
    VD_Core::CorePeer::alarms(core)[2].Name =
        kRemovalMarker; // still counts until the next save and reload
    VD_Core::CorePeer::skin(core).AlarmSoundPath = QStringLiteral("second.wav");
    EXPECT_EQ(tick(at(12, 0, 0)),
              (QStringList{kHour, QStringLiteral("second.wav"), QStringLiteral("second.wav")}));
    EXPECT_TRUE(state.AlarmPlayed[1]);
    EXPECT_TRUE(state.AlarmPlayed[2]);
}

TEST_F(TickTest, EntriesAboveTheCountAreNeverRead) {
    core.SetAlarmsEnabled(true);
    addAlarm(6, 0);
    VD_Core::CorePeer::alarms(core)[2] = {QStringLiteral("leftover"), 6, 0, 0, 0};
    EXPECT_EQ(tick(at(6, 0, 0)).size(), 1);
}

TEST_F(TickTest, ACountAboveTheTableIsBoundedByIt) {
    core.SetAlarmsEnabled(true);
    for (int n = 1; n <= Alarms::kCapacity; ++n)
        VD_Core::CorePeer::alarms(core)[n] = {QStringLiteral("x"), 6, 0, 0, 0};
    VD_Core::CorePeer::alarms(core).AlarmCount = 200;
    EXPECT_EQ(tick(at(6, 0, 0)).size(), Alarms::kCapacity);
}

TEST_F(TickTest, EmptySoundPathsArePlayedAsTheyAre) {
    VD_Core::CorePeer::skin(core).HourSoundPath.clear();
    core.SetHourSignal(true);
    EXPECT_EQ(tick(at(15, 0, 0)), QStringList{QString()});
}

// Two clocks tick through the same two hours across midnight, one with a count that wraps
// at 2^32 ms half way through, one far from the wrap: only the power-on time differs.
TEST_F(TickTest, OnlyThePowerOnTimeFollowsTheWrapOfTheCount) {
    core.SetHourSignal(true);
    core.SetAlarmsEnabled(true);
    addAlarm(0, 0);
    addAlarm(23, 30);
    TickState farState;
    constexpr quint32 kOneHourMs = 3600000;
    const quint32 nearStart = 0u - kOneHourMs; // the count wraps one hour in
    QStringList passTexts;
    QStringList sounds;
    for (quint32 ms = 0; ms < 2 * kOneHourMs; ms += 500) {
        const QDateTime now = at(23, 0, 0).addMSecs(ms);
        const TickResult wrapping = RunTick(core, now, nearStart + ms, state, kEnglish);
        const TickResult far = RunTick(core, now, kOneHourMs + ms, farState, kEnglish);
        ASSERT_EQ(wrapping.display.time, far.display.time);
        ASSERT_EQ(wrapping.display.date, far.display.date);
        ASSERT_EQ(wrapping.display.day, far.display.day);
        ASSERT_EQ(wrapping.sounds, far.sounds) << "at " << now.toString().toStdString();
        if (passTexts.isEmpty() || passTexts.last() != wrapping.display.pass)
            passTexts << wrapping.display.pass;
        sounds << wrapping.sounds;
    }
    EXPECT_EQ(sounds, (QStringList{kHour, kAlarm, kHour, kAlarm}));
    EXPECT_EQ(passTexts.first(), QStringLiteral("1192.02"));
    EXPECT_EQ(passTexts.indexOf(QStringLiteral("1193.02")), 60);
    EXPECT_EQ(passTexts.at(61), QStringLiteral("0.00")) << "right after the wrap";
    EXPECT_EQ(passTexts.last(), QStringLiteral("0.59"));
}

struct QuartzCase {
    const char* what;
    int intoHalfSecond;
    QuartzTimer quartz;
    std::optional<int> restart;
};

void PrintTo(const QuartzCase& c, std::ostream* out) {
    *out << c.what;
}

class QuartzStepTest : public ::testing::TestWithParam<QuartzCase> {};

TEST_P(QuartzStepTest, TicksStayJustAfterTheHalfSeconds) {
    EXPECT_EQ(quartzRestart(GetParam().intoHalfSecond, GetParam().quartz), GetParam().restart);
}

INSTANTIATE_TEST_SUITE_P(
    Ticks, QuartzStepTest,
    ::testing::Values(QuartzCase{"not started", 120, {false, 0, -1}, 380},
                      QuartzCase{"brought in step", 1, {true, 380, 380}, 500},
                      QuartzCase{"in step", 2, {true, 500, 499}, std::nullopt},
                      QuartzCase{"due in step, this one late", 30, {true, 500, 471}, std::nullopt},
                      QuartzCase{"due just before the half second", 2, {true, 500, 497}, 498},
                      QuartzCase{"clock set forward", 250, {true, 500, 499}, 250},
                      QuartzCase{"clock set back", 499, {true, 500, 498}, 1},
                      QuartzCase{"first interval ended late", 9, {true, 380, 380}, 491},
                      QuartzCase{"on the half second", 0, {true, 500, 0}, std::nullopt}));

} // namespace
