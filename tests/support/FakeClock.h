#pragma once

#include "platform/SystemClock.h"

// A clock the test sets by hand.
class FakeClock final : public Platform::SystemClock {
public:
    QDateTime current{QDate(2024, 3, 4), QTime(9, 5, 30)};
    quint32 ticks = 0;
    int bias = 0;

    QDateTime now() const override { return current; }
    qint64 epochMilliseconds() const override { return current.toMSecsSinceEpoch(); }
    quint32 tickCount() const override { return ticks; }
    int standardBiasMinutes() const override { return bias; }
};
