#include "platform/TimeZone.h"

#include <QDateTime>
#include <QTimeZone>

#include <algorithm>

namespace Platform {

int standardBiasMinutes() {
    // Windows counts a zone's smaller offset as its standard time. Qt takes the database's
    // word, and the database models Irish winter as a negative daylight saving, so Dublin would
    // read +1 all year: the smallest offset in force over the coming year is taken instead.
    const QTimeZone zone = QTimeZone::systemTimeZone();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    int smallest = zone.offsetFromUtc(now);
    for (const QTimeZone::OffsetData& change : zone.transitions(now, now.addYears(1)))
        smallest = std::min(smallest, change.offsetFromUtc);
    return -smallest / 60;
}

} // namespace Platform
