#pragma once

#include <cstdint>

namespace Platform {

// Milliseconds since boot as a wrapping unsigned 32-bit count (suspend time included).
std::uint32_t uptimeMilliseconds();

} // namespace Platform
