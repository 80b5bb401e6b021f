#include "platform/WorkingSet.h"

#include "platform/PlatformLog.h"

#include <QByteArray>
#include <QFile>
#include <QList>

#include <sys/mman.h>
#include <sys/stat.h>

namespace Platform {
namespace {

// The kernel's description of the mappings; a process with more than this is not trimmed.
constexpr qint64 kMaxMappingsTextBytes = qint64{16} * 1024 * 1024;

struct Mapping {
    quintptr start = 0;
    quintptr end = 0;
    bool readOnlyFile = false; // never writable, backed by a regular file
    bool privatePages = false; // pages of its own (copies on write, swapped), or locked
    qint64 residentKiB = 0;
};

// "7f..-7f.. r-xp 00000000 fe:00 1234   /usr/lib/libX.so"
bool readHeader(const QByteArray& line, Mapping& mapping) {
    const QList<QByteArray> fields = line.simplified().split(' ');
    if (fields.size() < 6 || fields[1].size() != 4)
        return false;
    const qsizetype dash = fields[0].indexOf('-');
    bool startOk = false;
    bool endOk = false;
    mapping = Mapping();
    mapping.start = fields[0].left(dash).toULongLong(&startOk, 16);
    mapping.end = fields[0].mid(dash + 1).toULongLong(&endOk, 16);
    if (dash < 0 || !startOk || !endOk || mapping.end <= mapping.start)
        return false;
    const QByteArray& perms = fields[1];
    const QByteArray path = fields.mid(5).join(' ');
    bool inodeOk = false;
    const qulonglong inode = fields[4].toULongLong(&inodeOk);
    struct stat status {};
    // The same file still at that path: a regular one, not a device, a deleted file or a
    // shared memory segment.
    mapping.readOnlyFile = perms[0] == 'r' && perms[1] == '-' && inodeOk && inode != 0 &&
                           path.startsWith('/') && ::stat(path.constData(), &status) == 0 &&
                           S_ISREG(status.st_mode) && status.st_ino == inode;
    return true;
}

// A "Name:   123 kB" line of the mapping's counts.
void readCount(const QByteArray& line, Mapping& mapping) {
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0)
        return;
    const QByteArray name = line.left(colon);
    const QByteArray value = line.mid(colon + 1).trimmed();
    const qint64 kib = value.left(value.indexOf(' ')).toLongLong();
    if (name == "Rss")
        mapping.residentKiB = kib;
    else if ((name == "Anonymous" || name == "Swap" || name == "Locked") && kib != 0)
        mapping.privatePages = true;
}

// Drops the mapping's pages when all of them can be read again from its file.
qint64 release(const Mapping& mapping) {
    if (!mapping.readOnlyFile || mapping.privatePages || mapping.residentKiB == 0)
        return 0;
    // The address comes from the kernel's own list of this process's mappings.
    void* const start = reinterpret_cast<void*>(mapping.start); // NOLINT(performance-no-int-to-ptr)
    if (madvise(start, mapping.end - mapping.start, MADV_DONTNEED) != 0)
        return 0;
    return mapping.residentKiB * 1024;
}

} // namespace

qint64 releaseUnusedFilePages() {
    QFile file(QStringLiteral("/proc/self/smaps"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    QByteArray text;
    while (text.size() <= kMaxMappingsTextBytes) {
        const QByteArray part = file.read(qint64{64} * 1024);
        if (part.isEmpty())
            break;
        text += part;
    }
    if (text.size() > kMaxMappingsTextBytes || !text.endsWith('\n'))
        return 0;
    qint64 released = 0;
    Mapping mapping;
    bool inMapping = false;
    for (const QByteArray& line : text.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        const qsizetype space = line.indexOf(' ');
        const bool header = space > 0 && (colon < 0 || colon > space);
        if (header) {
            if (inMapping)
                released += release(mapping);
            inMapping = readHeader(line, mapping);
        } else if (inMapping) {
            readCount(line, mapping);
        }
    }
    if (inMapping)
        released += release(mapping);
    qCInfo(lcPlatform) << "let go of" << released / 1024 << "KiB of file pages not in use";
    return released;
}

} // namespace Platform
