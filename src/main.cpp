#include "platform/DisplayServer.h"
#include "platform/Services.h"
#include "platform/SettingsStore.h"
#include "platform/UserDataFolder.h"
#include "windows/frmVINDREL.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    Platform::StartupEnvironment forQtAlone;
    Platform::preferX11Display(forQtAlone);
    Platform::preferImagesOverConnection(forQtAlone);
    Platform::preferQtEventLoop(forQtAlone);
    // The clock takes no arguments: Qt's own (-reverse, -qwindowgeometry...) must not reach it.
    char fallbackName[] = "vindrel";
    int qtArgc = 1;
    char* qtArgv[] = {argc > 0 && argv[0] != nullptr ? argv[0] : fallbackName, nullptr};
    QApplication app(qtArgc, qtArgv);
    forQtAlone.restore();
    auto clock = Platform::makeSystemClock();
    auto cpu = Platform::makeCpuClock();
    auto sound = Platform::makeSoundPlayer();
    auto shell = Platform::makeShell();
    auto fileSystem = Platform::makeFileSystem();
    auto processes = Platform::makeProcesses();
    auto desktop = Platform::makeDesktop();
    auto store = Platform::openSettingsStore();
    VD_Core::Core core({*clock, *cpu, *sound, *shell, *fileSystem, *processes, *desktop}, *store,
                       QString(), Platform::userDataFolder());
    frmVINDREL clockWindow(core);
    QObject::connect(&clockWindow, &frmVINDREL::programEnded, &app, [] { QApplication::exit(0); });
    clockWindow.show();
    return QApplication::exec();
}
