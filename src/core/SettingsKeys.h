#pragma once

#include <Store.h>

#include <QString>

namespace VD_Core {

// Where the clock keeps its settings and its alarms, for every part of the core that reads or
// writes them.
inline constexpr Hive::Root kSettingsRoot = Hive::Root::CurrentUser;
inline const QString kSettingsKey = QStringLiteral("Software\\Brambleton\\Vindrel");
inline const QString kAlarmsKey = QStringLiteral("Software\\Brambleton\\Vindrel\\Alarms");

} // namespace VD_Core
