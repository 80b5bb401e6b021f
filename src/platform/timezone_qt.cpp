#include "TimeZone.h"

#include <QDateTime>
#include <QTimeZone>

namespace Platform {

int standardBiasMinutes() {
    const QTimeZone zone = QTimeZone::systemTimeZone();
    return -zone.standardTimeOffset(QDateTime::currentDateTimeUtc()) / 60;
}

} // namespace Platform
