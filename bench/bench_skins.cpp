// Applying each sample skin to the clock window, as at start-up and on each choice in the skin
// list: reading the file, decoding its pictures and decoding its sounds ahead of play. And the
// part of the skin list's refresh that reads the disk, over a Skins folder of 50 skins.

#include "BenchServices.h"

#include <SkinText.h>
#include <SqliteHive.h>
#include <VD_Core.h>
#include <frmVINDREL.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// The build folder, where the sample skins are copied beside the program.
const QString kProgramFolder = QStringLiteral(VINDREL_PROGRAM_FOLDER);

struct SkinnedClock {
    StillClock clock;
    std::unique_ptr<Platform::SoundPlayer> sound = Platform::makeSoundPlayer();
    std::unique_ptr<Hive::SqliteHive> hive = Hive::SqliteHive::inMemory();
    VD_Core::Core core{clock, *sound, *hive, kProgramFolder};
    frmVINDREL window{core};
};

void BM_LoadSkin(benchmark::State& state, const char* file) {
    SkinnedClock clock;
    VD_Core::Core& core = clock.core;
    const QString path = core.skinFolder().path() + QLatin1String(file);
    for (auto _ : state) {
        state.PauseTiming();
        core.ClockSettings.UsedSkinPath.clear();
        core.LoadSkin(); // the built-in look; the decoded sounds are dropped
        core.ClockSettings.UsedSkinPath = path;
        state.ResumeTiming();
        core.LoadSkin();
    }
    if (core.SkinState.AlarmSoundPath.isEmpty() ||
        clock.window.titlePicture().cacheKey() == core.SkinState.DefaultTitlePicture.cacheKey())
        state.SkipWithError("the skin was not applied");
}
BENCHMARK_CAPTURE(BM_LoadSkin, aurora, "aurora.vds")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadSkin, ember, "ember.vds")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadSkin, midnight_brass, "midnight-brass.vds")->Unit(benchmark::kMillisecond);

// A Skins folder of `count` skin files, made from the sample skins' text under other names.
void fillSkinsFolder(const QString& folder, int count) {
    const QStringList samples{QStringLiteral("aurora.vds"), QStringLiteral("ember.vds"),
                              QStringLiteral("midnight-brass.vds")};
    for (int n = 0; n < count; ++n) {
        QFile::copy(kProgramFolder + QStringLiteral("/Skins/") + samples[n % samples.size()],
                    QStringLiteral("%1/skin-%2.vds").arg(folder).arg(n, 2, 10, QLatin1Char('0')));
    }
}

void BM_ReadSkinListOf50(benchmark::State& state) {
    QTemporaryDir folder;
    fillSkinsFolder(folder.path(), 50);
    QStringList names;
    QStringList authors;
    for (auto _ : state) {
        names.clear();
        authors.clear();
        const QDir dir(folder.path());
        for (const QString& file : dir.entryList({QStringLiteral("*.vds")}, QDir::Files)) {
            const auto skin = VD_Core::SkinText::read(dir.filePath(file), 3);
            if (!skin || !skin->isSkin())
                continue;
            if (const auto name = skin->value(VD_Core::SkinKey::Name)) {
                names << *name;
                authors << skin->value(VD_Core::SkinKey::Author).value_or(QString());
            }
        }
    }
    if (names.size() != 50)
        state.SkipWithError("the skins were not all listed");
}
BENCHMARK(BM_ReadSkinListOf50)->Unit(benchmark::kMicrosecond);

} // namespace
