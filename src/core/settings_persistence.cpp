// Moving the settings, the window position and the alarms between memory and the registry.

#include "core/VD_Core.h"

#include "core/StoredSettings.h"
#include "core/ValueConversions.h"

#include "platform/RegistryLog.h"

#include <QList>

#include <algorithm>
#include <cmath>

namespace VD_Core {

namespace {

constexpr Hive::Root kRoot = kSettingsRoot;
const char* const kAlarmFields[] = {".Name", ".Hour", ".Mins", ".Day", ".Month"};

// The alarm's number with at least two digits, then the field: "01.Name", "20.Month".
QString alarmValueName(int n, const char* field) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')) + QLatin1String(field);
}

// Reads one key's values. A value that cannot be converted is logged and loads as 0: one
// damaged value must not stop the rest loading, or the next save would lose them.
class StoredValues {
public:
    StoredValues(const EasyReg& registry, const QString& key) : registry_(registry), key_(key) {}

    QString text(const QString& name) const { return read(name).toText(); }
    float single(const QString& name) const { return converted(name, toSingle, "a number"); }
    quint8 byte(const QString& name) const {
        return converted(name, toByte, "a number from 0 to 255");
    }
    quint8 leadingByte(const QString& name) const {
        return converted(name, toLeadingByte, "a number from 0 to 255");
    }

private:
    RegValue read(const QString& name) const { return registry_.GetValue(kRoot, key_, name); }

    template <typename Number>
    Number converted(const QString& name, std::optional<Number> (*convert)(const RegValue&),
                     const char* expected) const {
        const RegValue value = read(name);
        const std::optional<Number> result = convert(value);
        if (!result) {
            constexpr int kShown = 40;
            qCWarning(lcRegistry).noquote().nospace()
                << key_ << "\\" << name << " holds " << value.toText().left(kShown) << ", not "
                << expected << "; it loads as 0";
        }
        return result.value_or(0);
    }

    const EasyReg& registry_;
    QString key_;
};

void saveSetting(const EasyReg& registry, const char* name, const RegValue& value) {
    registry.SaveValue(kRoot, kSettingsKey, QLatin1String(name), value, Hive::kRegSz);
}

void saveAlarm(const EasyReg& registry, int n, const AlarmEntry& entry) {
    const RegValue fields[] = {entry.Name, entry.Hour, entry.Mins, entry.Day, entry.Month};
    for (int i = 0; i < 5; ++i)
        registry.SaveValue(kRoot, kAlarmsKey, alarmValueName(n, kAlarmFields[i]), fields[i],
                           Hive::kRegSz);
}

qint32 wholeTwips(double twips) {
    return static_cast<qint32>(std::lround(twips));
}

} // namespace

void Core::EnsureSettings() {
    // The check belongs to the transaction: a copy starting at the same moment could otherwise
    // save its settings in between, and have them replaced by the defaults.
    Hive::Transaction scope(store_);
    if (!registry_.GetValue(kRoot, kSettingsKey, QStringLiteral("X")).isEmptyText())
        return;
    registry_.CreateNewKey(kAlarmsKey, kRoot);
    for (const StoredSetting& setting : storedSettings()) {
        if (setting.firstRun != nullptr)
            saveSetting(registry_, setting.name, QString::fromLatin1(setting.firstRun));
    }
    commitOrLog(scope, "The first-run settings");
}

void Core::LoadSettings() {
    // One snapshot: a save by another copy meanwhile is seen whole or not at all.
    Hive::Transaction snapshot(store_, Hive::Access::Read);
    const StoredValues stored(registry_, kSettingsKey);
    Position position;
    for (const StoredSetting& setting : storedSettings()) {
        const QString name = QLatin1String(setting.name);
        switch (setting.kind) {
        case SettingKind::Left:
            position.left = stored.single(name);
            break;
        case SettingKind::Top:
            position.top = stored.single(name);
            break;
        case SettingKind::Byte:
            ClockSettings.*setting.byte = stored.byte(name);
            break;
        case SettingKind::Text:
            ClockSettings.*setting.text = stored.text(name);
            break;
        case SettingKind::AlarmCount:
            loadAlarms(stored.byte(name));
            break;
        }
    }
    placeWindow(position);
}

void Core::loadAlarms(int stored) {
    if (stored > Alarms::kCapacity)
        qCWarning(lcRegistry) << "AlarmCount is" << stored << "but the clock holds"
                              << Alarms::kCapacity << "alarms; the first ones are loaded";
    const int count = std::min(stored, Alarms::kCapacity);
    AlarmTable.AlarmCount = 0;
    for (int n = 1; n <= count; ++n) {
        loadAlarm(n);
        AlarmTable.AlarmCount = static_cast<quint8>(n);
    }
}

void Core::reloadAlarms() {
    Hive::Transaction snapshot(store_, Hive::Access::Read);
    const StoredValues stored(registry_, kSettingsKey);
    loadAlarms(stored.byte(QLatin1String(storedSettingOf(SettingKind::AlarmCount).name)));
}

void Core::loadAlarm(int n) {
    const StoredValues alarms(registry_, kAlarmsKey);
    AlarmEntry& entry = AlarmTable[n];
    entry.Name = alarms.text(alarmValueName(n, ".Name"));
    entry.Hour = alarms.leadingByte(alarmValueName(n, ".Hour"));
    entry.Mins = alarms.leadingByte(alarmValueName(n, ".Mins"));
    entry.Day = alarms.leadingByte(alarmValueName(n, ".Day"));
    entry.Month = alarms.leadingByte(alarmValueName(n, ".Month"));
}

void Core::SaveSettings() {
    Hive::Transaction scope(store_);
    // A save into an alarms key deleted by hand would count alarms it could not write.
    if (settingsStored())
        registry_.CreateNewKey(kAlarmsKey, kRoot);
    const Position position = windowPosition();
    for (const StoredSetting& setting : storedSettings()) {
        switch (setting.kind) {
        case SettingKind::Left:
            saveSetting(registry_, setting.name, wholeTwips(position.left));
            break;
        case SettingKind::Top:
            saveSetting(registry_, setting.name, wholeTwips(position.top));
            break;
        case SettingKind::Byte:
            saveSetting(registry_, setting.name, ClockSettings.*setting.byte);
            break;
        case SettingKind::Text:
            saveSetting(registry_, setting.name, ClockSettings.*setting.text);
            break;
        case SettingKind::AlarmCount:
            saveSetting(registry_, setting.name, saveAlarms());
            break;
        }
    }
    commitOrLog(scope, "The settings");
}

void Core::DeleteAlarmValues() {
    Hive::Transaction scope(store_);
    deleteAlarmValues(1, std::min<int>(AlarmTable.AlarmCount, Alarms::kCapacity));
    commitOrLog(scope, "Removing the stored alarms");
}

void Core::deleteAlarmValues(int first, int last) {
    for (int n = first; n <= last; ++n) {
        for (const char* field : kAlarmFields)
            registry_.DeleteValue(kRoot, kAlarmsKey, alarmValueName(n, field));
    }
}

void Core::RemoveAlarm(int n) {
    if (n < 1 || n > AlarmTable.AlarmCount)
        return;
    const Alarms before = AlarmTable;
    // Deleting every stored alarm before writing the rest back, as a plain reading of the
    // removal goes, would lose them all to a crash in between where the store cannot roll
    // back. Overwriting them first and deleting what lies beyond the new count last ends in
    // the same stored state with no alarm missing on the way.
    Hive::Transaction scope(store_);
    AlarmTable[n].Name = kRemovalMarker;
    SaveSettings();
    deleteAlarmValues(static_cast<int>(keptAlarms().size()) + 1,
                      std::min<int>(AlarmTable.AlarmCount, Alarms::kCapacity));
    // After a failure the store may hold part of the removal until the scope rolls it back.
    if (!store_.failing()) {
        ClearAlarms();
        reloadAlarms();
    }
    if (commitOrLog(scope, "Removing the alarm") != Hive::kSuccess)
        AlarmTable = before;
}

qint32 Core::saveAlarms() {
    const QList<int> kept = keptAlarms();
    // Written in rising numbers, each alarm only ever moves down over one already written
    // again below it: cut short anywhere, every kept alarm is stored whole at least once
    // within the count, which follows them.
    for (int j = 1; j <= kept.size(); ++j)
        saveAlarm(registry_, j, AlarmTable[kept[j - 1]]);
    return static_cast<qint32>(kept.size());
}

QList<int> Core::keptAlarms() const {
    QList<int> kept;
    const int count = std::min<int>(AlarmTable.AlarmCount, Alarms::kCapacity);
    for (int n = 1; n <= count; ++n) {
        const QString& name = AlarmTable[n].Name;
        if (!name.isEmpty() && name != kRemovalMarker)
            kept << n;
    }
    return kept;
}

bool Core::settingsStored() {
    Hive::Key key;
    if (store_.openKey(kRoot, kSettingsKey.toLocal8Bit().toStdString(), key) != Hive::kSuccess)
        return false;
    store_.closeKey(key);
    return true;
}

Hive::Status Core::commitOrLog(Hive::Transaction& scope, const char* what) {
    const Hive::Status status = scope.commit();
    if (status != Hive::kSuccess && !store_.inScope())
        qCWarning(lcRegistry).noquote().nospace()
            << what << " could not be stored: " << QString::fromStdString(store_.lastFailure());
    return status;
}

Core::Position Core::windowPosition() const {
    if (window_ == nullptr)
        return storedPosition_;
    return {window_->leftTwips(), window_->topTwips()};
}

void Core::placeWindow(Position position) {
    storedPosition_ = position;
    if (window_ != nullptr)
        window_->moveToTwips(position.left, position.top);
}

} // namespace VD_Core
