// Renders the program's windows offscreen at a fixed moment for the README: the clock with its
// built-in look and with each skin of a program folder's Skins folder (clocks), or the Options
// dialog, the alarm editor and the About box (dialogs). Scale them with QT_SCALE_FACTOR.

#include "hive/SqliteHive.h"
#include "windows/btABOUT.h"
#include "windows/frmALM.h"
#include "windows/frmSETS.h"
#include "windows/frmVINDREL.h"
#include <CorePeer.h>
#include <TestServices.h>

#include <QApplication>
#include <QDir>

#include <cstdio>

namespace {

bool save(QWidget& window, const QDir& out, const QString& name) {
    const QString path = out.filePath(name + QStringLiteral(".png"));
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// The clock with the skin in `skinFile` ("" for the built-in look), after its first tick.
bool shootClock(VD_Core::Core& core, const QString& skinFile, const QDir& out) {
    // The clock reads its skin from the settings when it loads.
    VD_Core::CorePeer::settings(core).UsedSkinPath =
        skinFile.isEmpty() ? QString() : core.skinFolder().path() + skinFile;
    core.SaveSettings();
    frmVINDREL clock(core);
    clock.Quartz->stop();
    clock.Quartz_Timer();
    const QString name = skinFile.isEmpty()
                             ? QStringLiteral("clock")
                             : QStringLiteral("skin-") + QFileInfo(skinFile).completeBaseName();
    return save(clock, out, name);
}

bool shootClocks(VD_Core::Core& core, const QDir& out) {
    bool ok = shootClock(core, QString(), out);
    for (const QString& skin :
         QDir(core.skinFolder().path()).entryList({QStringLiteral("*.vds")}, QDir::Files))
        ok &= shootClock(core, skin, out);
    return ok;
}

bool shootDialogs(VD_Core::Core& core, const QDir& out) {
    VD_Core::CorePeer::alarms(core).append({QStringLiteral("Wake"), 7, 30, 0, 0});
    VD_Core::CorePeer::alarms(core).append({QStringLiteral("Meeting"), 14, 5, 1, 3});
    VD_Core::CorePeer::alarms(core).append({QStringLiteral("Tea"), 16, 0, 0, 0});
    core.SetHourSignal(true);
    VD_Core::CorePeer::settings(core).UsedSkinPath =
        core.skinFolder().path() + QStringLiteral("aurora.vds");
    core.SaveSettings();
    frmVINDREL clock(core);
    clock.Quartz->stop();

    frmSETS options(core);
    bool ok = save(options, out, QStringLiteral("options"));

    frmALM editor(core, 2); // "Meeting"
    ok &= save(editor, out, QStringLiteral("alarm-editor"));

    btABOUT about(core);
    about.lblINFO_MouseMove(1, 0, 0, 0, 0);
    ok &= save(about, out, QStringLiteral("about"));
    return ok;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString what = argc == 4 ? QString::fromLocal8Bit(argv[3]) : QString();
    if (what != QLatin1String("clocks") && what != QLatin1String("dialogs")) {
        std::fprintf(stderr,
                     "usage: vindrel-screenshots PROGRAM-FOLDER OUTPUT-FOLDER clocks|dialogs\n");
        return 2;
    }
    // Monday, ten past ten, three and a half hours after power-on, one hour east of UTC.
    TestServices fakes;
    fakes.clock.current = {QDate(2024, 3, 4), QTime(10, 9, 36)};
    fakes.clock.ticks = (3 * 60 + 27) * 60 * 1000;
    fakes.clock.bias = -60;
    const auto hive = Hive::SqliteHive::inMemory();
    VD_Core::Core core(fakes.services(), *hive, QString::fromLocal8Bit(argv[1]));
    core.EnsureSettings();
    core.SetAlarmsEnabled(true);
    const QDir out(QString::fromLocal8Bit(argv[2]));
    const bool ok =
        what == QLatin1String("clocks") ? shootClocks(core, out) : shootDialogs(core, out);
    return ok ? 0 : 1;
}
