#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace Platform {

// The first bytes of a file, and whether they are all of it.
struct FileHead {
    QByteArray bytes;
    bool whole = false; // the file ended within the limit
};

// Reads at most maxBytes bytes of the file at the path (in the program's form, FileName.h),
// following symbolic links, but only when it is a regular file, checked before it is opened and
// again once it is: a folder, FIFO, socket or device is never opened, so a name taken from
// untrusted input can neither start a device, block nor stream without end. Nothing when the
// path names no regular file or it cannot be opened.
std::optional<FileHead> readRegularFile(const QString& path, qint64 maxBytes);

// Whether the path names a regular file, following symbolic links, or nothing at all: a place
// where a file can be saved by writing a new one beside it and renaming it over. A rename over
// a folder, FIFO, socket or device would put a file in its place, so none of them is.
bool isRegularFileOrMissing(const QString& path);

} // namespace Platform
