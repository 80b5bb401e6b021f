#include "RegularFile.h"

#include <windows.h>

#include <algorithm>

namespace Platform {

std::optional<FileHead> readRegularFile(const QString& path, qint64 maxBytes) {
    const HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    // Device names such as CON or COM1 open in every folder; only files on a disk are read.
    LARGE_INTEGER size{};
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileSizeEx(handle, &size)) {
        CloseHandle(handle);
        return std::nullopt;
    }
    // One byte beyond the limit tells whether the file goes on.
    const qint64 wanted = std::min<qint64>(maxBytes, size.QuadPart) + 1;
    FileHead head{QByteArray(wanted, Qt::Uninitialized), false};
    qint64 done = 0;
    DWORD got = 0;
    while (done < wanted &&
           ReadFile(handle, head.bytes.data() + done, static_cast<DWORD>(wanted - done), &got,
                    nullptr) &&
           got > 0)
        done += got;
    CloseHandle(handle);
    head.bytes.truncate(std::min(done, maxBytes));
    head.whole = done <= maxBytes;
    return head;
}

} // namespace Platform
