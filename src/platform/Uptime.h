#pragma once

#include <QtGlobal>

namespace Platform {

// Milliseconds since boot as a wrapping unsigned 32-bit count (suspend time included).
quint32 uptimeMilliseconds();

} // namespace Platform
