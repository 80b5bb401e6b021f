#include "platform/RegularFile.h"

#include "platform/FileName.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace Platform {
namespace {

// Read at a time past the length the file gave.
constexpr qint64 kReadStep = qint64{64} * 1024;

} // namespace

std::optional<FileHead> readRegularFile(const QString& path, qint64 maxBytes) {
    const QByteArray name = fileNameToSystem(path);
    if (name.isEmpty() || name.contains('\0'))
        return std::nullopt;
    // Checked before the open, since opening a device or a FIFO can itself do something, and
    // again on the descriptor, so that nothing put in the file's place meanwhile is read.
    // O_NONBLOCK keeps the open from waiting for the writer of a FIFO even then.
    struct stat before {};
    if (::stat(name.constData(), &before) != 0 || !S_ISREG(before.st_mode))
        return std::nullopt;
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_dev != before.st_dev ||
        status.st_ino != before.st_ino) {
        ::close(fd);
        return std::nullopt;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    // Sized by the file's length, and one byte beyond the limit tells whether the file goes on;
    // then on to its end, should it have grown since (or say 0, as the kernel's own files do).
    FileHead head{file.read(std::min<qint64>(maxBytes, status.st_size) + 1), false};
    while (head.bytes.size() <= maxBytes) {
        const QByteArray more =
            file.read(std::min<qint64>(kReadStep, maxBytes + 1 - head.bytes.size()));
        if (more.isEmpty())
            break;
        head.bytes += more;
    }
    // A read that failed is no end of the file.
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    head.whole = head.bytes.size() <= maxBytes;
    if (!head.whole)
        head.bytes.truncate(maxBytes);
    return head;
}

bool isRegularFileOrMissing(const QString& path) {
    const QByteArray name = fileNameToSystem(path);
    if (name.isEmpty() || name.contains('\0'))
        return false;
    struct stat status {};
    if (::stat(name.constData(), &status) == 0)
        return S_ISREG(status.st_mode);
    return errno == ENOENT;
}

} // namespace Platform
