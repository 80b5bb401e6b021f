#include "core/ClockText.h"
#include "core/Tick.h"
#include "platform/TimeZone.h"
#include <CorePeer.h>
#include <EnglishLocale.h>
#include <ScopedTimeZone.h>
#include <TestCore.h>

#include <gtest/gtest.h>

using namespace VD_Core;

namespace {

const QString kHourSound = QStringLiteral("hour.wav");
const QString kAlarmSound = QStringLiteral("alarm.wav");

// Ticks every half second through a span of real time, converted to local time as the clock
// sees it, and counts the sounds started.
class ZoneWalkTest : public ::testing::Test, protected TestCore {
protected:
    TickState state;

    void SetUp() override {
        if (const char* why = ScopedTimeZone::whyNotSettable())
            GTEST_SKIP() << why;
        VD_Core::CorePeer::skin(core).HourSoundPath = kHourSound;
        VD_Core::CorePeer::skin(core).AlarmSoundPath = kAlarmSound;
        core.SetHourSignal(true);
        core.SetAlarmsEnabled(true);
    }

    QStringList walk(const QDateTime& fromUtc, const QDateTime& toUtc) {
        QStringList sounds;
        for (qint64 ms = fromUtc.toMSecsSinceEpoch(); ms < toUtc.toMSecsSinceEpoch(); ms += 500) {
            const QDateTime local = QDateTime::fromMSecsSinceEpoch(ms, Qt::LocalTime);
            sounds << RunTick(core, local, 0, state, kEnglish).sounds;
        }
        return sounds;
    }

    static QDateTime utc(int y, int mo, int d, int h, int mi) {
        return {QDate(y, mo, d), QTime(h, mi), Qt::UTC};
    }
};

TEST_F(ZoneWalkTest, BerlinAutumnRepeatsAnHourButTheAlarmSoundsOnce) {
    ScopedTimeZone zone("Europe/Berlin");
    addAlarm(2, 30);
    // 00:00 UTC is 02:00 summer time; at 01:00 UTC the clock goes back from 03:00 to 02:00.
    const QStringList sounds = walk(utc(2024, 10, 27, 0, 0), utc(2024, 10, 27, 2, 1));
    EXPECT_EQ(sounds.count(kAlarmSound), 1);
    EXPECT_EQ(sounds.count(kHourSound), 3) << "2:00, 2:00 again, 3:00: one signal per hour shown";
}

TEST_F(ZoneWalkTest, NewYorkSpringSkipsAnHourAndItsAlarm) {
    ScopedTimeZone zone("America/New_York");
    addAlarm(2, 30);
    addAlarm(3, 0);
    // At 07:00 UTC the clock goes from 02:00 standard time to 03:00 daylight time.
    const QStringList sounds = walk(utc(2024, 3, 10, 6, 30), utc(2024, 3, 10, 7, 30));
    EXPECT_EQ(sounds.count(kAlarmSound), 1) << "3:00 sounds; 2:30 never comes";
    EXPECT_EQ(sounds.count(kHourSound), 1);
}

TEST_F(ZoneWalkTest, LordHoweRepeatsHalfAnHourAndTheAlarmInItSoundsOnce) {
    ScopedTimeZone zone("Australia/Lord_Howe");
    addAlarm(1, 45);
    // At 15:00 UTC the clock goes back from 02:00 (UTC+11) to 01:30 (UTC+10:30).
    const QStringList sounds = walk(utc(2024, 4, 6, 14, 30), utc(2024, 4, 6, 15, 30));
    EXPECT_EQ(sounds.count(kAlarmSound), 1);
}

TEST_F(ZoneWalkTest, KolkataHasNoJumps) {
    ScopedTimeZone zone("Asia/Kolkata");
    addAlarm(5, 30);
    // 00:00 UTC is 05:30 local: half an hour after the zone's whole hour.
    const QStringList sounds = walk(utc(2024, 6, 1, 0, 0), utc(2024, 6, 1, 1, 0));
    EXPECT_EQ(sounds.count(kAlarmSound), 1);
    EXPECT_EQ(sounds.count(kHourSound), 1) << "06:00";
}

class ClockJumpTest : public ::testing::Test, protected TestCore {
protected:
    TickState state;

    QStringList tick(QDate date, QTime time) {
        return RunTick(core, QDateTime(date, time), 0, state, kEnglish).sounds;
    }
};

TEST_F(ClockJumpTest, AClockSetBackByHandDoesNotRepeatTheAlarm) {
    core.SetAlarmsEnabled(true);
    VD_Core::CorePeer::alarms(core)[1] = {QStringLiteral("a"), 7, 5, 0, 0};
    VD_Core::CorePeer::alarms(core).AlarmCount = 1;
    const QDate day(2024, 5, 2);
    EXPECT_EQ(tick(day, QTime(7, 5, 0)).size(), 1);
    EXPECT_TRUE(tick(day, QTime(7, 6, 0)).isEmpty());
    EXPECT_TRUE(tick(day, QTime(7, 4, 0)).isEmpty());
    EXPECT_TRUE(tick(day, QTime(7, 5, 0)).isEmpty());
    EXPECT_TRUE(tick(day, QTime(7, 6, 0)).isEmpty());
    EXPECT_EQ(tick(day.addDays(1), QTime(7, 5, 0)).size(), 1);
}

TEST_F(ClockJumpTest, AnEditedAlarmSoundsAtItsNewTimeTheSameDay) {
    core.SetAlarmsEnabled(true);
    VD_Core::CorePeer::alarms(core)[1] = {QStringLiteral("a"), 7, 5, 0, 0};
    VD_Core::CorePeer::alarms(core).AlarmCount = 1;
    const QDate day(2024, 5, 2);
    EXPECT_EQ(tick(day, QTime(7, 5, 0)).size(), 1);
    VD_Core::CorePeer::alarms(core)[1].Mins = 10;
    EXPECT_TRUE(tick(day, QTime(7, 6, 0)).isEmpty());
    EXPECT_EQ(tick(day, QTime(7, 10, 0)).size(), 1);
}

TEST_F(ClockJumpTest, TheDisplayIsRightOneTickAfterAJump) {
    tick(QDate(2024, 5, 2), QTime(10, 0, 0));
    const TickResult r =
        RunTick(core, QDateTime(QDate(2025, 1, 1), QTime(15, 30, 10)), 0, state, kEnglish);
    EXPECT_EQ(r.display.time, QStringLiteral("15.30.10"));
    EXPECT_EQ(r.display.date, QStringLiteral("Wednesday 01 January 2025"));
    EXPECT_EQ(r.display.day, QStringLiteral("We"));
    // Set back one hour to the second, as when daylight saving ends.
    const TickResult back =
        RunTick(core, QDateTime(QDate(2025, 1, 1), QTime(14, 30, 10, 500)), 0, state, kEnglish);
    EXPECT_EQ(back.display.time, QStringLiteral("14.30.10"));
}

struct StandardOffsetCase {
    const char* zone;
    const char* label;
};

class StandardOffsetTest : public ::testing::TestWithParam<StandardOffsetCase> {};

TEST_P(StandardOffsetTest, ZoneLabelIgnoresDaylightSaving) {
    if (const char* why = ScopedTimeZone::whyNotSettable())
        GTEST_SKIP() << why;
    ScopedTimeZone zone(GetParam().zone);
    EXPECT_EQ(zoneText(Platform::standardBiasMinutes()), QString::fromLatin1(GetParam().label));
}

INSTANTIATE_TEST_SUITE_P(Zones, StandardOffsetTest,
                         ::testing::Values(StandardOffsetCase{"Europe/Berlin", "01"},
                                           StandardOffsetCase{"America/New_York", "-05"},
                                           StandardOffsetCase{"Asia/Kolkata", "06"},
                                           StandardOffsetCase{"Australia/Lord_Howe", "11"},
                                           StandardOffsetCase{"UTC", "00"},
                                           StandardOffsetCase{"Europe/Dublin", "00"}));

} // namespace
