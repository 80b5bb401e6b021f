#pragma once

#include "ClockWindow.h"
#include "CoreState.h"

#include <Shell.h>
#include <SoundPlayer.h>
#include <SystemClock.h>

namespace VD_Core {

// The state every window shares, and the procedures that act on it. One instance lives for the
// whole run; the windows read and change its fields directly.
class Core {
public:
    Core(Platform::SystemClock& clock, Platform::SoundPlayer& sound, Platform::Shell& shell);

    Settings ClockSettings;
    Alarms AlarmTable;
    Skin SkinState;

    // Empties entries 1 to AlarmCount and sets the count to 0; entries above it are untouched.
    void ClearAlarms();

    // Applies AlwaysOnTop to the clock window; false when there is no window or it refused.
    bool SetOnTop();

    // The clock window registers itself when it is created and leaves when it is destroyed.
    void attachWindow(ClockWindow* window) { window_ = window; }
    ClockWindow* window() const { return window_; }

    Platform::SystemClock& clock() const { return clock_; }
    Platform::SoundPlayer& sound() const { return sound_; }
    Platform::Shell& shell() const { return shell_; }

private:
    Platform::SystemClock& clock_;
    Platform::SoundPlayer& sound_;
    Platform::Shell& shell_;
    ClockWindow* window_ = nullptr;
};

} // namespace VD_Core
