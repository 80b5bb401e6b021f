// Renders the clock window offscreen with each skin of a program folder's Skins folder, at a
// fixed moment with alarms on, and writes one picture per skin: skin-NAME.png for NAME.vds.

#include <SqliteHive.h>
#include <frmVINDREL.h>

#include <QApplication>
#include <QDir>

#include <cstdio>

namespace {

// Monday, ten past ten, three and a half hours after power-on, one hour east of UTC.
class ShowcaseClock final : public Platform::SystemClock {
public:
    QDateTime now() const override { return {QDate(2024, 3, 4), QTime(10, 9, 36)}; }
    quint32 tickCount() const override { return (3 * 60 + 27) * 60 * 1000; }
    int standardBiasMinutes() const override { return -60; }
};

class Silence final : public Platform::SoundPlayer {
public:
    void play(const QString&) override {}
    void preload(const QStringList&) override {}
};

class NoShell final : public Platform::Shell {
public:
    void open(const QString&) override {}
};

bool shoot(VD_Core::Core& core, const QString& skinFile, const QDir& out) {
    // The clock reads its skin from the settings when it loads.
    core.ClockSettings.UsedSkinPath = core.skinFolder().path() + skinFile;
    core.SaveSettings();
    frmVINDREL clock(core);
    clock.Quartz->stop();
    clock.Quartz_Timer();
    const QString path =
        out.filePath(QStringLiteral("skin-%1.png").arg(QFileInfo(skinFile).completeBaseName()));
    if (!clock.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: vindrel-skin-shots PROGRAM-FOLDER OUTPUT-FOLDER\n");
        return 2;
    }
    ShowcaseClock clock;
    Silence sound;
    NoShell shell;
    const auto hive = Hive::SqliteHive::inMemory();
    VD_Core::Core core(clock, sound, *hive, shell, QString::fromLocal8Bit(argv[1]));
    core.EnsureSettings();
    core.ClockSettings.AlarmEnabled = 1;
    const QDir out(QString::fromLocal8Bit(argv[2]));
    bool ok = true;
    for (const QString& skin :
         QDir(core.skinFolder().path()).entryList({QStringLiteral("*.vds")}, QDir::Files))
        ok &= shoot(core, skin, out);
    return ok ? 0 : 1;
}
