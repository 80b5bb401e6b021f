#include "core/CoreState.h"

namespace VD_Core {

AlarmEntry& Alarms::operator[](int n) {
    Q_ASSERT(n >= 1 && n <= kCapacity);
    return entries_.at(static_cast<size_t>(n - 1));
}

const AlarmEntry& Alarms::operator[](int n) const {
    Q_ASSERT(n >= 1 && n <= kCapacity);
    return entries_.at(static_cast<size_t>(n - 1));
}

int Alarms::append(const AlarmEntry& entry) {
    if (full())
        return 0;
    const int n = ++AlarmCount;
    (*this)[n] = entry;
    return n;
}

} // namespace VD_Core
