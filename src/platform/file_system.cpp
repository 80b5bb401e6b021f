#include "platform/FileSystem.h"

namespace Platform {
namespace {

class MachineFileSystem final : public FileSystem {
public:
    EntryKind entryKind(const QString& path) const override { return Platform::entryKind(path); }
    QStringList folderEntries(const QString& folder) const override {
        return Platform::folderEntries(folder);
    }
    QString canonicalPath(const QString& path) const override {
        return Platform::canonicalPath(path);
    }
    std::optional<FileHead> readRegularFile(const QString& path, qint64 maxBytes) const override {
        return Platform::readRegularFile(path, maxBytes);
    }
};

} // namespace

std::unique_ptr<FileSystem> makeFileSystem() {
    return std::make_unique<MachineFileSystem>();
}

} // namespace Platform
