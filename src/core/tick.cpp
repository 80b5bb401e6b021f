#include "Tick.h"

#include "ClockText.h"

#include <algorithm>

namespace VD_Core {
namespace {

void hourSignal(const Core& core, TickState& state, QStringList& sounds) {
    if (!core.ClockSettings.hourSignalOn())
        return;
    if (minutesField(state.TimeText) != QLatin1String("00")) {
        state.SignalPlayed = false;
        return;
    }
    if (!state.SignalPlayed) {
        sounds << core.SkinState.HourSoundPath;
        state.SignalPlayed = true;
    }
}

bool filtersMatch(const AlarmEntry& e, QDate today) {
    if (e.Day != 0 && e.Day != today.dayOfWeek())
        return false;
    return e.Month == 0 || e.Month == today.month();
}

void alarms(const Core& core, QDate today, TickState& state, QStringList& sounds) {
    if (!core.ClockSettings.alarmsOn())
        return;
    const QString clock = hourMinuteField(state.TimeText);
    const int count = std::min<int>(core.AlarmTable.AlarmCount, Alarms::kCapacity);
    for (int n = 1; n <= count; ++n) {
        const AlarmEntry& e = core.AlarmTable[n];
        if (!filtersMatch(e, today))
            continue;
        const auto slot = static_cast<size_t>(n);
        bool& played = state.AlarmPlayed[slot];
        const QString time = alarmTimeText(e.Hour, e.Mins);
        if (time != clock) {
            played = false;
        } else if (!played) {
            played = true;
            std::pair<QDate, QString> sounded{today, time};
            if (state.AlarmSounded[slot] != sounded) {
                sounds << core.SkinState.AlarmSoundPath;
                state.AlarmSounded[slot] = std::move(sounded);
            }
        }
    }
}

} // namespace

TickResult RunTick(const Core& core, const QDateTime& now, quint32 tickCount, TickState& state,
                   const QLocale& locale) {
    TickResult result;
    const QDate today = now.date();
    state.TimeText = timeText(now.time());
    result.display.time = state.TimeText;
    result.display.date = dateText(today, locale);
    result.display.day = dayText(today, locale);

    hourSignal(core, state, result.sounds);
    alarms(core, today, state, result.sounds);

    state.PowerOnSeconds = powerOnSeconds(tickCount);
    result.display.pass = passText(state.PowerOnSeconds);
    return result;
}

} // namespace VD_Core
