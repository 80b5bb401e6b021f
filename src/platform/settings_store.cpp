#include "platform/SettingsStore.h"

#include "platform/RegistryLog.h"

#include "hive/UserStore.h"

#include <QFile>
#include <QStandardPaths>

namespace Platform {

QString settingsStorePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Brambleton/hkcu.sqlite3");
}

std::unique_ptr<Hive::Store> openSettingsStore(const QString& hivePath) {
    Hive::StoreOpening opening = Hive::openUserStore(QFile::encodeName(hivePath).toStdString());
    for (const std::string& note : opening.notes)
        qCWarning(lcRegistry).noquote() << QString::fromStdString(note);
    return std::move(opening.store);
}

} // namespace Platform
