#pragma once

#include "platform/FileSystem.h"

#include <functional>

// The machine's file system, where a test can change a file on disk just before it is read, as
// another program may between the lookup or listing that found the file and the read.
class FaultyFileSystem final : public Platform::FileSystem {
public:
    // Given the path about to be read.
    std::function<void(const QString& path)> beforeRead;

    Platform::EntryKind entryKind(const QString& path) const override {
        return machine_->entryKind(path);
    }
    QStringList folderEntries(const QString& folder) const override {
        return machine_->folderEntries(folder);
    }
    QString canonicalPath(const QString& path) const override {
        return machine_->canonicalPath(path);
    }
    std::optional<Platform::FileHead> readRegularFile(const QString& path,
                                                      qint64 maxBytes) const override {
        if (beforeRead)
            beforeRead(path);
        return machine_->readRegularFile(path, maxBytes);
    }

private:
    std::unique_ptr<Platform::FileSystem> machine_ = Platform::makeFileSystem();
};
