#pragma once

#include "core/ClockWindow.h"
#include "core/CoreState.h"
#include "core/EasyReg.h"
#include "core/SkinCatalog.h"
#include "core/SkinFolder.h"

#include "hive/AtomicStore.h"
#include "hive/Store.h"
#include "platform/Services.h"

#include <QList>

#include <optional>
#include <vector>

namespace VD_Core {

class CorePeer;

// The state every window shares, and the procedures that act on it. One instance lives for the
// whole run; the windows read the state and change it only through the operations, which keep
// its rules (what is applied at once, what is saved when).
class Core {
public:
    // The program's Skins folder is found in programFolder, by default the folder of the running
    // program; a user's own Skins folder in userFolder, when one is given.
    Core(const Platform::Services& services, Hive::Store& store,
         const QString& programFolder = QString(), const QString& userFolder = QString());

    const Settings& settings() const { return ClockSettings; }
    const Alarms& alarms() const { return AlarmTable; }
    const Skin& skin() const { return SkinState; }

    // "Al&ways On Top" ticked or cleared: applied to the clock window at once, then saved.
    void SetAlwaysOnTop(bool on);
    // "Hour Signal" and "Enable Alarm": kept in memory, saved with the Options dialog's "&Ok".
    void SetHourSignal(bool on);
    void SetAlarmsEnabled(bool on);
    // The Options dialog's "&Ok": the bell on the clock shows whether alarms are on, then
    // everything is saved.
    void ConfirmOptions();
    // Keeps the clock window's own title and alarm pictures as the built-in look, before any
    // skin is applied.
    void KeepBuiltInPictures();

    // Stores an alarm as a new last entry (n empty) or over entry n (1 to AlarmCount), which
    // keeps its place, then saves. Returns the entry's number; 0, with nothing changed or
    // saved, when the table is full or n is not an entry in use.
    int StoreAlarm(const AlarmEntry& entry, std::optional<int> n);

    // Puts the skin at path ("" for the built-in look) on the clock and remembers it; the skin
    // already in use is not read again.
    void UseSkin(const QString& path);

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

    // LoadSkin at start-up, marked in storage while it runs. When the mark of an earlier start
    // is still there (that start ended while it applied the skin), the built-in look instead:
    // UsedSkinPath is emptied in memory and in storage, every other setting kept, and why is
    // logged, so that the skin can be chosen again rather than end every start.
    void LoadSkinAtStart();

    // The program's own Skins folder.
    const SkinFolder& skinFolder() const { return skinFolders_.front(); }
    // The Skins folders skins are listed and applied from: the program's, then the user's.
    const std::vector<SkinFolder>& skinFolders() const { return skinFolders_; }
    // The skins of those folders, as the Options dialog lists them (SkinCatalog.h).
    std::vector<SkinListing> skinList() const {
        return listSkins(services_.fileSystem, skinFolders_);
    }
    // First run (no stored "X", or an empty one): creates the settings and alarms keys and
    // writes the defaults, in one transaction with the check. Otherwise writes nothing.
    void EnsureSettings();
    // Reads the settings and alarms 1 to the stored count (at most 20) into memory and moves
    // the clock window to the stored position. A value that cannot be converted loads as 0 or
    // "" and is logged; loading goes on. Entries above the count keep what they held.
    void LoadSettings();
    // Writes the settings, the window position in whole twips and the alarms in one
    // transaction, leaving out entries named "" or with the removal marker and numbering the
    // rest from 1; a missing alarms key below an existing settings key is made first. The
    // alarms go before the count, so that where the store has no transactions a save cut
    // short never counts alarms it has not written. If anything fails, nothing of the save is
    // kept (where the store can roll back) and it is logged once. Memory is not changed.
    void SaveSettings();
    // Removes the stored values of alarms 1 to AlarmCount. Memory is not changed.
    void DeleteAlarmValues();
    // Removes alarm n (1 to AlarmCount) from memory and storage: marks it, saves the rest
    // renumbered over the stored alarms, deletes the stored values beyond the new count, then
    // clears and reloads the alarms, all in one transaction. Storage ends as if every stored alarm
    // had been deleted before the save, and at no moment between lacks an alarm that is kept. If
    // anything fails, storage keeps the old list (where it can roll back), memory is left as it
    // was before the call and it is logged once. Other numbers do nothing.
    void RemoveAlarm(int n);

    // The clock window registers itself when it is created and leaves when it is destroyed.
    void attachWindow(ClockWindow* window) { window_ = window; }
    ClockWindow* window() const { return window_; }

    Platform::SystemClock& clock() const { return services_.clock; }
    Platform::SoundPlayer& sound() const { return services_.sound; }
    Platform::Shell& shell() const { return services_.shell; }
    Platform::Desktop& desktop() const { return services_.desktop; }
    const EasyReg& registry() const { return registry_; }

private:
    // Tests set up states that no operation makes (a count above the table, an entry marked
    // but not yet saved) through it.
    friend class CorePeer;

    struct Position {
        double left = 0;
        double top = 0;
    };
    Position windowPosition() const;
    void placeWindow(Position position);
    // Loads alarms 1 to the stored count, at most the table's.
    void loadAlarms(int stored);
    void loadAlarm(int n);
    // The alarms alone, again from storage.
    void reloadAlarms();
    // Writes the kept alarms numbered from 1 and returns how many.
    qint32 saveAlarms();
    void deleteAlarmValues(int first, int last);
    // The numbers of the entries a save keeps, in order.
    QList<int> keptAlarms() const;
    // Whether the settings key exists.
    bool settingsStored();
    // Ends the scope; what failed is logged once, by the outermost scope.
    Hive::Status commitOrLog(Hive::Transaction& scope, const char* what);
    // Removes the start-up's mark of a skin being applied.
    void forgetMark(const char* what);

    Settings ClockSettings;
    Alarms AlarmTable;
    Skin SkinState;

    Platform::Services services_;
    std::vector<SkinFolder> skinFolders_;
    // Every save and removal is all or nothing, whatever write of it fails.
    Hive::AtomicStore store_;
    EasyReg registry_;
    ClockWindow* window_ = nullptr;
    // The last loaded position, saved again while no clock window is attached.
    Position storedPosition_;
};

} // namespace VD_Core
