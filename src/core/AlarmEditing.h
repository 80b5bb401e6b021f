#pragma once

#include "core/CoreState.h"

#include <QString>

#include <optional>

// The rules of the alarm list and the alarm editor, kept apart from their widgets.
namespace VD_Core::AlarmEditing {

inline constexpr int kLastHour = 23;
inline constexpr int kLastMinute = 59;
inline constexpr int kLastDay = 7;    // "Sunday"
inline constexpr int kLastMonth = 12; // "December"

// The spinners count down: position p of the hour spinner shows the hour 23 - p and of the
// minute spinner 59 - p, so the upper arrow (which lowers the position) raises the number.
int hourAt(int position);
int minsAt(int position);
// Stored numbers out of range preset the nearest valid value.
int hourPosition(int hour);
int minsPosition(int mins);
int dayLine(int day);
int monthLine(int month);

// "7" for seven o'clock; "07" for seven minutes.
QString hourText(int hour);
QString minsText(int mins);

// The number a field holds when it is a whole number from 0 to `last` (leading zeros allowed).
std::optional<int> fieldValue(const QString& text, int last);

// Which alarm-group controls the Options dialog enables.
struct AlarmGroupState {
    bool list = false;
    bool newButton = false;
    bool editAndDelete = false;
    bool selectFirstLine = false;
};

// Alarms switched off lock the group; switched on, New needs room in the table and Edit and
// Delete need a line to act on.
AlarmGroupState alarmGroupState(bool alarmsTicked, int listLines, bool tableFull);

} // namespace VD_Core::AlarmEditing
