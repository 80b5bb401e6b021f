#pragma once

namespace Platform {

// UTC minus the local zone's standard time, in minutes: -60 for UTC+1, 300 for UTC-5.
int standardBiasMinutes();

} // namespace Platform
