#include "Process.h"

#include <cerrno>
#include <csignal>

namespace Platform {

bool processRunning(qint64 id) {
    // Signal 0 only asks; a process of another user answers EPERM, and is running.
    if (id <= 0 || id != static_cast<pid_t>(id))
        return false;
    return ::kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
}

} // namespace Platform
