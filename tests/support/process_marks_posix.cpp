#include "ProcessMarks.h"

#include "platform/Process.h"

#include <QStringList>

#include <sys/wait.h>
#include <unistd.h>

namespace ProcessMarks {
namespace {

// The mark of the parent process with the field `field` (from 0: boot, id, start) changed.
QString parentMarkChanged(int field) {
    QStringList parts = ofARunningProcess().split(QLatin1Char('/'));
    parts[field] += QLatin1Char('1');
    return parts.join(QLatin1Char('/'));
}

} // namespace

QString ofARunningProcess() {
    return Platform::processMark(getppid());
}

QString ofAnotherRun() {
    return parentMarkChanged(2);
}

QString ofAnotherBoot() {
    return parentMarkChanged(0);
}

QString ofAnEndedProcess() {
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    siginfo_t ended{};
    waitid(P_PID, static_cast<id_t>(child), &ended, WEXITED | WNOWAIT);
    return Platform::processMark(child);
}

QString bareIdOfARunningProcess() {
    return QString::number(getppid());
}

} // namespace ProcessMarks
