// One clock tick's decisions (texts, hour signal, alarm matching) with 20 alarms enabled.

#include "BenchServices.h"

#include "core/Tick.h"
#include "hive/SqliteHive.h"
#include <CorePeer.h>

#include <benchmark/benchmark.h>

namespace {

void BM_TickWith20Alarms(benchmark::State& state) {
    TestServices fakes;
    const auto hive = Hive::SqliteHive::inMemory();
    VD_Core::Core core(fakes.services(), *hive);
    core.SetAlarmsEnabled(true);
    core.SetHourSignal(true);
    for (int n = 1; n <= VD_Core::Alarms::kCapacity; ++n)
        VD_Core::CorePeer::alarms(core)[n] = {QStringLiteral("Alarm %1").arg(n), quint8(n % 24),
                                              quint8(n * 2), quint8(n % 8), 0};
    VD_Core::CorePeer::alarms(core).AlarmCount = VD_Core::Alarms::kCapacity;
    VD_Core::TickState tick;
    const QLocale locale(QLocale::English, QLocale::UnitedKingdom);
    QDateTime now(QDate(2024, 3, 4), QTime(9, 0, 0));
    quint32 ticks = 3600000;
    for (auto _ : state) {
        now = now.addMSecs(500);
        ticks += 500;
        benchmark::DoNotOptimize(VD_Core::RunTick(core, now, ticks, tick, locale));
    }
}
BENCHMARK(BM_TickWith20Alarms);

} // namespace
