#include "SettingsStore.h"

#include "PlatformLog.h"

#include <UserStore.h>

#include <QFile>
#include <QStandardPaths>

namespace Platform {

QString settingsStorePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Brambleton/hkcu.sqlite3");
}

std::unique_ptr<Hive::Store> openSettingsStore(const QString& hivePath) {
    std::vector<std::string> notes;
    std::unique_ptr<Hive::Store> store =
        Hive::openUserStore(QFile::encodeName(hivePath).toStdString(), notes);
    for (const std::string& note : notes)
        qCWarning(lcRegistry).noquote() << QString::fromStdString(note);
    return store;
}

} // namespace Platform
