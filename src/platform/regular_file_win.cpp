#include "platform/RegularFile.h"

#include <QStringList>

#include <windows.h>

#include <algorithm>

namespace Platform {
namespace {

const wchar_t* wide(const QString& path) {
    return reinterpret_cast<const wchar_t*>(path.utf16());
}

// CON, NUL, COM1 and the like name a device in every folder, whatever follows a dot in them.
bool namesADevice(const QString& path) {
    const qsizetype start =
        std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/'))) + 1;
    QString base = path.mid(start).section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    static const QStringList kFixed{QStringLiteral("CON"),    QStringLiteral("PRN"),
                                    QStringLiteral("AUX"),    QStringLiteral("NUL"),
                                    QStringLiteral("CONIN$"), QStringLiteral("CONOUT$")};
    if (kFixed.contains(base))
        return true;
    return base.size() == 4 &&
           (base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT"))) &&
           (base[3].isDigit() || base[3] == QChar(0xB9) || base[3] == QChar(0xB2) ||
            base[3] == QChar(0xB3));
}

// Read at a time past the length the file gave.
constexpr qint64 kReadStep = qint64{64} * 1024;

bool isPlainFile(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

} // namespace

std::optional<FileHead> readRegularFile(const QString& path, qint64 maxBytes) {
    // Checked before the open, since opening a device can itself do something, and again on
    // the handle, so that nothing put in the file's place meanwhile is read.
    if (path.isEmpty() || path.contains(QChar(u'\0')) || namesADevice(path) ||
        !isPlainFile(GetFileAttributesW(wide(path))))
        return std::nullopt;
    const HANDLE handle = CreateFileW(wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION information{};
    LARGE_INTEGER size{};
    if (GetFileType(handle) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(handle, &information) ||
        !isPlainFile(information.dwFileAttributes) || !GetFileSizeEx(handle, &size)) {
        CloseHandle(handle);
        return std::nullopt;
    }
    // Sized by the file's length, and one byte beyond the limit tells whether the file goes on;
    // then on to its end, should it have grown since.
    FileHead head{QByteArray(std::min<qint64>(maxBytes, size.QuadPart) + 1, Qt::Uninitialized),
                  false};
    qint64 done = 0;
    bool failed = false;
    for (DWORD got = 0;; done += got) {
        if (done == head.bytes.size() && done <= maxBytes)
            head.bytes.resize(std::min(maxBytes + 1, done + kReadStep));
        if (done == head.bytes.size())
            break;
        // A read that failed is no end of the file.
        failed = !ReadFile(handle, head.bytes.data() + done,
                           static_cast<DWORD>(head.bytes.size() - done), &got, nullptr);
        if (failed || got == 0)
            break;
    }
    CloseHandle(handle);
    if (failed)
        return std::nullopt;
    head.bytes.truncate(std::min(done, maxBytes));
    head.whole = done <= maxBytes;
    return head;
}

bool isRegularFileOrMissing(const QString& path) {
    if (path.isEmpty() || path.contains(QChar(u'\0')) || namesADevice(path))
        return false;
    const DWORD attributes = GetFileAttributesW(wide(path));
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    return isPlainFile(attributes);
}

} // namespace Platform
