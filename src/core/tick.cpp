#include "core/Tick.h"

#include "core/ClockText.h"

#include <algorithm>
#include <cmath>

namespace VD_Core {
namespace {

void hourSignal(const Core& core, TickState& state, QStringList& sounds) {
    if (!core.settings().hourSignalOn())
        return;
    if (minutesField(state.TimeText) != QLatin1String("00")) {
        state.SignalPlayed = false;
        return;
    }
    if (!state.SignalPlayed) {
        sounds << core.skin().HourSoundPath;
        state.SignalPlayed = true;
    }
}

bool filtersMatch(const AlarmEntry& e, QDate today) {
    if (e.Day != 0 && e.Day != today.dayOfWeek())
        return false;
    return e.Month == 0 || e.Month == today.month();
}

// Whether the alarm's "h.mm" text equals the clock's. The hours carry no leading zero and the
// minutes exactly two digits on both sides, so equal texts are equal numbers and the other way
// round; comparing the numbers spares building twenty texts on every tick.
bool timeMatches(const AlarmEntry& e, QTime clock) {
    return e.Hour == clock.hour() && e.Mins == clock.minute();
}

void alarms(const Core& core, const QDateTime& now, TickState& state, QStringList& sounds) {
    if (!core.settings().alarmsOn())
        return;
    const QDate today = now.date();
    const QTime clock = now.time();
    const int count = std::min<int>(core.alarms().AlarmCount, Alarms::kCapacity);
    for (int n = 1; n <= count; ++n) {
        const AlarmEntry& e = core.alarms()[n];
        if (!filtersMatch(e, today))
            continue;
        const auto slot = static_cast<size_t>(n);
        bool& played = state.AlarmPlayed[slot];
        if (!timeMatches(e, clock)) {
            played = false;
        } else if (!played) {
            played = true;
            std::pair<QDate, QString> sounded{today, alarmTimeText(e.Hour, e.Mins)};
            if (state.AlarmSounded[slot] != sounded) {
                sounds << core.skin().AlarmSoundPath;
                state.AlarmSounded[slot] = std::move(sounded);
            }
        }
    }
}

void dateTexts(QDate today, const QLocale& locale, TickState& state) {
    if (today == state.TextsDate && locale == state.TextsLocale)
        return;
    state.TextsDate = today;
    state.TextsLocale = locale;
    state.DateText = dateText(today, locale);
    state.DayText = dayText(today, locale);
}

} // namespace

TickResult RunTick(const Core& core, const QDateTime& now, quint32 tickCount, TickState& state,
                   const QLocale& locale) {
    TickResult result;
    const QDate today = now.date();
    const QTime time = now.time();
    if (time.second() != state.TimeTextOf.second() || time.minute() != state.TimeTextOf.minute() ||
        time.hour() != state.TimeTextOf.hour() || state.TimeText.isEmpty()) {
        state.TimeText = timeText(time);
        state.TimeTextOf = time;
    }
    result.display.time = state.TimeText;
    dateTexts(today, locale, state);
    result.display.date = state.DateText;
    result.display.day = state.DayText;

    hourSignal(core, state, result.sounds);
    alarms(core, now, state, result.sounds);

    state.PowerOnSeconds = powerOnSeconds(tickCount);
    // The text shows whole minutes alone (hours are whole minutes over 60).
    const auto passMinutes = static_cast<long>(std::floor(state.PowerOnSeconds / 60.0));
    if (passMinutes != state.PassTextMinutes) {
        state.PassText = passText(state.PowerOnSeconds);
        state.PassTextMinutes = passMinutes;
    }
    result.display.pass = state.PassText;
    return result;
}

std::optional<int> quartzRestart(int intoHalfSecond, const QuartzTimer& quartz) {
    // The latest a tick may be due after its half second and still count as in step.
    constexpr int kLatestInStepMs = 4;
    // A repeating precise timer stays where it was started, so it is started again only when
    // its ticks are due out of step (at first, after the clock was set or the machine slept).
    // Where it is due, not when this tick ran: a tick that ran late does not move the next one.
    if (quartz.running && quartz.interval == kQuartzIntervalMs) {
        const int dueInto = (intoHalfSecond + quartz.remainingMs) % kQuartzIntervalMs;
        if (dueInto <= kLatestInStepMs)
            return std::nullopt;
    } else if (quartz.running && intoHalfSecond <= kLatestInStepMs) {
        return kQuartzIntervalMs; // the shorter first interval has brought it in step
    }
    // Up to the half second itself: a timer never fires early, so the new second is there.
    return kQuartzIntervalMs - intoHalfSecond;
}

} // namespace VD_Core
