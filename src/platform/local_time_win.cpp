#include "platform/LocalTime.h"

namespace Platform {

// Windows converts to local time without looking at a file, and follows a change of the zone
// by itself.
QDateTime localDateTime(qint64 epochMilliseconds) {
    return QDateTime::fromMSecsSinceEpoch(epochMilliseconds, Qt::LocalTime);
}

std::unique_ptr<ZoneFollowing> followZoneSetting() {
    return nullptr;
}

} // namespace Platform
