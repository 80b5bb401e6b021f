#include "platform/Process.h"

#include <QStringList>

#include <optional>

#include <windows.h>

namespace Platform {
namespace {

// When the process was created, in 100 ns since 1601: with its id, unique across restarts.
std::optional<quint64> creationTime(HANDLE process) {
    FILETIME created;
    FILETIME exited;
    FILETIME kernel;
    FILETIME user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return std::nullopt;
    return (quint64(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

HANDLE openProcess(qint64 id) {
    if (id <= 0 || id > MAXDWORD)
        return nullptr;
    return OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE,
                       static_cast<DWORD>(id));
}

} // namespace

QString processMark(qint64 id) {
    const HANDLE process = openProcess(id);
    if (process == nullptr)
        return {};
    const std::optional<quint64> created = creationTime(process);
    CloseHandle(process);
    return created ? QStringLiteral("%1/%2").arg(id).arg(*created) : QString();
}

bool markedProcessRunning(const QString& mark) {
    const QStringList parts = mark.split(QLatin1Char('/'));
    bool number = false;
    const qint64 id = parts.size() == 2 ? parts[0].toLongLong(&number) : 0;
    const HANDLE process = number ? openProcess(id) : nullptr;
    if (process == nullptr)
        return false;
    const std::optional<quint64> created = creationTime(process);
    const bool running = created && QString::number(*created) == parts[1] &&
                         WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

} // namespace Platform
