#pragma once

#include "core/VD_Core.h"

#include <QDateTime>
#include <QLocale>
#include <QStringList>

#include <array>
#include <optional>
#include <utility>

namespace VD_Core {

// What the clock remembers from one tick to the next.
struct TickState {
    QString TimeText;          // "h.mm.ss" of the last tick
    bool SignalPlayed = false; // the hour signal has started during the current minute 00
    // Flag n belongs to entry number n: its sound has started during its matching minute.
    std::array<bool, Alarms::kCapacity + 1> AlarmPlayed{};
    // When entry n last sounded: the local date and the alarm's "h.mm" time. A clock set back
    // (by hand, or when daylight saving ends and an hour repeats) never sounds it twice for the
    // same date and time.
    std::array<std::pair<QDate, QString>, Alarms::kCapacity + 1> AlarmSounded{};
    float PowerOnSeconds = 0;
    // The texts of the time and the power-on time change once a second and once a minute: a
    // tick on the half second shows what the tick before showed, and makes neither again.
    QTime TimeTextOf;
    long PassTextMinutes = -1;
    QString PassText;
    // The date texts change once a day: made again only for another date or language.
    QDate TextsDate;
    QLocale TextsLocale;
    QString DateText;
    QString DayText;
};

// The label texts one tick shows.
struct TickDisplay {
    QString time;
    QString date; // the time label's tooltip
    QString day;
    QString pass;
};

struct TickResult {
    TickDisplay display;
    QStringList sounds; // paths to start, in order; each replaces the one before
};

// One tick at the instant `now`: the texts to show and the sounds to start, updating the
// tick state (time text, hour-signal and alarm flags, power-on seconds).
TickResult RunTick(const Core& core, const QDateTime& now, quint32 tickCount, TickState& state,
                   const QLocale& locale);

// The tick timer as a tick finds it: running, its interval and the milliseconds to its next tick.
struct QuartzTimer {
    bool running = false;
    int interval = 0;
    int remainingMs = 0;
};

inline constexpr int kQuartzIntervalMs = 500;

// What to start the tick timer with after a tick ran intoHalfSecond milliseconds after a whole or
// half second of the wall clock, so that the ticks come just after those: nothing while it is
// due in step, or the interval up to the next half second (a shorter first one) when it is not.
std::optional<int> quartzRestart(int intoHalfSecond, const QuartzTimer& quartz);

} // namespace VD_Core
