#include "platform/SystemClock.h"

#include "platform/LocalTime.h"
#include "platform/TimeZone.h"
#include "platform/Uptime.h"

namespace Platform {
namespace {

class MachineClock final : public SystemClock {
public:
    QDateTime now() const override { return localDateTime(epochMilliseconds()); }
    qint64 epochMilliseconds() const override { return QDateTime::currentMSecsSinceEpoch(); }
    quint32 tickCount() const override { return uptimeMilliseconds(); }
    int standardBiasMinutes() const override { return Platform::standardBiasMinutes(); }

private:
    std::unique_ptr<ZoneFollowing> zoneFollowing_ = followZoneSetting();
};

} // namespace

std::unique_ptr<SystemClock> makeSystemClock() {
    return std::make_unique<MachineClock>();
}

} // namespace Platform
