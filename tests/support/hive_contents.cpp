#include "HiveContents.h"

#include <algorithm>
#include <vector>

QList<StoredValue> storedValues(Hive::Store& store, const QString& path) {
    QList<StoredValue> values;
    Hive::Key key;
    if (store.openKey(Hive::Root::CurrentUser, path.toStdString(), key) != Hive::kSuccess)
        return values;
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    for (std::uint32_t i = 0; store.enumValue(key, i, name, type, data) == Hive::kSuccess; ++i)
        values.append({QString::fromStdString(name), type,
                       QByteArray(reinterpret_cast<const char*>(data.data()),
                                  static_cast<qsizetype>(data.size()))});
    store.closeKey(key);
    return values;
}

QList<StoredValue> clockValues(Hive::Store& store) {
    const QString settings = QStringLiteral("Software\\Brambleton\\Vindrel");
    Hive::Transaction snapshot(store, Hive::Access::Read);
    QList<StoredValue> all = storedValues(store, settings);
    for (StoredValue value : storedValues(store, settings + QStringLiteral("\\Alarms"))) {
        value.name.prepend(QStringLiteral("Alarms\\"));
        all << value;
    }
    std::sort(all.begin(), all.end(),
              [](const StoredValue& a, const StoredValue& b) { return a.name < b.name; });
    return all;
}

void storeRaw(Hive::Store& store, const QString& path, const QString& name, quint32 type,
              const QByteArray& data) {
    Hive::Key key;
    store.createKey(Hive::Root::CurrentUser, path.toStdString(), key);
    store.setValue(key, name.toStdString(), type,
                   reinterpret_cast<const std::uint8_t*>(data.constData()),
                   static_cast<std::uint32_t>(data.size()));
    store.closeKey(key);
}

StoredValue textValue(const QString& name, const QString& text) {
    return {name, Hive::kRegSz, text.toUtf8() + QByteArray(1, '\0')};
}

void storeExampleState(Hive::Store& store) {
    const QString settings = QStringLiteral("Software\\Brambleton\\Vindrel");
    const QString alarms = settings + QStringLiteral("\\Alarms");
    const std::pair<QString, const char*> values[] = {
        {settings, "X=1200"},        {settings, "Y=900"},          {settings, "HourSignal=0"},
        {settings, "UsedSkinPath="}, {settings, "AlarmEnabled=1"}, {settings, "AlwaysOnTop=0"},
        {settings, "AlarmCount=2"},  {alarms, "01.Name=Wake"},     {alarms, "01.Hour=7"},
        {alarms, "01.Mins=30"},      {alarms, "01.Day=0"},         {alarms, "01.Month=0"},
        {alarms, "02.Name=Meeting"}, {alarms, "02.Hour=14"},       {alarms, "02.Mins=5"},
        {alarms, "02.Day=1"},        {alarms, "02.Month=3"}};
    for (const auto& [key, assignment] : values) {
        const QList<QByteArray> parts = QByteArray(assignment).split('=');
        storeRaw(store, key, QString::fromLatin1(parts[0]), Hive::kRegSz,
                 parts[1] + QByteArray(1, '\0'));
    }
}
