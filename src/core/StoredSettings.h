#pragma once

#include "core/CoreState.h"

#include "hive/Store.h"

#include <QString>

#include <span>

namespace VD_Core {

// Where the clock keeps its settings and its alarms, for every part of the core that reads or
// writes them.
inline constexpr Hive::Root kSettingsRoot = Hive::Root::CurrentUser;
inline const QString kSettingsKey = QStringLiteral("Software\\Brambleton\\Vindrel");
inline const QString kAlarmsKey = QStringLiteral("Software\\Brambleton\\Vindrel\\Alarms");

// How a value under the settings key moves between memory and the registry.
enum class SettingKind {
    Left,       // the clock window's left edge in twips, saved whole
    Top,        // its top edge
    Byte,       // a field of Settings holding 0 to 255
    Text,       // a field of Settings holding text
    AlarmCount, // the alarm table's count: a save writes the alarms just before it
};

// One value under the settings key. Every value is stored as REG_SZ text.
struct StoredSetting {
    const char* name;
    SettingKind kind;
    quint8 Settings::*byte = nullptr;  // for Byte
    QString Settings::*text = nullptr; // for Text
    const char* firstRun = nullptr;    // what a first run writes; nullptr: nothing
};

// Every value under the settings key, in the order a save writes them and a load reads them.
std::span<const StoredSetting> storedSettings();

// The row of a field of Settings; the first row of a kind.
const StoredSetting& storedSettingOf(QString Settings::*field);
const StoredSetting& storedSettingOf(SettingKind kind);

} // namespace VD_Core
