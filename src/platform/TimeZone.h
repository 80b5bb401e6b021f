#pragma once

namespace Platform {

// UTC minus the local zone's standard time, in minutes: -60 for UTC+1, 300 for UTC-5. Standard
// time is the zone's smaller offset, as Windows counts it: 0 for Europe/Dublin.
int standardBiasMinutes();

} // namespace Platform
