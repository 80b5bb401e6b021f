#include "core/StoredSettings.h"

#include <algorithm>

namespace VD_Core {
namespace {

using enum SettingKind;

const StoredSetting kStoredSettings[] = {
    {"X", Left, nullptr, nullptr, "0"},
    {"Y", Top, nullptr, nullptr, "0"},
    {"HourSignal", Byte, &Settings::HourSignal, nullptr, "0"},
    {"UsedSkinPath", Text, nullptr, &Settings::UsedSkinPath, ""},
    {"AlarmEnabled", Byte, &Settings::AlarmEnabled, nullptr, "0"},
    // A first run leaves it out; absent, it loads as off.
    {"AlwaysOnTop", Byte, &Settings::AlwaysOnTop, nullptr, nullptr},
    // Last: a save cut short where the store has no transactions never counts alarms it has
    // not written.
    {"AlarmCount", AlarmCount, nullptr, nullptr, "0"},
};

} // namespace

std::span<const StoredSetting> storedSettings() {
    return kStoredSettings;
}

const StoredSetting& storedSettingOf(QString Settings::*field) {
    return *std::ranges::find(kStoredSettings, field, &StoredSetting::text);
}

const StoredSetting& storedSettingOf(SettingKind kind) {
    return *std::ranges::find(kStoredSettings, kind, &StoredSetting::kind);
}

} // namespace VD_Core
