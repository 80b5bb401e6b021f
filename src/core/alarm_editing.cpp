#include "core/AlarmEditing.h"

#include <algorithm>

namespace VD_Core::AlarmEditing {

int hourAt(int position) {
    return kLastHour - std::clamp(position, 0, kLastHour);
}

int minsAt(int position) {
    return kLastMinute - std::clamp(position, 0, kLastMinute);
}

int hourPosition(int hour) {
    return kLastHour - std::clamp(hour, 0, kLastHour);
}

int minsPosition(int mins) {
    return kLastMinute - std::clamp(mins, 0, kLastMinute);
}

int dayLine(int day) {
    return std::clamp(day, 0, kLastDay);
}

int monthLine(int month) {
    return std::clamp(month, 0, kLastMonth);
}

QString hourText(int hour) {
    return QString::number(hour);
}

QString minsText(int mins) {
    return QStringLiteral("%1").arg(mins, 2, 10, QLatin1Char('0'));
}

std::optional<int> fieldValue(const QString& text, int last) {
    if (text.isEmpty() || text.size() > 2)
        return std::nullopt;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    const int value = text.toInt();
    if (value > last)
        return std::nullopt;
    return value;
}

AlarmGroupState alarmGroupState(bool alarmsTicked, int listLines, bool tableFull) {
    if (!alarmsTicked)
        return {};
    const bool lines = listLines > 0;
    return {true, !tableFull, lines, lines};
}

} // namespace VD_Core::AlarmEditing
