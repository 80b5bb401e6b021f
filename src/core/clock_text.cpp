#include "ClockText.h"

#include <cmath>
#include <cstdlib>

namespace VD_Core {
namespace {

QString twoDigits(long value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

QString timeText(QTime time) {
    return QStringLiteral("%1.%2.%3")
        .arg(time.hour())
        .arg(twoDigits(time.minute()), twoDigits(time.second()));
}

QString dateText(QDate date, const QLocale& locale) {
    return locale.toString(date, QStringLiteral("dddd dd MMMM yyyy"));
}

QString dayText(QDate date, const QLocale& locale) {
    const QString name = locale.dayName(date.dayOfWeek(), QLocale::ShortFormat);
    if (name.size() < 2)
        return name.toUpper();
    return name.left(1).toUpper() + name.mid(1, 1).toLower();
}

QString zoneText(int biasMinutes) {
    const long hours = std::lround(-biasMinutes / 60.0);
    const QString digits = twoDigits(std::labs(hours));
    return hours < 0 ? QLatin1Char('-') + digits : digits;
}

float powerOnSeconds(quint32 tickCount) {
    return static_cast<float>(tickCount / 1000.0);
}

QString passText(float powerOnSeconds) {
    const auto hours = static_cast<long>(std::floor(powerOnSeconds / 3600.0));
    const auto minutes = static_cast<long>(std::floor(powerOnSeconds / 60.0)) - hours * 60;
    return QStringLiteral("%1.%2").arg(hours).arg(twoDigits(minutes));
}

QString minutesField(const QString& timeText) {
    return timeText.mid(timeText.size() - 5, 2);
}

QString hourMinuteField(const QString& timeText) {
    // The first full stop at or after the fourth character ends the minutes.
    const qsizetype stop = timeText.indexOf(QLatin1Char('.'), 3);
    return stop < 0 ? timeText : timeText.left(stop);
}

QString alarmTimeText(int hour, int mins) {
    return QStringLiteral("%1.%2").arg(hour).arg(twoDigits(mins));
}

QString startupTimeText(QTime time, const QLocale& locale) {
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return locale.toString(time, format.trimmed());
}

} // namespace VD_Core
