// Saving and loading the settings with a full alarm table, over a hive file on disk in
// write-ahead-log mode, as the clock does at Quit and after every dialog's "Ok".

#include "BenchServices.h"

#include "core/VD_Core.h"
#include "hive/SqliteHive.h"
#include <CorePeer.h>

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct SettingsOnDisk {
    QTemporaryDir folder;
    std::unique_ptr<Hive::SqliteHive> hive;
    TestServices fakes;
    std::unique_ptr<VD_Core::Core> core;

    SettingsOnDisk() {
        Hive::OpenError error;
        hive = Hive::SqliteHive::open(folder.filePath(QStringLiteral("hkcu.sqlite3")).toStdString(),
                                      error);
        core = std::make_unique<VD_Core::Core>(fakes.services(), *hive);
        core->EnsureSettings();
        core->SetAlarmsEnabled(true);
        VD_Core::CorePeer::settings(*core).UsedSkinPath = QStringLiteral("Night.vds");
        for (int n = 1; n <= VD_Core::Alarms::kCapacity; ++n)
            VD_Core::CorePeer::alarms(*core)[n] = {QStringLiteral("Alarm number %1").arg(n),
                                                   quint8(n % 24), quint8(n * 2), quint8(n % 8),
                                                   quint8(n % 13)};
        VD_Core::CorePeer::alarms(*core).AlarmCount = VD_Core::Alarms::kCapacity;
        core->SaveSettings();
    }
};

void BM_SaveSettingsWith20Alarms(benchmark::State& state) {
    SettingsOnDisk settings;
    for (auto _ : state)
        settings.core->SaveSettings();
}
BENCHMARK(BM_SaveSettingsWith20Alarms)->Unit(benchmark::kMicrosecond);

void BM_LoadSettingsWith20Alarms(benchmark::State& state) {
    SettingsOnDisk settings;
    for (auto _ : state) {
        settings.core->ClearAlarms();
        settings.core->LoadSettings();
    }
    if (settings.core->alarms().AlarmCount != VD_Core::Alarms::kCapacity)
        state.SkipWithError("the alarms did not load");
}
BENCHMARK(BM_LoadSettingsWith20Alarms)->Unit(benchmark::kMicrosecond);

void BM_RemoveAlarmFrom20(benchmark::State& state) {
    SettingsOnDisk settings;
    for (auto _ : state) {
        settings.core->RemoveAlarm(1);
        state.PauseTiming();
        VD_Core::CorePeer::alarms(*settings.core).AlarmCount = VD_Core::Alarms::kCapacity;
        VD_Core::CorePeer::alarms(*settings.core)[VD_Core::Alarms::kCapacity].Name =
            QStringLiteral("Refill");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RemoveAlarmFrom20)->Unit(benchmark::kMicrosecond);

// Listing every value of a key, as vindrel-reg query and export do: linear in their number.
void BM_ListValuesOfOneKey(benchmark::State& state) {
    SettingsOnDisk settings;
    Hive::Key key;
    settings.hive->createKey(Hive::Root::CurrentUser, "Software\\Many", key);
    const auto count = static_cast<std::uint32_t>(state.range(0));
    {
        Hive::Transaction scope(*settings.hive);
        for (std::uint32_t i = 0; i < count; ++i)
            settings.hive->setValue(key, "value " + std::to_string(i), Hive::kRegDword,
                                    reinterpret_cast<const std::uint8_t*>(&i), sizeof i);
        scope.commit();
    }
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    for (auto _ : state) {
        Hive::Transaction snapshot(*settings.hive, Hive::Access::Read);
        std::uint32_t listed = 0;
        while (settings.hive->enumValue(key, listed, name, type, data) == Hive::kSuccess)
            ++listed;
        if (listed != count)
            state.SkipWithError("not every value was listed");
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ListValuesOfOneKey)
    ->RangeMultiplier(4)
    ->Range(1000, 64000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

} // namespace
