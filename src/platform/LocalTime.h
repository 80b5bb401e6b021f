#pragma once

#include <QDateTime>

#include <memory>

namespace Platform {

// The date and time on the wall clock of the system's time zone at an instant, in milliseconds
// since 1970 UTC. A change of the zone setting while the program runs is followed: on Windows by
// the system itself, elsewhere once a ZoneWatch (ZoneWatch.h) sees it, the zone's rules being
// looked up once and not on every conversion.
QDateTime localDateTime(qint64 epochMilliseconds);

// Keeps localDateTime following the zone setting for as long as it lives.
class ZoneFollowing {
public:
    virtual ~ZoneFollowing() = default;
};

// A ZoneWatch where the setting is a file; null on Windows, which follows it by itself.
std::unique_ptr<ZoneFollowing> followZoneSetting();

} // namespace Platform
