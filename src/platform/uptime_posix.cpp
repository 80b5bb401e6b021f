#include "platform/Uptime.h"

#include <ctime>

namespace Platform {

std::uint32_t uptimeMilliseconds() {
    // CLOCK_BOOTTIME keeps counting while the machine sleeps, as the count since power-on must.
    timespec ts{};
    if (clock_gettime(CLOCK_BOOTTIME, &ts) != 0)
        return 0;
    const auto ms = static_cast<std::uint64_t>(ts.tv_sec) * 1000u +
                    static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}

} // namespace Platform
