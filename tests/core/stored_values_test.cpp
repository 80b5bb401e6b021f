// Every stored setting and alarm field holding a value it should not: each loads as the
// conversions decide (a value that cannot be converted loads as 0 and is logged; an empty text
// is not a number, a missing or unreadable value is; a value too large to read is unread, and
// logged), nothing else changes, the log says so in short lines, and the alarms then sound
// only at the valid times the loaded values name.

#include "core/StoredSettings.h"
#include "core/Tick.h"
#include <CorePeer.h>
#include <FakeClockWindow.h>
#include <HiveContents.h>
#include <LogCapture.h>
#include <TestCore.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace VD_Core;

namespace {

enum class Kind {
    Position,    // a number within a float
    Byte,        // a number from 0 to 255: the switches
    Count,       // a byte, of which at most 20 are loaded
    Text,        // taken as it is
    AlarmNumber, // the number the text begins with, 0 to 255
};

struct Field {
    const char* name;
    Kind kind;
};

// The number a stored value loads as, and whether that is a logged failure.
struct Number {
    double value = 0;
    bool logged = false;
};

// A stored value, and what it loads as by each conversion.
struct Hostile {
    const char* name;
    quint32 type;
    QByteArray data;
    Number asPosition;
    Number asByte;
    Number asLeadingNumber;
    QString asText;
    bool tooLarge = false; // left unread, and logged, whatever the field
};

// Every stored setting, then the fields of an alarm.
const Field kFields[] = {
    {"X", Kind::Position},          {"Y", Kind::Position},         {"HourSignal", Kind::Byte},
    {"UsedSkinPath", Kind::Text},   {"AlarmEnabled", Kind::Byte},  {"AlarmCount", Kind::Count},
    {"AlwaysOnTop", Kind::Byte},    {"01.Name", Kind::Text},       {"01.Hour", Kind::AlarmNumber},
    {"01.Mins", Kind::AlarmNumber}, {"01.Day", Kind::AlarmNumber}, {"01.Month", Kind::AlarmNumber},
};

void PrintTo(const Field& field, std::ostream* out) {
    *out << field.name;
}

void PrintTo(const Hostile& value, std::ostream* out) {
    *out << value.name;
}

QByteArray text(const char* value) {
    return QByteArray(value) + QByteArray(1, '\0');
}

// The most the clock reads, with the NUL; a byte more is too much.
const QString kDigitsAtTheReadLimit(kLargestValue - 1, QLatin1Char('9'));

// What the clock holds after loading.
struct Loaded {
    double x = 1200;
    double y = 900;
    quint8 hourSignal = 0;
    QString skin;
    quint8 alarmEnabled = 1;
    quint8 alarmCount = 2;
    quint8 onTop = 0;
    AlarmEntry first{QStringLiteral("Wake"), 7, 30, 0, 0};
    AlarmEntry second{QStringLiteral("Meeting"), 14, 5, 1, 3};

    bool operator==(const Loaded&) const = default;
};

void PrintTo(const Loaded& l, std::ostream* out) {
    const auto entry = [](const AlarmEntry& e) {
        return e.Name.left(20).toStdString() + ' ' + std::to_string(e.Hour) + ':' +
               std::to_string(e.Mins) + " day " + std::to_string(e.Day) + " month " +
               std::to_string(e.Month);
    };
    *out << "at " << l.x << ", " << l.y << " signal " << int(l.hourSignal) << " skin \""
         << l.skin.left(20).toStdString() << "\" alarms " << int(l.alarmEnabled) << " count "
         << int(l.alarmCount) << " top " << int(l.onTop) << " [" << entry(l.first) << "] ["
         << entry(l.second) << "]";
}

void setAlarmNumber(AlarmEntry& entry, const QString& field, quint8 value) {
    if (field == QLatin1String("Hour"))
        entry.Hour = value;
    else if (field == QLatin1String("Mins"))
        entry.Mins = value;
    else if (field == QLatin1String("Day"))
        entry.Day = value;
    else
        entry.Month = value;
}

// The example state with the one field loaded as the conversions decide.
Loaded expectedLoad(const Field& field, const Hostile& stored, bool& logged) {
    Loaded l;
    const Number number = field.kind == Kind::Position      ? stored.asPosition
                          : field.kind == Kind::AlarmNumber ? stored.asLeadingNumber
                                                            : stored.asByte;
    logged = stored.tooLarge ||
             (field.kind != Kind::Text &&
              (number.logged || (field.kind == Kind::Count && number.value > Alarms::kCapacity)));
    const QString name = QString::fromLatin1(field.name);
    const auto byte = static_cast<quint8>(number.value);
    if (name == QLatin1String("X"))
        l.x = number.value;
    else if (name == QLatin1String("Y"))
        l.y = number.value;
    else if (name == QLatin1String("HourSignal"))
        l.hourSignal = byte;
    else if (name == QLatin1String("UsedSkinPath"))
        l.skin = stored.asText;
    else if (name == QLatin1String("AlarmEnabled"))
        l.alarmEnabled = byte;
    else if (name == QLatin1String("AlwaysOnTop"))
        l.onTop = byte;
    else if (name == QLatin1String("AlarmCount"))
        l.alarmCount = static_cast<quint8>(std::min<int>(byte, Alarms::kCapacity));
    else if (name == QLatin1String("01.Name"))
        l.first.Name = stored.asText;
    else
        setAlarmNumber(l.first, name.mid(3), byte);
    // Entries above the count are not loaded; those between 2 and it load empty.
    if (l.alarmCount < 2)
        l.second = {};
    if (l.alarmCount < 1)
        l.first = {};
    return l;
}

// Minutes of Monday 4 March 2024 at which the loaded alarms should sound: only their valid
// times, and only when their day and month filters let them.
std::set<int> expectedMinutes(const Loaded& l) {
    std::set<int> minutes;
    if (l.alarmEnabled != 1)
        return minutes;
    for (int n = 1; n <= l.alarmCount; ++n) {
        const AlarmEntry e = n == 1 ? l.first : n == 2 ? l.second : AlarmEntry{};
        if (e.Hour < 24 && e.Mins < 60 && (e.Day == 0 || e.Day == 1) &&
            (e.Month == 0 || e.Month == 3))
            minutes.insert(e.Hour * 60 + e.Mins);
    }
    return minutes;
}

class StoredValueTest : public ::testing::TestWithParam<std::tuple<Field, Hostile>>,
                        protected TestCore {
protected:
    FakeClockWindow window;

    void SetUp() override { core.attachWindow(&window); }

    Loaded loaded() const {
        return {window.left,
                window.top,
                core.settings().HourSignal,
                core.settings().UsedSkinPath,
                core.settings().AlarmEnabled,
                core.alarms().AlarmCount,
                core.settings().AlwaysOnTop,
                core.alarms()[1],
                core.alarms()[2]};
    }

    // The minutes of a whole day at whose first tick an alarm sounded.
    std::set<int> soundingMinutes() {
        VD_Core::CorePeer::skin(core).AlarmSoundPath = QStringLiteral("alarm");
        TickState state;
        std::set<int> minutes;
        const QLocale english(QLocale::English);
        for (int minute = 0; minute < 24 * 60; ++minute) {
            const QDateTime at(QDate(2024, 3, 4), QTime(minute / 60, minute % 60));
            if (RunTick(core, at, 0, state, english).sounds.contains(QStringLiteral("alarm")))
                minutes.insert(minute);
        }
        return minutes;
    }
};

TEST(StoredSettingsTable, EverySettingHasARowHere) {
    for (const StoredSetting& setting : storedSettings())
        EXPECT_TRUE(std::ranges::any_of(kFields, [&](const Field& f) {
            return QByteArrayView(f.name) == QByteArrayView(setting.name);
        })) << setting.name;
}

TEST_P(StoredValueTest, LoadsAsDecidedAndChangesNothingElse) {
    const auto& [field, stored] = GetParam();
    storeExampleState(*hive);
    const bool alarmField = QByteArrayView(field.name).startsWith("01.");
    const QString key = QStringLiteral("Software\\Brambleton\\Vindrel") +
                        (alarmField ? QStringLiteral("\\Alarms") : QString());
    storeRaw(*hive, key, QString::fromLatin1(field.name), stored.type, stored.data);
    LogCapture log("vindrel.registry");
    core.LoadSettings();

    bool logged = false;
    const Loaded expected = expectedLoad(field, stored, logged);
    EXPECT_EQ(loaded(), expected);
    const std::string messages = log.messages().join(u'\n').toStdString();
    if (logged) {
        ASSERT_EQ(log.messages().size(), 1) << messages.substr(0, 1000);
        EXPECT_TRUE(log.messages()[0].contains(QLatin1String(field.name))) << messages;
        EXPECT_LT(log.messages()[0].size(), 200) << "the value is not logged in full";
    } else {
        EXPECT_EQ(messages, "");
    }
    EXPECT_EQ(soundingMinutes(), expectedMinutes(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Values, StoredValueTest,
    ::testing::Combine(
        ::testing::ValuesIn(kFields),
        ::testing::Values(
            Hostile{"EmptyText", Hive::kRegSz, text(""), {0, true}, {0, true}, {0}, {}},
            Hostile{"Letters",
                    Hive::kRegSz,
                    text("abc"),
                    {0, true},
                    {0, true},
                    {0},
                    QStringLiteral("abc")},
            Hostile{"MinusOne",
                    Hive::kRegSz,
                    text("-1"),
                    {-1},
                    {0, true},
                    {0, true},
                    QStringLiteral("-1")},
            Hostile{"Huge",
                    Hive::kRegSz,
                    text("99999999999"),
                    {99999997952.0},
                    {0, true},
                    {0, true},
                    QStringLiteral("99999999999")},
            Hostile{"Dword",
                    Hive::kRegDword,
                    QByteArray("\x07\0\0\0", 4),
                    {7},
                    {7},
                    {7},
                    QStringLiteral("7")},
            Hostile{"Binary", Hive::kRegBinary, QByteArray("\x01\x02\x03", 3), {0}, {0}, {0}, {}},
            Hostile{"DigitsAtTheReadLimit",
                    Hive::kRegSz,
                    kDigitsAtTheReadLimit.toLatin1() + '\0',
                    {0, true},
                    {0, true},
                    {0, true},
                    kDigitsAtTheReadLimit},
            // A 7 for every field, were it read.
            Hostile{"DwordBeyondTheReadLimit",
                    Hive::kRegDword,
                    QByteArray("\x07\0\0\0", 4) + QByteArray(kLargestValue - 3, '\0'),
                    {},
                    {},
                    {},
                    {},
                    true},

            Hostile{"TwentyFour", Hive::kRegSz, text("24"), {24}, {24}, {24}, QStringLiteral("24")},
            Hostile{"Sixty", Hive::kRegSz, text("60"), {60}, {60}, {60}, QStringLiteral("60")},
            Hostile{"TwoHundredFiftyFive",
                    Hive::kRegSz,
                    text("255"),
                    {255},
                    {255},
                    {255},
                    QStringLiteral("255")})),
    [](const auto& info) {
        std::string name = std::get<0>(info.param).name;
        name.erase(std::remove(name.begin(), name.end(), '.'), name.end());
        return name + "_" + std::get<1>(info.param).name;
    });

} // namespace
