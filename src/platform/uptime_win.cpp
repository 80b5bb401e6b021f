#include "Uptime.h"

#include <windows.h>

namespace Platform {

quint32 uptimeMilliseconds() {
    return static_cast<quint32>(GetTickCount());
}

} // namespace Platform
