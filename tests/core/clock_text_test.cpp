#include "core/ClockText.h"
#include <EnglishLocale.h>

#include <gtest/gtest.h>

using namespace VD_Core;

namespace {

struct TimeCase {
    QTime time;
    const char* text;
};

class TimeTextTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(TimeTextTest, HourWithoutLeadingZero) {
    EXPECT_EQ(timeText(GetParam().time), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Clock, TimeTextTest,
                         ::testing::Values(TimeCase{QTime(0, 0, 5), "0.00.05"},
                                           TimeCase{QTime(9, 5, 30), "9.05.30"},
                                           TimeCase{QTime(13, 45, 0), "13.45.00"},
                                           TimeCase{QTime(23, 59, 59, 999), "23.59.59"}));

struct ZoneCase {
    int bias;
    const char* text;
};

class ZoneTextTest : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(ZoneTextTest, WholeHoursRoundedAwayFromZero) {
    EXPECT_EQ(zoneText(GetParam().bias), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Zones, ZoneTextTest,
                         ::testing::Values(ZoneCase{0, "00"}, ZoneCase{-60, "01"},
                                           ZoneCase{300, "-05"}, ZoneCase{-330, "06"},
                                           ZoneCase{210, "-04"}, ZoneCase{-345, "06"},
                                           ZoneCase{-570, "10"}, ZoneCase{-780, "13"},
                                           ZoneCase{600, "-10"}, ZoneCase{720, "-12"},
                                           ZoneCase{-840, "14"}, ZoneCase{20, "-00"},
                                           ZoneCase{-20, "00"}));

struct PassCase {
    float seconds;
    const char* text;
};

class PassTextTest : public ::testing::TestWithParam<PassCase> {};

TEST_P(PassTextTest, HoursNotWrappedAndMinutesTwoDigits) {
    EXPECT_EQ(passText(GetParam().seconds), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Uptime, PassTextTest,
                         ::testing::Values(PassCase{0, "0.00"}, PassCase{59, "0.00"},
                                           PassCase{3599, "0.59"}, PassCase{3600, "1.00"},
                                           PassCase{3725, "1.02"}, PassCase{86400, "24.00"},
                                           PassCase{90000, "25.00"}));

TEST(PowerOnSeconds, EndOfThe32BitCountReads1193Hours) {
    EXPECT_EQ(passText(powerOnSeconds(0xFFFFFFFFu)), QStringLiteral("1193.02"));
    EXPECT_EQ(passText(powerOnSeconds(0xFFFFFFFFu + 1u)), QStringLiteral("0.00"));
}

TEST(DateText, FullWeekdayTwoDigitDayFullMonthAndYear) {
    EXPECT_EQ(dateText(QDate(1999, 3, 1), kEnglish), QStringLiteral("Monday 01 March 1999"));
    EXPECT_EQ(dateText(QDate(2024, 12, 29), kEnglish), QStringLiteral("Sunday 29 December 2024"));
}

TEST(DateText, NamesComeFromTheLocale) {
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(dateText(QDate(1999, 3, 1), german), QStringLiteral("Montag 01 März 1999"));
}

TEST(DayText, TwoLettersForEachWeekday) {
    const QDate monday(2024, 3, 4);
    const char* expected[] = {"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(dayText(monday.addDays(i), kEnglish), QString::fromLatin1(expected[i])) << i;
}

TEST(DayText, CaseIsForcedWhateverTheLocaleWrites) {
    // French abbreviations are lower case ("lun."); the label still reads "Lu".
    EXPECT_EQ(dayText(QDate(2024, 3, 4), QLocale(QLocale::French, QLocale::France)),
              QStringLiteral("Lu"));
}

struct TimeFieldCase {
    const char* time;
    const char* minutes;
};

class TimeFieldTest : public ::testing::TestWithParam<TimeFieldCase> {};

TEST_P(TimeFieldTest, FieldsOfTheTimeText) {
    const QString time = QString::fromLatin1(GetParam().time);
    EXPECT_EQ(minutesField(time), QString::fromLatin1(GetParam().minutes));
}

INSTANTIATE_TEST_SUITE_P(Clock, TimeFieldTest,
                         ::testing::Values(TimeFieldCase{"9.05.30", "05"},
                                           TimeFieldCase{"13.45.00", "45"},
                                           TimeFieldCase{"0.00.05", "00"}));

TEST(AlarmTimeText, HourPlainMinutesTwoDigits) {
    EXPECT_EQ(alarmTimeText(7, 5), QStringLiteral("7.05"));
    EXPECT_EQ(alarmTimeText(0, 0), QStringLiteral("0.00"));
    EXPECT_EQ(alarmTimeText(13, 30), QStringLiteral("13.30"));
    EXPECT_EQ(alarmTimeText(24, 0), QStringLiteral("24.00"));
}

} // namespace
