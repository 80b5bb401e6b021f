#pragma once

#include <QString>
#include <QStringList>

// Looking at folders without opening any file, each system its own way: what the machine's
// FileSystem (FileSystem.h) is made of. Paths and names are in the program's own form
// (FileName.h), so that every name the system can store can be looked at.
namespace Platform {

// What a path names, a symbolic link itself rather than what it points to.
enum class EntryKind { Missing, SymbolicLink, Other };
EntryKind entryKind(const QString& path);

// The names in the folder, "." and ".." left out, in no particular order; none when it cannot
// be listed.
QStringList folderEntries(const QString& folder);

// The absolute path with every symbolic link, "." and ".." resolved; "" when a part of it is
// missing or it cannot be resolved.
QString canonicalPath(const QString& path);

} // namespace Platform
