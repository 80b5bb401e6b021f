#include <DisplayServer.h>
#include <SettingsStore.h>
#include <frmVINDREL.h>

#include <QApplication>

int main(int argc, char* argv[]) {
    Platform::preferX11Display();
    Platform::preferImagesOverConnection();
    QApplication app(argc, argv);
    auto clock = Platform::makeSystemClock();
    auto sound = Platform::makeSoundPlayer();
    auto store = Platform::openSettingsStore();
    auto shell = Platform::makeShell();
    VD_Core::Core core(*clock, *sound, *store, *shell);
    frmVINDREL clockWindow(core);
    QObject::connect(&clockWindow, &frmVINDREL::programEnded, &app, [] { QApplication::exit(0); });
    clockWindow.show();
    return QApplication::exec();
}
