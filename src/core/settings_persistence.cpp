// Moving the settings, the window position and the alarms between memory and the registry.

#include "VD_Core.h"

#include "SettingsKeys.h"
#include "ValueConversions.h"

#include <RegistryLog.h>

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
    saveSetting(registry_, "X", 0);
    saveSetting(registry_, "Y", 0);
    saveSetting(registry_, "HourSignal", 0);
    saveSetting(registry_, "UsedSkinPath", QString());
    saveSetting(registry_, "AlarmEnabled", QStringLiteral("0"));
    saveSetting(registry_, "AlarmCount", QStringLiteral("0"));
    commitOrLog(scope, "The first-run settings");
}

void Core::LoadSettings() {
    // One snapshot: a save by another copy meanwhile is seen whole or not at all.
    Hive::Transaction snapshot(store_, Hive::Access::Read);
    const StoredValues settings(registry_, kSettingsKey);
    placeWindow({settings.single(QStringLiteral("X")), settings.single(QStringLiteral("Y"))});
    ClockSettings.HourSignal = settings.byte(QStringLiteral("HourSignal"));
    ClockSettings.UsedSkinPath = settings.text(QStringLiteral("UsedSkinPath"));
    ClockSettings.AlarmEnabled = settings.byte(QStringLiteral("AlarmEnabled"));
    const int stored = settings.byte(QStringLiteral("AlarmCount"));
    if (stored > Alarms::kCapacity)
        qCWarning(lcRegistry) << "AlarmCount is" << stored << "but the clock holds"
                              << Alarms::kCapacity << "alarms; the first ones are loaded";
    AlarmTable.AlarmCount = static_cast<quint8>(std::min(stored, Alarms::kCapacity));
    ClockSettings.AlwaysOnTop = settings.byte(QStringLiteral("AlwaysOnTop"));
    const int count = AlarmTable.AlarmCount;
    for (int n = 1; n <= count; ++n) {
        loadAlarm(n);
        AlarmTable.AlarmCount = static_cast<quint8>(n);
    }
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
    saveSetting(registry_, "X", wholeTwips(position.left));
    saveSetting(registry_, "Y", wholeTwips(position.top));
    saveSetting(registry_, "HourSignal", ClockSettings.HourSignal);
    saveSetting(registry_, "UsedSkinPath", ClockSettings.UsedSkinPath);
    saveSetting(registry_, "AlarmEnabled", ClockSettings.AlarmEnabled);
    saveSetting(registry_, "AlwaysOnTop", ClockSettings.AlwaysOnTop);
    const QList<int> kept = keptAlarms();
    // Written in rising numbers, each alarm only ever moves down over one already written
    // again below it: cut short anywhere, every kept alarm is stored whole at least once
    // within the count, which follows them.
    for (int j = 1; j <= kept.size(); ++j)
        saveAlarm(registry_, j, AlarmTable[kept[j - 1]]);
    saveSetting(registry_, "AlarmCount", static_cast<qint32>(kept.size()));
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
        LoadSettings();
    }
    if (commitOrLog(scope, "Removing the alarm") != Hive::kSuccess)
        AlarmTable = before;
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
