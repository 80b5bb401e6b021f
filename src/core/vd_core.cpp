#include "core/VD_Core.h"

#include <QCoreApplication>

#include <algorithm>

namespace VD_Core {
namespace {

std::vector<SkinFolder> skinFoldersIn(const QString& programFolder, const QString& userFolder) {
    std::vector<SkinFolder> folders{SkinFolder(
        programFolder.isNull() ? QCoreApplication::applicationDirPath() : programFolder)};
    if (!userFolder.isEmpty())
        folders.emplace_back(userFolder);
    return folders;
}

} // namespace

Core::Core(const Platform::Services& services, Hive::Store& store, const QString& programFolder,
           const QString& userFolder)
    : services_(services), skinFolders_(skinFoldersIn(programFolder, userFolder)), store_(store),
      registry_(store_) {}

int Core::StoreAlarm(const AlarmEntry& entry, std::optional<int> n) {
    int stored = 0;
    if (!n)
        stored = AlarmTable.append(entry);
    else if (*n >= 1 && *n <= std::min<int>(AlarmTable.AlarmCount, Alarms::kCapacity))
        stored = *n;
    if (stored == 0)
        return 0;
    AlarmTable[stored] = entry;
    SaveSettings();
    return stored;
}

void Core::UseSkin(const QString& path) {
    if (path == ClockSettings.UsedSkinPath)
        return;
    ClockSettings.UsedSkinPath = path;
    LoadSkin();
}

void Core::ClearAlarms() {
    const int count = AlarmTable.AlarmCount;
    for (int i = 1; i <= count && i <= Alarms::kCapacity; ++i)
        AlarmTable[i] = AlarmEntry{};
    AlarmTable.AlarmCount = 0;
}

void Core::SetAlwaysOnTop(bool on) {
    ClockSettings.AlwaysOnTop = on ? 1 : 0;
    SetOnTop();
    SaveSettings();
}

void Core::SetHourSignal(bool on) {
    ClockSettings.HourSignal = on ? 1 : 0;
}

void Core::SetAlarmsEnabled(bool on) {
    ClockSettings.AlarmEnabled = on ? 1 : 0;
}

void Core::ConfirmOptions() {
    if (window_ != nullptr)
        window_->setAlarmIndicatorVisible(ClockSettings.alarmsOn());
    SaveSettings();
}

void Core::KeepBuiltInPictures() {
    if (window_ == nullptr)
        return;
    SkinState.DefaultTitlePicture = window_->titlePicture();
    SkinState.DefaultAlarmPicture = window_->alarmPicture();
}

bool Core::SetOnTop() {
    if (window_ == nullptr)
        return false;
    return window_->applyTopmost(ClockSettings.onTop());
}

} // namespace VD_Core
