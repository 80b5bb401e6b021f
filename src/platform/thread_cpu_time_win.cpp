#include "platform/ThreadCpuTime.h"

#include <windows.h>

namespace Platform {

namespace {

// FILETIME counts in units of 100 nanoseconds.
std::chrono::microseconds microseconds(const FILETIME& time) {
    const ULONGLONG ticks = (ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return std::chrono::microseconds(ticks / 10);
}

} // namespace

std::chrono::microseconds threadCpuTime() {
    FILETIME created{};
    FILETIME ended{};
    FILETIME kernel{};
    FILETIME user{};
    if (!GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user))
        return {};
    return microseconds(kernel) + microseconds(user);
}

} // namespace Platform
