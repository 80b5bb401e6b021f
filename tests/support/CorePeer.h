#pragma once

#include "core/VD_Core.h"

// The core's state as a test or a benchmark sets it up: states no operation makes (a count
// above the table, an entry marked but not yet saved, a value other than 0 or 1 in memory),
// and many entries at once without a save each.
class VD_Core::CorePeer {
public:
    static Settings& settings(Core& core) { return core.ClockSettings; }
    static Alarms& alarms(Core& core) { return core.AlarmTable; }
    static Skin& skin(Core& core) { return core.SkinState; }
};
