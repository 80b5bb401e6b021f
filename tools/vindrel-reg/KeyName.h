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

// The registry holds keys at most this many levels below a root.
inline constexpr qsizetype kDeepestKey = 512;

// How many levels the path goes below the root: 0 for the root itself.
qsizetype keyDepth(const QString& path);

// Whether every level of the path is a key name the registry holds: without a NUL, at most
// Hive::kLongestKeyName long; if not, `why` says so.
bool isKeyName(const QString& path, QString& why);

// Whether a key can be made at the path: its names are key names, and it goes no deeper than
// the registry's keys; if not, `why` says so. Keys already deeper are still read and deleted.
bool isMakeable(const QString& path, QString& why);

// Whether a value can have the name: without a NUL, at most Hive::kLongestValueName long; if
// not, `why` says so.
bool isValueName(const QString& name, QString& why);

} // namespace RegTool
