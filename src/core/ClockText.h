#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

namespace VD_Core {

// "h.mm.ss": 0.00.05, 9.05.30, 13.45.00.
QString timeText(QTime time);

// "dddd dd mmmm yyyy" with names in the locale's language: Monday 01 March 1999.
QString dateText(QDate date, const QLocale& locale);

// The abbreviated weekday's first letter in upper case and second in lower case: Mo, Tu...
QString dayText(QDate date, const QLocale& locale);

// Hours east of UTC from the standard bias (UTC minus local, minutes), rounded half away from
// zero, at least two digits, a minus sign for every zone west of UTC: 01, 00, -05, 06 for
// UTC+5:30, -00 for UTC-0:20.
QString zoneText(int biasMinutes);

// Seconds since power-on from the wrapping millisecond count, kept as a 32-bit float.
float powerOnSeconds(quint32 tickCount);

// Whole hours, a full stop, and the minutes past them as two digits: 3725 s gives 1.02.
QString passText(float powerOnSeconds);

// The minutes field of a "h.mm.ss" text: 05 in 9.05.30.
QStringView minutesField(const QString& timeText);

// An alarm's time as the tick compares it: 7.05, 0.00, 13.30.
QString alarmTimeText(int hour, int mins);

// The locale's own time format with seconds, as shown before the first tick.
QString startupTimeText(QTime time, const QLocale& locale);

} // namespace VD_Core
