#pragma once

#include <QDateTime>
#include <QtGlobal>

#include <memory>

namespace Platform {

// The clock services the program reads: wall-clock time, time since boot and the zone.
class SystemClock {
public:
    virtual ~SystemClock() = default;

    // Current local date and time, to the millisecond.
    virtual QDateTime now() const = 0;

    // The same instant as milliseconds since 1970 UTC: cheaper where no local date is needed,
    // since it involves no time zone.
    virtual qint64 epochMilliseconds() const = 0;

    // Milliseconds since the computer was started, wrapping to 0 after 2^32 ms.
    virtual quint32 tickCount() const = 0;

    // UTC minus local standard time, in minutes (daylight saving never applied).
    virtual int standardBiasMinutes() const = 0;
};

// The machine's own clock.
std::unique_ptr<SystemClock> makeSystemClock();

} // namespace Platform
