#include "core/AlarmEditing.h"

#include <gtest/gtest.h>

using namespace VD_Core::AlarmEditing;

namespace {

TEST(Spinners, PositionsCountDownFromTheLastValue) {
    EXPECT_EQ(hourAt(23), 0);
    EXPECT_EQ(hourAt(22), 1);
    EXPECT_EQ(hourAt(0), 23);
    EXPECT_EQ(minsAt(59), 0);
    EXPECT_EQ(minsAt(0), 59);
    for (int h = 0; h <= 23; ++h)
        EXPECT_EQ(hourAt(hourPosition(h)), h);
    for (int m = 0; m <= 59; ++m)
        EXPECT_EQ(minsAt(minsPosition(m)), m);
}

struct PresetCase {
    int stored;
    int (*preset)(int);
    int expected;
};

class OutOfRangePresetTest : public ::testing::TestWithParam<PresetCase> {};

TEST_P(OutOfRangePresetTest, NearestValidValue) {
    EXPECT_EQ(GetParam().preset(GetParam().stored), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Stored, OutOfRangePresetTest,
                         ::testing::Values(PresetCase{24, hourPosition, 0},
                                           PresetCase{255, hourPosition, 0},
                                           PresetCase{60, minsPosition, 0},
                                           PresetCase{8, dayLine, 7}, PresetCase{13, monthLine, 12},
                                           PresetCase{0, dayLine, 0}, PresetCase{7, dayLine, 7},
                                           PresetCase{12, monthLine, 12}));

TEST(FieldTexts, HourPlainMinutesTwoDigits) {
    EXPECT_EQ(hourText(7), QStringLiteral("7"));
    EXPECT_EQ(hourText(0), QStringLiteral("0"));
    EXPECT_EQ(minsText(7), QStringLiteral("07"));
    EXPECT_EQ(minsText(0), QStringLiteral("00"));
    EXPECT_EQ(minsText(59), QStringLiteral("59"));
}

struct FieldCase {
    const char* text;
    int last;
    int expected; // -1: not a valid value
};

class FieldValueTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(FieldValueTest, OnlyNumbersInRange) {
    const auto value = fieldValue(QString::fromLatin1(GetParam().text), GetParam().last);
    EXPECT_EQ(value.value_or(-1), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Typed, FieldValueTest,
                         ::testing::Values(FieldCase{"0", 23, 0}, FieldCase{"07", 23, 7},
                                           FieldCase{"23", 23, 23}, FieldCase{"24", 23, -1},
                                           FieldCase{"59", 59, 59}, FieldCase{"60", 59, -1},
                                           FieldCase{"", 23, -1}, FieldCase{"-1", 23, -1},
                                           FieldCase{"1a", 23, -1}, FieldCase{"007", 59, -1},
                                           FieldCase{" 7", 23, -1}));

struct GroupCase {
    const char* name;
    bool ticked;
    int lines;
    bool full;
    AlarmGroupState expected;
};

class AlarmGroupTest : public ::testing::TestWithParam<GroupCase> {};

TEST_P(AlarmGroupTest, EnablingRule) {
    const AlarmGroupState s = alarmGroupState(GetParam().ticked, GetParam().lines, GetParam().full);
    const AlarmGroupState& e = GetParam().expected;
    EXPECT_EQ(s.list, e.list);
    EXPECT_EQ(s.newButton, e.newButton);
    EXPECT_EQ(s.editAndDelete, e.editAndDelete);
    EXPECT_EQ(s.selectFirstLine, e.selectFirstLine);
}

INSTANTIATE_TEST_SUITE_P(
    States, AlarmGroupTest,
    ::testing::Values(GroupCase{"OffWithAlarms", false, 3, false, {false, false, false, false}},
                      GroupCase{"OnWithoutAlarms", true, 0, false, {true, true, false, false}},
                      GroupCase{"OnWithAlarms", true, 3, false, {true, true, true, true}},
                      GroupCase{"OnAndFull", true, 20, true, {true, false, true, true}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
