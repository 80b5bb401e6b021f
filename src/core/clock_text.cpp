#include "core/ClockText.h"

#include <cmath>
#include <cstdlib>

namespace VD_Core {
namespace {

// Appends the value in decimal with at least `width` digits. These texts are built on every
// tick, so without QString::arg's parsing of a pattern.
void appendDigits(QString& text, long value, int width) {
    if (value < 0) {
        text += QString::number(value);
        return;
    }
    char digits[24];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0);
    while (count < width)
        digits[count++] = '0';
    while (count > 0)
        text += QLatin1Char(digits[--count]);
}

QString twoDigits(long value) {
    QString text;
    appendDigits(text, value, 2);
    return text;
}

// "h.mm": the first number without leading zeros, the second with at least two digits.
QString hourDotMinutes(long hours, long minutes) {
    QString text;
    text.reserve(8);
    appendDigits(text, hours, 1);
    text += QLatin1Char('.');
    appendDigits(text, minutes, 2);
    return text;
}

} // namespace

QString timeText(QTime time) {
    QString text = hourDotMinutes(time.hour(), time.minute());
    text += QLatin1Char('.');
    appendDigits(text, time.second(), 2);
    return text;
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
    const QString digits = twoDigits(std::labs(std::lround(-biasMinutes / 60.0)));
    // The sign is the zone's, not the rounded number's: UTC-0:20 shows -00.
    return biasMinutes > 0 ? QLatin1Char('-') + digits : digits;
}

float powerOnSeconds(quint32 tickCount) {
    return static_cast<float>(tickCount / 1000.0);
}

QString passText(float powerOnSeconds) {
    const auto hours = static_cast<long>(std::floor(powerOnSeconds / 3600.0));
    const auto minutes = static_cast<long>(std::floor(powerOnSeconds / 60.0)) - hours * 60;
    return hourDotMinutes(hours, minutes);
}

QStringView minutesField(const QString& timeText) {
    return QStringView(timeText).mid(timeText.size() - 5, 2);
}

QString alarmTimeText(int hour, int mins) {
    return hourDotMinutes(hour, mins);
}

QString startupTimeText(QTime time, const QLocale& locale) {
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return locale.toString(time, format.trimmed());
}

} // namespace VD_Core
