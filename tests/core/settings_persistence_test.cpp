#include <CorePeer.h>
#include <CountingStore.h>
#include <FakeClockWindow.h>
#include <FaultyStore.h>
#include <HiveContents.h>
#include <LogCapture.h>
#include <TestCore.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>

using namespace VD_Core;

namespace {

const QString kSettings = QStringLiteral("Software\\Brambleton\\Vindrel");
const QString kAlarms = QStringLiteral("Software\\Brambleton\\Vindrel\\Alarms");

StoredValue text(const char* name, const char* value) {
    return textValue(QString::fromLatin1(name), QString::fromLatin1(value));
}

class SettingsTest : public ::testing::Test, protected TestCore {
protected:
    FakeClockWindow window;

    void SetUp() override { core.attachWindow(&window); }

    void seed(const QString& key, const char* name, const char* value) {
        storeRaw(*hive, key, QString::fromLatin1(name), Hive::kRegSz,
                 QByteArray(value) + QByteArray(1, '\0'));
    }

    void seedAlarm(int n, const char* name, const char* hour, const char* mins = "0",
                   const char* day = "0", const char* month = "0") {
        const QByteArray prefix = QByteArray::number(n).rightJustified(2, '0');
        const char* values[] = {name, hour, mins, day, month};
        const char* fields[] = {".Name", ".Hour", ".Mins", ".Day", ".Month"};
        for (int i = 0; i < 5; ++i)
            seed(kAlarms, (prefix + fields[i]).constData(), values[i]);
    }

    void seedExample() { storeExampleState(*hive); }

    QStringList alarmNamesInMemory() const {
        QStringList names;
        for (int n = 1; n <= core.alarms().AlarmCount; ++n)
            names << core.alarms()[n].Name;
        return names;
    }

    // The values as the store lists them after being written in this order.
    static QList<StoredValue> asListed(QList<StoredValue> written) {
        if (TestStore::whyNoWriteOrder() != nullptr)
            std::sort(written.begin(), written.end(), [](const auto& a, const auto& b) {
                return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
            });
        return written;
    }

    std::optional<StoredValue> stored(const QString& key, const char* name) const {
        for (const StoredValue& value : storedValues(*hive, key))
            if (value.name == QLatin1String(name))
                return value;
        return std::nullopt;
    }

    QList<StoredValue> storedAlarm(int n) const {
        QList<StoredValue> values;
        const QString prefix = QStringLiteral("%1.").arg(n, 2, 10, QLatin1Char('0'));
        for (const StoredValue& value : storedValues(*hive, kAlarms))
            if (value.name.startsWith(prefix))
                values << value;
        return values;
    }
};

TEST_F(SettingsTest, AFirstRunWritesTheDefaultsAndLoadsThem) {
    core.EnsureSettings();
    EXPECT_EQ(
        storedValues(*hive, kSettings),
        asListed({text("X", "0"), text("Y", "0"), text("HourSignal", "0"), text("UsedSkinPath", ""),
                  text("AlarmEnabled", "0"), text("AlarmCount", "0")}));
    Hive::Key alarms;
    EXPECT_EQ(hive->openKey(Hive::Root::CurrentUser, kAlarms.toStdString(), alarms),
              Hive::kSuccess);
    hive->closeKey(alarms);

    window.left = 3000;
    core.LoadSettings();
    EXPECT_EQ(window.left, 0);
    EXPECT_EQ(window.top, 0);
    EXPECT_EQ(core.settings().AlarmEnabled, 0);
    EXPECT_EQ(core.settings().AlwaysOnTop, 0);
    EXPECT_EQ(core.alarms().AlarmCount, 0);
}

TEST_F(SettingsTest, StoredSettingsAreNotReplacedByDefaults) {
    seed(kSettings, "X", "1200");
    seed(kSettings, "HourSignal", "1");
    core.EnsureSettings();
    EXPECT_EQ(storedValues(*hive, kSettings),
              asListed({text("X", "1200"), text("HourSignal", "1")}));
}

TEST_F(SettingsTest, AnEmptyXIsAFirstRunAgainButLeavesTheAlarmValues) {
    seedExample();
    seed(kSettings, "X", "");
    core.EnsureSettings();
    const QList<StoredValue> settings = storedValues(*hive, kSettings);
    EXPECT_TRUE(settings.contains(text("AlarmEnabled", "0")));
    EXPECT_TRUE(settings.contains(text("AlarmCount", "0")));
    EXPECT_EQ(storedValues(*hive, kAlarms).size(), 10);
}

TEST_F(SettingsTest, TheExampleStateLoadsAsStored) {
    seedExample();
    core.LoadSettings();
    EXPECT_EQ(window.left, 1200);
    EXPECT_EQ(window.top, 900);
    EXPECT_EQ(core.settings().HourSignal, 0);
    EXPECT_EQ(core.settings().UsedSkinPath, QString());
    EXPECT_EQ(core.settings().AlarmEnabled, 1);
    EXPECT_EQ(core.settings().AlwaysOnTop, 0);
    EXPECT_EQ(core.alarms().AlarmCount, 2);
    EXPECT_EQ(core.alarms()[1], (AlarmEntry{QStringLiteral("Wake"), 7, 30, 0, 0}));
    EXPECT_EQ(core.alarms()[2], (AlarmEntry{QStringLiteral("Meeting"), 14, 5, 1, 3}));
}

TEST_F(SettingsTest, ASaveWritesTheExampleStateExactly) {
    window.left = 1200;
    window.top = 900;
    core.SetAlarmsEnabled(true);
    VD_Core::CorePeer::alarms(core).AlarmCount = 2;
    VD_Core::CorePeer::alarms(core)[1] = {QStringLiteral("Wake"), 7, 30, 0, 0};
    VD_Core::CorePeer::alarms(core)[2] = {QStringLiteral("Meeting"), 14, 5, 1, 3};
    core.EnsureSettings();
    core.SaveSettings();
    EXPECT_EQ(storedValues(*hive, kSettings),
              asListed({text("X", "1200"), text("Y", "900"), text("HourSignal", "0"),
                        text("UsedSkinPath", ""), text("AlarmEnabled", "1"),
                        text("AlarmCount", "2"), text("AlwaysOnTop", "0")}));
    EXPECT_EQ(storedValues(*hive, kAlarms),
              asListed({text("01.Name", "Wake"), text("01.Hour", "7"), text("01.Mins", "30"),
                        text("01.Day", "0"), text("01.Month", "0"), text("02.Name", "Meeting"),
                        text("02.Hour", "14"), text("02.Mins", "5"), text("02.Day", "1"),
                        text("02.Month", "3")}));
}

TEST_F(SettingsTest, ASaveIntoNoKeysWritesNothing) {
    VD_Core::CorePeer::alarms(core).append({QStringLiteral("Wake"), 7});
    core.SaveSettings();
    EXPECT_TRUE(storedValues(*hive, kSettings).isEmpty());
}

TEST_F(SettingsTest, ASaveIntoAMissingAlarmsKeyMakesItFirst) {
    seedExample();
    core.LoadSettings();
    Hive::Key root;
    hive->openKey(Hive::Root::CurrentUser, "", root);
    hive->deleteTree(root, kAlarms.toStdString());
    hive->closeKey(root);
    core.SaveSettings();
    EXPECT_TRUE(storedValues(*hive, kSettings).contains(text("AlarmCount", "2")));
    EXPECT_EQ(stored(kAlarms, "02.Name"), text("02.Name", "Meeting"));
}

TEST_F(SettingsTest, SkippedEntriesAreLeftOutAndTheRestRenumbered) {
    core.EnsureSettings();
    for (const char* name : {"One", "", "Three", "__#RemoveAlm[0]", "Five"})
        VD_Core::CorePeer::alarms(core).append({QString::fromLatin1(name), 7});
    core.SaveSettings();
    EXPECT_TRUE(storedValues(*hive, kSettings).contains(text("AlarmCount", "3")));
    EXPECT_EQ(stored(kAlarms, "02.Name"), text("02.Name", "Three"));
    EXPECT_EQ(stored(kAlarms, "03.Name"), text("03.Name", "Five"));
    EXPECT_TRUE(storedAlarm(4).isEmpty());
    EXPECT_EQ(core.alarms().AlarmCount, 5); // memory is not changed by a save
}

TEST_F(SettingsTest, RemovingAnAlarmRenumbersStorageAndMemory) {
    core.EnsureSettings();
    for (const char* name : {"One", "Two", "Three"})
        VD_Core::CorePeer::alarms(core).append({QString::fromLatin1(name), 7});
    core.SaveSettings();
    // Between whole twips, as at some screen scales: the clock stays where it is.
    window.left = 1200.4;
    window.top = 899.6;
    core.RemoveAlarm(2);
    EXPECT_EQ(window.left, 1200.4);
    EXPECT_EQ(window.top, 899.6);
    EXPECT_EQ(alarmNamesInMemory(), (QStringList{QStringLiteral("One"), QStringLiteral("Three")}));
    EXPECT_EQ(stored(kAlarms, "02.Name"), text("02.Name", "Three"));
    EXPECT_TRUE(storedAlarm(3).isEmpty());
    EXPECT_TRUE(storedValues(*hive, kSettings).contains(text("AlarmCount", "2")));
}

TEST_F(SettingsTest, RemovingANumberOutsideTheListDoesNothing) {
    core.EnsureSettings();
    VD_Core::CorePeer::alarms(core).append({QStringLiteral("One"), 7});
    core.SaveSettings();
    for (int n : {0, 2, -1})
        core.RemoveAlarm(n);
    EXPECT_EQ(alarmNamesInMemory(), QStringList{QStringLiteral("One")});
    EXPECT_EQ(storedAlarm(1).size(), 5);
}

TEST_F(SettingsTest, ARemovalAndASaveAreEachOneTransaction) {
    CountingStore counting(*hive);
    Core counted(services(), counting);
    counted.EnsureSettings();
    for (const char* name : {"One", "Two", "Three"}) {
        VD_Core::CorePeer::alarms(counted).append({QString::fromLatin1(name)});
    }
    counting.commits = 0;
    counted.SaveSettings();
    EXPECT_EQ(counting.commits, 1);
    counted.RemoveAlarm(1);
    EXPECT_EQ(counting.commits, 2);
    EXPECT_EQ(counting.loneWrites, 0);
}

TEST_F(SettingsTest, DeletingAlarmValuesTakesOnlyTheEntriesInUse) {
    seedExample();
    VD_Core::CorePeer::alarms(core).AlarmCount = 0;
    core.DeleteAlarmValues();
    EXPECT_EQ(storedValues(*hive, kAlarms).size(), 10);
    VD_Core::CorePeer::alarms(core).AlarmCount = 1;
    core.DeleteAlarmValues();
    EXPECT_TRUE(storedAlarm(1).isEmpty());
    EXPECT_EQ(storedAlarm(2).size(), 5);
}

TEST_F(SettingsTest, TheNinthAndTenthAlarmsAreStoredUnder09And10) {
    core.EnsureSettings();
    for (int n = 1; n <= 10; ++n)
        VD_Core::CorePeer::alarms(core).append({QStringLiteral("Alarm %1").arg(n), 7});
    core.SaveSettings();
    EXPECT_EQ(stored(kAlarms, "09.Name"), text("09.Name", "Alarm 9"));
    EXPECT_EQ(stored(kAlarms, "10.Month"), text("10.Month", "0"));
}

TEST_F(SettingsTest, ACountWithoutItsValuesLoadsEmptyEntries) {
    seedExample();
    for (const char* field : {"02.Name", "02.Hour", "02.Mins", "02.Day", "02.Month"})
        core.registry().DeleteValue(Hive::Root::CurrentUser, kAlarms, QString::fromLatin1(field));
    core.LoadSettings();
    EXPECT_EQ(core.alarms().AlarmCount, 2);
    EXPECT_EQ(core.alarms()[2], AlarmEntry{});
}

TEST_F(SettingsTest, MoreThanTwentyStoredAlarmsLoadAsTwentyAndSaveAsTwenty) {
    core.EnsureSettings();
    seed(kSettings, "AlarmCount", "25");
    for (int n = 1; n <= 25; ++n)
        seedAlarm(n, QByteArray("Alarm ").append(QByteArray::number(n)).constData(), "6");
    LogCapture log("vindrel.registry");
    core.LoadSettings();
    EXPECT_EQ(core.alarms().AlarmCount, 20);
    EXPECT_EQ(core.alarms()[20].Name, QStringLiteral("Alarm 20"));
    EXPECT_EQ(log.messages().size(), 1);
    seed(kAlarms, "21.Name", "left alone");
    core.SaveSettings();
    EXPECT_TRUE(storedValues(*hive, kSettings).contains(text("AlarmCount", "20")));
    EXPECT_EQ(stored(kAlarms, "21.Name"), text("21.Name", "left alone"));
}

TEST_F(SettingsTest, ADamagedValueLoadsAsZeroIsLoggedAndTheRestStillLoads) {
    seedExample();
    seed(kSettings, "HourSignal", "abc");
    seed(kAlarms, "01.Hour", "300");
    core.SetHourSignal(true);
    LogCapture log("vindrel.registry");
    core.LoadSettings();
    EXPECT_EQ(core.settings().HourSignal, 0);
    EXPECT_EQ(core.settings().AlarmEnabled, 1);
    EXPECT_EQ(core.alarms().AlarmCount, 2);
    EXPECT_EQ(core.alarms()[1], (AlarmEntry{QStringLiteral("Wake"), 0, 30, 0, 0}));
    EXPECT_EQ(core.alarms()[2].Name, QStringLiteral("Meeting"));
    ASSERT_EQ(log.messages().size(), 2);
    EXPECT_TRUE(log.messages()[0].contains(QStringLiteral("HourSignal")));
    EXPECT_TRUE(log.messages()[1].contains(QStringLiteral("01.Hour")));
}

struct HourCase {
    const char* stored;
    quint8 loaded;
};

class StoredHour : public SettingsTest, public ::testing::WithParamInterface<HourCase> {};

TEST_P(StoredHour, LoadsByItsLeadingNumber) {
    seedExample();
    seed(kAlarms, "01.Hour", GetParam().stored);
    core.LoadSettings();
    EXPECT_EQ(core.alarms()[1].Hour, GetParam().loaded);
}

INSTANTIATE_TEST_SUITE_P(Texts, StoredHour,
                         ::testing::Values(HourCase{"7", 7}, HourCase{"07", 7}, HourCase{"abc", 0},
                                           HourCase{"300", 0}, HourCase{"", 0}, HourCase{"8 pm", 8},
                                           HourCase{"-1", 0}));

TEST_F(SettingsTest, NumbersStoredAsDwordsLoadToo) {
    seedExample();
    storeRaw(*hive, kSettings, QStringLiteral("X"), Hive::kRegDword, QByteArray("\x2C\x01\0\0", 4));
    storeRaw(*hive, kSettings, QStringLiteral("AlarmEnabled"), Hive::kRegDword,
             QByteArray("\x01\0\0\0", 4));
    core.SetAlarmsEnabled(false);
    core.LoadSettings();
    EXPECT_EQ(window.left, 300);
    EXPECT_EQ(core.settings().AlarmEnabled, 1);
}

TEST_F(SettingsTest, NegativePositionsAreStoredWithTheirSignAndRestored) {
    core.EnsureSettings();
    window.left = -300;
    window.top = -45;
    core.SaveSettings();
    const QList<StoredValue> settings = storedValues(*hive, kSettings);
    EXPECT_TRUE(settings.contains(text("X", "-300")));
    EXPECT_TRUE(settings.contains(text("Y", "-45")));
    window.left = window.top = 0;
    core.LoadSettings();
    EXPECT_EQ(window.left, -300);
    EXPECT_EQ(window.top, -45);
}

TEST_F(SettingsTest, APositionIsWrittenAsWholeTwips) {
    core.EnsureSettings();
    window.left = 1200.4;
    window.top = 899.6;
    core.SaveSettings();
    EXPECT_EQ(stored(kSettings, "X"), text("X", "1200"));
    EXPECT_EQ(stored(kSettings, "Y"), text("Y", "900"));
}

TEST_F(SettingsTest, WithoutAWindowTheLoadedPositionIsSavedAgain) {
    seedExample();
    core.attachWindow(nullptr);
    core.LoadSettings();
    core.SaveSettings();
    EXPECT_EQ(stored(kSettings, "X"), text("X", "1200"));
}

// A clock over a store of its own that holds four alarms and has loaded them; beneath the
// clock, writes fail as asked.
struct FaultRig : TestServices {
    FakeClockWindow window;
    std::unique_ptr<TestStore> hive = std::make_unique<TestStore>();
    FaultyStore faulty;
    Core core{services(), faulty};

    explicit FaultRig(bool transactions = true) : faulty(*hive, transactions) {
        storeExampleState(*hive);
        const char* more[][2] = {{"03.Name", "Lunch"}, {"03.Hour", "12"}, {"04.Name", "Night"},
                                 {"04.Hour", "23"},    {"04.Day", "7"},   {"AlarmCount", "4"}};
        for (const auto& [name, value] : more)
            storeRaw(*hive, QString::fromLatin1(name).startsWith(u'0') ? kAlarms : kSettings,
                     QString::fromLatin1(name), Hive::kRegSz, QByteArray(value) + '\0');
        core.attachWindow(&window);
        core.LoadSettings();
    }

    QList<AlarmEntry> alarms() const {
        QList<AlarmEntry> entries;
        for (int n = 1; n <= core.alarms().AlarmCount; ++n)
            entries << core.alarms()[n];
        return entries;
    }

    // The alarms a clock starting now would load.
    QList<AlarmEntry> alarmsLoadedAfresh() {
        Core fresh(services(), *hive);
        fresh.LoadSettings();
        QList<AlarmEntry> entries;
        for (int n = 1; n <= fresh.alarms().AlarmCount; ++n)
            entries << fresh.alarms()[n];
        return entries;
    }
};

// What the user does that saves: a change of memory, then a save or the removal sequence.
struct Change {
    const char* name;
    std::function<void(FaultRig&)> make;
    int removed = 0; // the alarm the removal sequence takes; 0 for a plain save
};

void PrintTo(const Change& change, std::ostream* out) {
    *out << change.name;
}

void saveEveryValueChanged(FaultRig& rig) {
    rig.window.left = 300;
    rig.core.SetHourSignal(true);
    VD_Core::CorePeer::settings(rig.core).UsedSkinPath = QStringLiteral("Night.vds");
    VD_Core::CorePeer::alarms(rig.core)[2] = {QStringLiteral("Meeting moved"), 15, 30, 2, 4};
    rig.core.SaveSettings();
}

void saveANewAlarm(FaultRig& rig) {
    VD_Core::CorePeer::alarms(rig.core).AlarmCount = 5;
    VD_Core::CorePeer::alarms(rig.core)[5] = {QStringLiteral("Tea"), 16, 0, 0, 0};
    rig.core.SaveSettings();
}

void saveLeavingTheFirstOut(FaultRig& rig) {
    VD_Core::CorePeer::alarms(rig.core)[1].Name.clear();
    rig.core.SaveSettings();
}

Change removal(const char* name, int n) {
    return {name, [n](FaultRig& rig) { rig.core.RemoveAlarm(n); }, n};
}

const Change kChanges[] = {
    {"SaveOfEveryKind", saveEveryValueChanged},
    {"SaveOfANewAlarm", saveANewAlarm},
    {"SaveLeavingOneOut", saveLeavingTheFirstOut},
    removal("RemovalOfTheFirst", 1),
    removal("RemovalInTheMiddle", 2),
    removal("RemovalOfTheLast", 4),
};

class SavesUnderFaults : public ::testing::TestWithParam<Change> {
protected:
    // The change made on a store that refuses nothing: its stored state, memory and writes.
    struct Clean {
        QList<StoredValue> stored;
        QList<AlarmEntry> alarms;
        QList<AlarmEntry> loaded;
        int writes = 0;
    };
    static Clean clean() {
        FaultRig rig;
        GetParam().make(rig);
        return {clockValues(*rig.hive), rig.alarms(), rig.alarmsLoadedAfresh(), rig.faulty.writes};
    }
};

TEST_P(SavesUnderFaults, AFailedWriteOrCommitKeepsTheStoreAsItWasAndTheNextTrySucceeds) {
    if (const char* why = TestStore::whyNoRollback())
        GTEST_SKIP() << why;
    const Clean expected = clean();
    ASSERT_GT(expected.writes, 0);
    for (int n = 1; n <= expected.writes + 1; ++n) {
        const bool atCommit = n > expected.writes;
        SCOPED_TRACE(atCommit ? std::string("the commit fails")
                              : "write " + std::to_string(n) + " fails");
        FaultRig rig;
        const QList<StoredValue> before = clockValues(*rig.hive);
        const QList<AlarmEntry> alarmsBefore = rig.alarms();
        rig.faulty.fault = atCommit ? FaultyStore::Fault::Commit : FaultyStore::Fault::OneWrite;
        rig.faulty.failAt = n;
        {
            LogCapture log("vindrel.registry");
            GetParam().make(rig);
            ASSERT_EQ(log.messages().size(), 1) << log.messages().join(u'\n').toStdString();
            EXPECT_TRUE(log.messages()[0].contains(QStringLiteral("could not be stored")));
        }
        EXPECT_EQ(clockValues(*rig.hive), before);
        // A save keeps the changed memory for the next try; a removal that failed is undone.
        EXPECT_EQ(rig.alarms(), GetParam().removed != 0 ? alarmsBefore : expected.alarms);
        rig.faulty.fault = FaultyStore::Fault::None;
        GetParam().make(rig);
        EXPECT_EQ(clockValues(*rig.hive), expected.stored);
    }
}

// Where the store has no transactions (the Windows registry), a crash may stop a save after
// any write: a clock starting then still finds every alarm kept by the change, and none that
// belongs to neither the list before nor the list after.
TEST_P(SavesUnderFaults, ACrashAfterAnyWriteWithoutTransactionsLosesNoKeptAlarm) {
    const Clean expected = clean();
    for (int n = 1; n <= expected.writes; ++n) {
        SCOPED_TRACE("the writer stops at write " + std::to_string(n));
        FaultRig rig(false);
        const QList<AlarmEntry> before = rig.alarms();
        rig.faulty.fault = FaultyStore::Fault::Crash;
        rig.faulty.failAt = n;
        LogCapture quiet("vindrel.registry");
        GetParam().make(rig);
        const QList<AlarmEntry> loaded = rig.alarmsLoadedAfresh();
        for (const AlarmEntry& alarm : before) {
            const bool kept = expected.loaded.contains(alarm);
            EXPECT_TRUE(!kept || loaded.contains(alarm)) << "lost " << alarm.Name.toStdString();
        }
        for (const AlarmEntry& alarm : loaded) {
            const auto named = [&](const AlarmEntry& a) { return a.Name == alarm.Name; };
            EXPECT_TRUE(std::any_of(before.begin(), before.end(), named) ||
                        std::any_of(expected.loaded.begin(), expected.loaded.end(), named))
                << "an alarm named \"" << alarm.Name.toStdString() << "\" from neither list";
        }
    }
    FaultRig whole(false);
    GetParam().make(whole);
    EXPECT_EQ(clockValues(*whole.hive), expected.stored);
}

INSTANTIATE_TEST_SUITE_P(Changes, SavesUnderFaults, ::testing::ValuesIn(kChanges),
                         [](const auto& info) { return std::string(info.param.name); });

// The removal writes over the stored alarms before it deletes, yet ends where deleting them
// all first, then saving, would.
TEST(Removal, EndsAsDeletingEveryStoredAlarmThenSavingWould) {
    for (const int n : {1, 2, 4}) {
        FaultRig removed;
        removed.core.RemoveAlarm(n);
        FaultRig literal;
        VD_Core::CorePeer::alarms(literal.core)[n].Name = kRemovalMarker;
        literal.core.DeleteAlarmValues();
        literal.core.SaveSettings();
        EXPECT_EQ(clockValues(*removed.hive), clockValues(*literal.hive)) << "removing " << n;
    }
}

} // namespace
