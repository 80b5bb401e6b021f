// From the start of the tick that starts an alarm to the return of the sound player's play
// call, through the real player with the skin's sounds decoded ahead of play. It needs an audio
// output: bench/sound starts a sound server with a null output where there is none.

#include "BenchServices.h"

#include "core/VD_Core.h"
#include "hive/SqliteHive.h"
#include "platform/WorkingSet.h"
#include "windows/frmVINDREL.h"
#include <CorePeer.h>

#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

namespace {

const QString kProgramFolder = QStringLiteral(VINDREL_PROGRAM_FOLDER);
// Longer than any sample skin's alarm sound, with time to spare for the device to be let go.
constexpr int kSoundEndMs = 3000;

struct AlarmClock {
    TestServices fakes; // the sound aside
    std::unique_ptr<Platform::SoundPlayer> player = Platform::makeSoundPlayer();
    CountingPlayer sound{*player};
    std::unique_ptr<Hive::SqliteHive> hive = Hive::SqliteHive::inMemory();
    VD_Core::Core core{fakes.services(sound), *hive, kProgramFolder};
    frmVINDREL window{core};
    QDate day{2024, 3, 4};

    // Twenty alarms, the last due at 7.05 every day; the skin's sounds decoded ahead of play.
    AlarmClock() {
        window.Quartz->stop(); // the benchmark runs the ticks itself
        core.SetAlarmsEnabled(true);
        for (int n = 1; n <= VD_Core::Alarms::kCapacity; ++n)
            VD_Core::CorePeer::alarms(core)[n] = {QStringLiteral("Alarm %1").arg(n),
                                                  quint8(8 + n % 12), quint8(n * 2), 0, 0};
        VD_Core::CorePeer::alarms(core)[VD_Core::Alarms::kCapacity].Hour = 7;
        VD_Core::CorePeer::alarms(core)[VD_Core::Alarms::kCapacity].Mins = 5;
        VD_Core::CorePeer::alarms(core).AlarmCount = VD_Core::Alarms::kCapacity;
        VD_Core::CorePeer::settings(core).UsedSkinPath =
            core.skinFolder().path() + QStringLiteral("aurora.vds");
        core.LoadSkin();
    }

    // Sets the clock to the first tick of the alarm's minute on the next day.
    void nextAlarmTick() {
        fakes.clock.current = QDateTime(day, QTime(7, 6, 0, 1));
        window.Quartz_Timer(); // a tick of another minute lets the alarm sound again
        day = day.addDays(1);
        fakes.clock.current = QDateTime(day, QTime(7, 5, 0, 1));
    }
};

void runEventsFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void checkPlays(benchmark::State& state, const AlarmClock& clock) {
    if (clock.sound.plays != static_cast<int>(state.iterations()))
        state.SkipWithError("the alarm did not start its sound on every tick");
}

// Times the alarm ticks alone; before each, the event loop runs for pauseMs, and the clock lets
// go of its unused file pages when trimmed is set.
void timeAlarmTicks(benchmark::State& state, int pauseMs, bool trimmed = false) {
    AlarmClock clock;
    for (auto _ : state) {
        state.PauseTiming();
        runEventsFor(pauseMs);
        clock.nextAlarmTick();
        if (trimmed)
            Platform::releaseUnusedFilePages();
        state.ResumeTiming();
        clock.window.Quartz_Timer();
    }
    checkPlays(state, clock);
}

// The usual alarm: earlier sounds have ended and the player is idle.
void BM_AlarmTickToPlay(benchmark::State& state) {
    timeAlarmTicks(state, kSoundEndMs);
}
BENCHMARK(BM_AlarmTickToPlay)->Iterations(8)->UseRealTime()->Unit(benchmark::kMillisecond);

// The usual alarm just after the clock let go of the file pages it was not using, as it does
// after start-up: what the tick and the player need is mapped again from the file cache.
void BM_AlarmTickToPlayAfterLettingGo(benchmark::State& state) {
    timeAlarmTicks(state, kSoundEndMs, true);
}
BENCHMARK(BM_AlarmTickToPlayAfterLettingGo)
    ->Iterations(8)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// An alarm that replaces a sound still playing.
void BM_AlarmTickToPlayOverSound(benchmark::State& state) {
    timeAlarmTicks(state, 20);
}
BENCHMARK(BM_AlarmTickToPlayOverSound)
    ->Iterations(50)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The first sound of a run, before the audio system has been brought up (its own process).
void BM_FirstAlarmTickToPlay(benchmark::State& state) {
    timeAlarmTicks(state, 0);
}
BENCHMARK(BM_FirstAlarmTickToPlay)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
