#pragma once

#include "ClockWindow.h"
#include "CoreState.h"
#include "EasyReg.h"

#include <SoundPlayer.h>
#include <Store.h>
#include <SystemClock.h>

namespace VD_Core {

// The state every window shares, and the procedures that act on it. One instance lives for the
// whole run; the windows read and change its fields directly.
class Core {
public:
    Core(Platform::SystemClock& clock, Platform::SoundPlayer& sound, Hive::Store& store);

    Settings ClockSettings;
    Alarms AlarmTable;
    Skin SkinState;

    // Empties entries 1 to AlarmCount and sets the count to 0; entries above it are untouched.
    void ClearAlarms();

    // Applies AlwaysOnTop to the clock window; false when there is no window or it refused.
    bool SetOnTop();

    // First run (no stored "X", or an empty one): creates the settings and alarms keys and
    // writes the defaults. Otherwise writes nothing.
    void EnsureSettings();
    // Reads the settings and alarms 1 to the stored count (at most 20) into memory and moves
    // the clock window to the stored position. A value that cannot be converted loads as 0 or
    // "" and is logged; loading goes on. Entries above the count keep what they held.
    void LoadSettings();
    // Writes the settings, the window position in whole twips and the alarms in one
    // transaction, leaving out entries named "" or with the removal marker and numbering the
    // rest from 1. Memory is not changed.
    void SaveSettings();
    // Removes the stored values of alarms 1 to AlarmCount. Memory is not changed.
    void DeleteAlarmValues();
    // Removes alarm n (1 to AlarmCount) from memory and storage: marks it, deletes the stored
    // alarms, saves, clears and reloads, all in one transaction, so storage holds either the
    // old list or the new one. Other numbers do nothing.
    void RemoveAlarm(int n);

    // The clock window registers itself when it is created and leaves when it is destroyed.
    void attachWindow(ClockWindow* window) { window_ = window; }
    ClockWindow* window() const { return window_; }

    Platform::SystemClock& clock() const { return clock_; }
    Platform::SoundPlayer& sound() const { return sound_; }
    const EasyReg& registry() const { return registry_; }

private:
    struct Position {
        double left = 0;
        double top = 0;
    };
    Position windowPosition() const;
    void placeWindow(Position position);
    void loadAlarm(int n);

    Platform::SystemClock& clock_;
    Platform::SoundPlayer& sound_;
    EasyReg registry_;
    ClockWindow* window_ = nullptr;
    // The last loaded position, saved again while no clock window is attached.
    Position storedPosition_;
};

} // namespace VD_Core
