#include "platform/WorkingSet.h"

#include <windows.h>

namespace Platform {

qint64 releaseUnusedFilePages() {
    // Windows trims the working set itself, to what the process touches from then on.
    SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
    return 0;
}

} // namespace Platform
