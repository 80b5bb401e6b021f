#include "platform/Uptime.h"

#include <windows.h>

namespace Platform {

std::uint32_t uptimeMilliseconds() {
    return static_cast<std::uint32_t>(GetTickCount());
}

} // namespace Platform
