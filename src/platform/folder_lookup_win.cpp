#include "platform/FolderLookup.h"

#include <windows.h>

namespace Platform {
namespace {

const wchar_t* wide(const QString& path) {
    return reinterpret_cast<const wchar_t*>(path.utf16());
}

} // namespace

EntryKind entryKind(const QString& path) {
    const DWORD attributes = GetFileAttributesW(wide(path));
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return EntryKind::Missing;
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? EntryKind::SymbolicLink
                                                            : EntryKind::Other;
}

QStringList folderEntries(const QString& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(wide(folder + QStringLiteral("\\*")), &found);
    if (search == INVALID_HANDLE_VALUE)
        return {};
    QStringList names;
    do {
        const QString name = QString::fromWCharArray(found.cFileName);
        if (name != QLatin1String(".") && name != QLatin1String(".."))
            names << name;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

QString canonicalPath(const QString& path) {
    // Opened for its attributes only (no access asked), so that nothing is read or started.
    const HANDLE handle =
        CreateFileW(wide(path), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {};
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length =
        GetFinalPathNameByHandleW(handle, buffer, MAX_PATH * 4, FILE_NAME_NORMALIZED);
    CloseHandle(handle);
    if (length == 0 || length >= MAX_PATH * 4)
        return {};
    // "\\?\C:\..." or "\\?\UNC\server\...", written as the program writes paths: "C:/...".
    QString canonical = QString::fromWCharArray(buffer, int(length));
    if (canonical.startsWith(QLatin1String("\\\\?\\UNC\\")))
        canonical.replace(0, 8, QStringLiteral("\\\\"));
    else if (canonical.startsWith(QLatin1String("\\\\?\\")))
        canonical.remove(0, 4);
    return canonical.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

} // namespace Platform
