#include "Process.h"

#include <windows.h>

namespace Platform {

bool processRunning(qint64 id) {
    if (id <= 0 || id > MAXDWORD)
        return false;
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(id));
    if (process == nullptr)
        return GetLastError() == ERROR_ACCESS_DENIED;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

} // namespace Platform
