// Moving the settings, the window position and the alarms between memory and the registry.

#include "VD_Core.h"

#include "ValueConversions.h"

#include <RegistryLog.h>

#include <QList>

#include <algorithm>
#include <cmath>

namespace VD_Core {

namespace {

constexpr Hive::Root kRoot = Hive::Root::CurrentUser;
const QString kSettingsKey = QStringLiteral("Software\\Brambleton\\Vindrel");
const QString kAlarmsKey = QStringLiteral("Software\\Brambleton\\Vindrel\\Alarms");
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

void commitOrLog(Hive::Transaction& scope, const char* what) {
    const Hive::Status status = scope.commit();
    if (status != Hive::kSuccess)
        qCWarning(lcRegistry) << what << "could not be stored: the store answered" << status;
}

} // namespace

void Core::EnsureSettings() {
    // The check belongs to the transaction: a copy starting at the same moment could otherwise
    // save its settings in between, and have them replaced by the defaults.
    Hive::Transaction scope(registry_.store());
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
    Hive::Transaction snapshot(registry_.store(), Hive::Access::Read);
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
    Hive::Transaction scope(registry_.store());
    const Position position = windowPosition();
    saveSetting(registry_, "X", wholeTwips(position.left));
    saveSetting(registry_, "Y", wholeTwips(position.top));
    saveSetting(registry_, "HourSignal", ClockSettings.HourSignal);
    saveSetting(registry_, "UsedSkinPath", ClockSettings.UsedSkinPath);
    saveSetting(registry_, "AlarmEnabled", ClockSettings.AlarmEnabled);
    saveSetting(registry_, "AlwaysOnTop", ClockSettings.AlwaysOnTop);
    QList<int> kept;
    const int count = std::min<int>(AlarmTable.AlarmCount, Alarms::kCapacity);
    for (int n = 1; n <= count; ++n) {
        const QString& name = AlarmTable[n].Name;
        if (!name.isEmpty() && name != kRemovalMarker)
            kept << n;
    }
    saveSetting(registry_, "AlarmCount", static_cast<qint32>(kept.size()));
    for (int j = 1; j <= kept.size(); ++j)
        saveAlarm(registry_, j, AlarmTable[kept[j - 1]]);
    commitOrLog(scope, "The settings");
}

void Core::DeleteAlarmValues() {
    Hive::Transaction scope(registry_.store());
    const int count = std::min<int>(AlarmTable.AlarmCount, Alarms::kCapacity);
    for (int n = 1; n <= count; ++n) {
        for (const char* field : kAlarmFields)
            registry_.DeleteValue(kRoot, kAlarmsKey, alarmValueName(n, field));
    }
    commitOrLog(scope, "Removing the stored alarms");
}

void Core::RemoveAlarm(int n) {
    if (n < 1 || n > AlarmTable.AlarmCount)
        return;
    // Between deleting the stored alarms and writing the rest back, a crash would lose them
    // all: the whole sequence is one transaction.
    Hive::Transaction scope(registry_.store());
    AlarmTable[n].Name = kRemovalMarker;
    DeleteAlarmValues();
    SaveSettings();
    ClearAlarms();
    LoadSettings();
    commitOrLog(scope, "Removing the alarm");
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
