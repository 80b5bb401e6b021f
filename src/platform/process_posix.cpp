#include "platform/Process.h"

#include <QFile>
#include <QStringList>

#include <optional>

namespace Platform {
namespace {

// The kernel's id of this boot: process ids and start times count from it.
QString bootId() {
    QFile file(QStringLiteral("/proc/sys/kernel/random/boot_id"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readLine(64)).trimmed();
}

struct ProcessStat {
    char state = 0;
    QByteArray startTime; // clock ticks after the boot
};

// The process's state and start time from /proc/ID/stat, whose second field, the command's
// name, may itself hold spaces and parentheses.
std::optional<ProcessStat> statOf(qint64 id) {
    if (id <= 0)
        return std::nullopt;
    QFile file(QStringLiteral("/proc/%1/stat").arg(id));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray line = file.read(4096);
    const qsizetype nameEnd = line.lastIndexOf(')');
    if (nameEnd < 0)
        return std::nullopt;
    // The state is the third field and the start time the twenty-second.
    const QList<QByteArray> fields = line.mid(nameEnd + 1).simplified().split(' ');
    constexpr qsizetype kStartTime = 22 - 3;
    if (fields.size() <= kStartTime || fields[0].size() != 1)
        return std::nullopt;
    return ProcessStat{fields[0][0], fields[kStartTime]};
}

} // namespace

QString processMark(qint64 id) {
    const QString boot = bootId();
    const std::optional<ProcessStat> stat = statOf(id);
    if (boot.isEmpty() || !stat)
        return {};
    return QStringLiteral("%1/%2/%3").arg(boot).arg(id).arg(QString::fromLatin1(stat->startTime));
}

bool markedProcessRunning(const QString& mark) {
    const QStringList parts = mark.split(QLatin1Char('/'));
    bool number = false;
    const qint64 id = parts.size() == 3 ? parts[1].toLongLong(&number) : 0;
    if (!number || parts[0] != bootId())
        return false;
    const std::optional<ProcessStat> stat = statOf(id);
    // Z: ended and not yet reaped; X: being taken away.
    return stat && stat->state != 'Z' && stat->state != 'X' &&
           QString::fromLatin1(stat->startTime) == parts[2];
}

} // namespace Platform
