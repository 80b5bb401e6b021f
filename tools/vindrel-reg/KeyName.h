#pragma once

#include <QString>

#include <optional>

// Key names as the command line and registry files write them: a root, then the path.
namespace RegTool {

// The path below HKEY_CURRENT_USER of "HKCU\Software\..." or "HKEY_CURRENT_USER\Software\..."
// (the root in any letter case); nothing for another root or an empty level.
std::optional<QString> keyPath(const QString& name);

// "HKEY_CURRENT_USER\" followed by the path, or the root alone for the empty path.
QString fullKeyName(const QString& path);

} // namespace RegTool
