#pragma once

#include <QDateTime>

namespace Platform {

// The date and time on the wall clock of the system's time zone at an instant, in milliseconds
// since 1970 UTC. A change of the zone setting while the program runs is followed: on Windows by
// the system itself, elsewhere once a ZoneWatch (ZoneWatch.h) sees it, the zone's rules being
// looked up once and not on every conversion.
QDateTime localDateTime(qint64 epochMilliseconds);

} // namespace Platform
