#pragma once

#include "platform/FolderLookup.h"
#include "platform/RegularFile.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace Platform {

// The files and folders that untrusted input (a skin's values) names, looked at and read within
// bounds. Paths and names are in the program's own form (FileName.h), so that every name the
// system can store can be looked at.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // What the path names, a final symbolic link not followed (on Windows any reparse point
    // counts as one); Missing when it names nothing or cannot be looked at.
    virtual EntryKind entryKind(const QString& path) const = 0;

    // The names in the folder, "." and ".." left out, in no particular order; none when it
    // cannot be listed.
    virtual QStringList folderEntries(const QString& folder) const = 0;

    // The absolute path with every symbolic link, "." and ".." resolved, in "/" separators
    // ("/srv/Skins", "C:/Vindrel/Skins"); "" when a part of it is missing or it cannot be
    // resolved.
    virtual QString canonicalPath(const QString& path) const = 0;

    // At most maxBytes bytes of the file at the path, only when it is a regular file, checked
    // before it is opened and again once it is, symbolic links followed (RegularFile.h): never
    // a folder, FIFO, socket or device. Nothing when the path names no regular file or it
    // cannot be opened.
    virtual std::optional<FileHead> readRegularFile(const QString& path, qint64 maxBytes) const = 0;
};

// The machine's own.
std::unique_ptr<FileSystem> makeFileSystem();

} // namespace Platform
