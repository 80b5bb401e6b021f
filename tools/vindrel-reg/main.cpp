#include "RegCommand.h"

#include "hive/UserStore.h"
#include "platform/SettingsStore.h"

#include <QCoreApplication>
#include <QFile>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QTextStream in(stdin);
    QString error;
    const std::optional<RegTool::Command> command =
        RegTool::parseCommand(QCoreApplication::arguments().mid(1), error);
    if (!command) {
        err << "ERROR: " << error << "\nType \"vindrel-reg /?\" for usage.\n";
        return 1;
    }
    const QString path = Platform::settingsStorePath();
    Hive::StoreOpening opening = Hive::openUserStore(QFile::encodeName(path).toStdString());
    for (const std::string& note : opening.notes)
        err << "WARNING: " << QString::fromStdString(note) << '\n';
    // A store in memory would take changes only to lose them.
    if (!opening.persistent) {
        err << "ERROR: The settings store " << path << " cannot be used.\n";
        return 1;
    }
    return RegTool::runCommand(*command, *opening.store, {out, err, in}, path);
}
