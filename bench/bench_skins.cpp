// Applying each sample skin to the clock window, as at start-up and on each choice in the skin
// list: reading the file, decoding its pictures and decoding its sounds ahead of play. And the
// Options dialog's refresh of its skin list over a Skins folder of 50 skins.

#include "BenchServices.h"

#include "core/VD_Core.h"
#include "hive/SqliteHive.h"
#include "windows/frmSETS.h"
#include "windows/frmVINDREL.h"
#include <CorePeer.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// The build folder, where the sample skins are copied beside the program.
const QString kProgramFolder = QStringLiteral(VINDREL_PROGRAM_FOLDER);

struct SkinnedClock {
    TestServices fakes; // the sound aside
    std::unique_ptr<Platform::SoundPlayer> sound = Platform::makeSoundPlayer();
    std::unique_ptr<Hive::SqliteHive> hive = Hive::SqliteHive::inMemory();
    VD_Core::Core core{fakes.services(*sound), *hive, kProgramFolder};
    frmVINDREL window{core};
};

void BM_LoadSkin(benchmark::State& state, const char* file) {
    SkinnedClock clock;
    VD_Core::Core& core = clock.core;
    const QString path = core.skinFolder().path() + QLatin1String(file);
    for (auto _ : state) {
        state.PauseTiming();
        VD_Core::CorePeer::settings(core).UsedSkinPath.clear();
        core.LoadSkin(); // the built-in look; the decoded sounds are dropped
        VD_Core::CorePeer::settings(core).UsedSkinPath = path;
        state.ResumeTiming();
        core.LoadSkin();
    }
    if (core.skin().AlarmSoundPath.isEmpty() ||
        clock.window.titlePicture().cacheKey() == core.skin().DefaultTitlePicture.cacheKey())
        state.SkipWithError("the skin was not applied");
}
BENCHMARK_CAPTURE(BM_LoadSkin, aurora, "aurora.vds")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadSkin, ember, "ember.vds")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadSkin, midnight_brass, "midnight-brass.vds")->Unit(benchmark::kMillisecond);

// A program folder whose Skins folder holds `count` skin files, made from the sample skins'
// text under other names.
void fillSkinsFolder(const QString& programFolder, int count) {
    const QStringList samples{QStringLiteral("aurora.vds"), QStringLiteral("ember.vds"),
                              QStringLiteral("midnight-brass.vds")};
    QDir(programFolder).mkdir(QStringLiteral("Skins"));
    for (int n = 0; n < count; ++n) {
        QFile::copy(kProgramFolder + QStringLiteral("/Skins/") + samples[n % samples.size()],
                    QStringLiteral("%1/Skins/skin-%2.vds")
                        .arg(programFolder)
                        .arg(n, 2, 10, QLatin1Char('0')));
    }
}

// The Options dialog's refresh of its skin list: the disk read and the list control rebuilt.
void BM_SkinListRefreshOf50(benchmark::State& state) {
    QTemporaryDir programFolder;
    fillSkinsFolder(programFolder.path(), 50);
    TestServices fakes;
    const std::unique_ptr<Hive::SqliteHive> hive = Hive::SqliteHive::inMemory();
    VD_Core::Core core{fakes.services(), *hive, programFolder.path()};
    frmVINDREL window{core};
    frmSETS options{core, &window};
    for (auto _ : state)
        options.SkinListRefresh();
    if (options.lstSKIN->count() != 51)
        state.SkipWithError("the skins were not all listed");
}
BENCHMARK(BM_SkinListRefreshOf50)->Unit(benchmark::kMicrosecond);

} // namespace
