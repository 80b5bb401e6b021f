#pragma once

#include "ClockWindow.h"
#include "CoreState.h"
#include "SkinFolder.h"

#include <SoundPlayer.h>
#include <SystemClock.h>

namespace VD_Core {

// The state every window shares, and the procedures that act on it. One instance lives for the
// whole run; the windows read and change its fields directly.
class Core {
public:
    // The Skins folder is found in programFolder; by default the folder of the running program.
    Core(Platform::SystemClock& clock, Platform::SoundPlayer& sound,
         const QString& programFolder = QString());

    Settings ClockSettings;
    Alarms AlarmTable;
    Skin SkinState;

    // Empties entries 1 to AlarmCount and sets the count to 0; entries above it are untouched.
    void ClearAlarms();

    // Applies AlwaysOnTop to the clock window; false when there is no window or it refused.
    bool SetOnTop();

    // Applies the skin named by UsedSkinPath to the clock window and SkinState, or the built-in
    // look when the path is empty. Never fails: a file that cannot be used changes nothing, a
    // picture that cannot be loaded keeps its target as it was, and both sound paths are set
    // again from any skin applied. The skin's sounds are decoded ahead of play.
    void LoadSkin();

    // The built-in pictures, no background picture and no sounds; UsedSkinPath is kept.
    void ResetSkin();

    const SkinFolder& skinFolder() const { return skinFolder_; }

    // The clock window registers itself when it is created and leaves when it is destroyed.
    void attachWindow(ClockWindow* window) { window_ = window; }
    ClockWindow* window() const { return window_; }

    Platform::SystemClock& clock() const { return clock_; }
    Platform::SoundPlayer& sound() const { return sound_; }

private:
    Platform::SystemClock& clock_;
    Platform::SoundPlayer& sound_;
    SkinFolder skinFolder_;
    ClockWindow* window_ = nullptr;
};

} // namespace VD_Core
