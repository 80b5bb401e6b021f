#pragma once

#include "hive/Store.h"

#include <QString>

#include <memory>

namespace Platform {

// Where the user's settings live where there is no Windows registry: the generic
// configuration folder (XDG_CONFIG_HOME, ~/.config) + "/Brambleton/hkcu.sqlite3".
QString settingsStorePath();

// The current user's registry, for the clock. Never null: what cannot be opened is replaced as
// Hive::openUserStore says, and every such event is logged under vindrel.registry.
std::unique_ptr<Hive::Store> openSettingsStore(const QString& hivePath = settingsStorePath());

} // namespace Platform
