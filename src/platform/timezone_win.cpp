#include "platform/TimeZone.h"

#include <windows.h>

namespace Platform {

int standardBiasMinutes() {
    TIME_ZONE_INFORMATION info{};
    GetTimeZoneInformation(&info);
    return static_cast<int>(info.Bias);
}

} // namespace Platform
