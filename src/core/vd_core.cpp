#include "VD_Core.h"

#include <QCoreApplication>

namespace VD_Core {

Core::Core(Platform::SystemClock& clock, Platform::SoundPlayer& sound, Hive::Store& store,
           Platform::Shell& shell, const QString& programFolder)
    : clock_(clock), sound_(sound), shell_(shell),
      skinFolder_(programFolder.isNull() ? QCoreApplication::applicationDirPath() : programFolder),
      store_(store), registry_(store_) {}

void Core::ClearAlarms() {
    const int count = AlarmTable.AlarmCount;
    for (int i = 1; i <= count && i <= Alarms::kCapacity; ++i)
        AlarmTable[i] = AlarmEntry{};
    AlarmTable.AlarmCount = 0;
}

bool Core::SetOnTop() {
    if (window_ == nullptr)
        return false;
    return window_->applyTopmost(ClockSettings.onTop());
}

} // namespace VD_Core
