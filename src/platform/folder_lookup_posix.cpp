#include "platform/FolderLookup.h"

#include "platform/FileName.h"

#include <dirent.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace Platform {

EntryKind entryKind(const QString& path) {
    struct stat status {};
    const QByteArray name = fileNameToSystem(path);
    if (name.contains('\0') || ::lstat(name.constData(), &status) != 0)
        return EntryKind::Missing;
    return S_ISLNK(status.st_mode) ? EntryKind::SymbolicLink : EntryKind::Other;
}

QStringList folderEntries(const QString& folder) {
    const QByteArray name = fileNameToSystem(folder);
    if (name.contains('\0'))
        return {};
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(name.constData()), ::closedir);
    if (!dir)
        return {};
    QStringList names;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names << fileNameFromSystem(entry->d_name);
    }
    return names;
}

QString canonicalPath(const QString& path) {
    const QByteArray name = fileNameToSystem(path);
    char resolved[PATH_MAX];
    if (name.isEmpty() || name.contains('\0') || ::realpath(name.constData(), resolved) == nullptr)
        return {};
    return fileNameFromSystem(resolved);
}

} // namespace Platform
