#include "hive/SqliteHive.h"
#include <ChildProcess.h>
#include <CountingStore.h>
#include <FaultyStore.h>
#include <HiveContents.h>
#include <RegCommand.h>
#include <RegFile.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <functional>
#include <utility>

using namespace RegTool;

namespace {

const QString kSettings = QStringLiteral("Software\\Brambleton\\Vindrel");
const QString kAlarms = QStringLiteral("Software\\Brambleton\\Vindrel\\Alarms");

QByteArray sz(const char* text) {
    return QByteArray(text) + QByteArray(1, '\0');
}

const char* const kStoreFile = "hkcu.sqlite3";

class VindrelRegTest : public ::testing::Test {
protected:
    std::unique_ptr<Hive::SqliteHive> hive = Hive::SqliteHive::inMemory();
    QTemporaryDir folder;
    QString output;
    QString errors;
    QString answers;

    // Runs the command as typed after "vindrel-reg"; its exit status.
    int run(const QStringList& arguments, Hive::Store* store = nullptr) {
        output.clear();
        errors.clear();
        QTextStream out(&output);
        QTextStream err(&errors);
        QTextStream in(&answers);
        QString error;
        const std::optional<Command> command = parseCommand(arguments, error);
        if (!command) {
            errors = error;
            return 1;
        }
        // The store's file, which export must never replace, is said to be in the folder.
        return runCommand(*command, store != nullptr ? *store : *hive, {out, err, in},
                          file(kStoreFile));
    }

    void seedExample() { storeExampleState(*hive); }

    QString file(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
};

// Writes the bytes into a new file; its path.
QString written(const QString& path, const QByteArray& bytes) {
    QFile out(path);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    return path;
}

TEST_F(VindrelRegTest, QueryPrintsTheKeyItsValuesAndItsSubkeysAsRegDoes) {
    seedExample();
    storeRaw(*hive, kSettings, QStringLiteral("Bytes"), Hive::kRegBinary,
             QByteArray("\x0A\xFF", 2));
    EXPECT_EQ(run({QStringLiteral("query"), QStringLiteral("HKCU\\Software\\Brambleton\\Vindrel")}),
              0);
    EXPECT_EQ(output, QStringLiteral("\n"
                                     "HKEY_CURRENT_USER\\Software\\Brambleton\\Vindrel\n"
                                     "    X    REG_SZ    1200\n"
                                     "    Y    REG_SZ    900\n"
                                     "    HourSignal    REG_SZ    0\n"
                                     "    UsedSkinPath    REG_SZ    \n"
                                     "    AlarmEnabled    REG_SZ    1\n"
                                     "    AlwaysOnTop    REG_SZ    0\n"
                                     "    AlarmCount    REG_SZ    2\n"
                                     "    Bytes    REG_BINARY    0AFF\n"
                                     "\n"
                                     "HKEY_CURRENT_USER\\Software\\Brambleton\\Vindrel\\Alarms\n"));
}

TEST_F(VindrelRegTest, QueryOfOneValueShowsDwordsInHex) {
    storeRaw(*hive, kAlarms, QStringLiteral("01.Hour"), Hive::kRegDword,
             QByteArray("\x07\0\0\0", 4));
    EXPECT_EQ(run({QStringLiteral("QUERY"),
                   QStringLiteral("HKEY_CURRENT_USER\\Software\\Brambleton\\Vindrel\\Alarms"),
                   QStringLiteral("/v"), QStringLiteral("01.Hour")}),
              0);
    EXPECT_EQ(output, QStringLiteral("\nHKEY_CURRENT_USER\\Software\\Brambleton\\Vindrel\\Alarms\n"
                                     "    01.Hour    REG_DWORD    0x7\n\n"));
}

struct QueryCase {
    const char* name;
    QStringList switches; // after "query HKCU\Software\Q"
    QString output;
};

void PrintTo(const QueryCase& c, std::ostream* out) {
    *out << c.name;
}

class VindrelRegQuery : public VindrelRegTest, public ::testing::WithParamInterface<QueryCase> {};

// Software\Q holds no values, only A with V = "a", and A\B with V = "b".
TEST_P(VindrelRegQuery, ShowsWhatRegShows) {
    storeRaw(*hive, QStringLiteral("Software\\Q\\A"), QStringLiteral("V"), Hive::kRegSz, sz("a"));
    storeRaw(*hive, QStringLiteral("Software\\Q\\A\\B"), QStringLiteral("V"), Hive::kRegSz,
             sz("b"));
    EXPECT_EQ(run(QStringList{QStringLiteral("query"), QStringLiteral("HKCU\\Software\\Q")} +
                  GetParam().switches),
              0)
        << errors.toStdString();
    EXPECT_EQ(output, GetParam().output);
}

const QString kKeyA = QStringLiteral("HKEY_CURRENT_USER\\Software\\Q\\A\n");
const QString kKeyB = QStringLiteral("HKEY_CURRENT_USER\\Software\\Q\\A\\B\n");

INSTANTIATE_TEST_SUITE_P(
    Cases, VindrelRegQuery,
    ::testing::Values(
        QueryCase{"KeyWithSubkeysAlone", {}, u'\n' + kKeyA},
        QueryCase{"EveryKeyBelow",
                  {QStringLiteral("/s")},
                  u'\n' + kKeyA + QStringLiteral("    V    REG_SZ    a\n\n") + kKeyB +
                      QStringLiteral("    V    REG_SZ    b\n\n")},
        QueryCase{
            "OneValueEverywhereBelow",
            {QStringLiteral("/v"), QStringLiteral("V"), QStringLiteral("/s")},
            u'\n' + kKeyA + QStringLiteral("    V    REG_SZ    a\n\n") + kKeyB +
                QStringLiteral("    V    REG_SZ    b\n\nEnd of search: 2 match(es) found.\n")},
        QueryCase{"DefaultValueNotSet",
                  {QStringLiteral("/ve")},
                  QStringLiteral("\nHKEY_CURRENT_USER\\Software\\Q\n"
                                 "    (Default)    REG_SZ    (value not set)\n")}),
    [](const auto& info) { return std::string(info.param.name); });

// Each operation's usage and only the switches it takes.
TEST_F(VindrelRegTest, HelpOfOneOperationShowsItsUsage) {
    const QList<std::pair<QString, QStringList>> operations = {
        {QStringLiteral("query"), {"/v", "/s"}},
        {QStringLiteral("add"), {"/v", "/s", "/t", "/d", "/f"}},
        {QStringLiteral("delete"), {"/v", "/f"}},
        {QStringLiteral("export"), {"/y", "/utf8"}},
        {QStringLiteral("import"), {}}};
    const QStringList all = {"/v", "/s", "/t", "/d", "/f", "/y", "/utf8"};
    for (const auto& [operation, switches] : operations) {
        EXPECT_EQ(run({operation, QStringLiteral("/?")}), 0);
        EXPECT_TRUE(output.startsWith(QStringLiteral("  vindrel-reg ") + operation))
            << output.toStdString();
        EXPECT_EQ(output.count(QStringLiteral("vindrel-reg ")), 1) << output.toStdString();
        for (const QString& name : all)
            EXPECT_EQ(output.contains(QStringLiteral("\n  ") + name + u' '),
                      switches.contains(name))
                << operation.toStdString() << ' ' << name.toStdString();
    }
}

TEST_F(VindrelRegTest, AddWithoutANameSetsTheDefaultValue) {
    EXPECT_EQ(run({QStringLiteral("add"), QStringLiteral("HKCU\\") + kSettings}), 0);
    EXPECT_EQ(run({QStringLiteral("add"), QStringLiteral("HKCU\\") + kAlarms, QStringLiteral("/d"),
                   QStringLiteral("x")}),
              0);
    EXPECT_EQ(storedValues(*hive, kSettings),
              (QList<StoredValue>{{QString(), Hive::kRegSz, sz("")}}));
    EXPECT_EQ(storedValues(*hive, kAlarms),
              (QList<StoredValue>{{QString(), Hive::kRegSz, sz("x")}}));
}

TEST_F(VindrelRegTest, MissingKeysAndValuesAreErrors) {
    seedExample();
    EXPECT_EQ(run({QStringLiteral("query"), QStringLiteral("HKCU\\Software\\Elsewhere")}), 1);
    EXPECT_TRUE(errors.contains(QStringLiteral("unable to find")));
    EXPECT_EQ(run({QStringLiteral("query"), QStringLiteral("HKCU\\") + kSettings,
                   QStringLiteral("/v"), QStringLiteral("Z")}),
              1);
    EXPECT_EQ(run({QStringLiteral("delete"), QStringLiteral("HKCU\\") + kSettings,
                   QStringLiteral("/v"), QStringLiteral("Z"), QStringLiteral("/f")}),
              1);
    EXPECT_TRUE(output.isEmpty());
}

struct BadArguments {
    const char* name;
    QStringList arguments;
};

// "add HKCU\Software\Brambleton\Vindrel /v X" and the switches, written apart by spaces.
QStringList addingX(const char* switches) {
    return QStringList{QStringLiteral("add"), QStringLiteral("HKCU\\") + kSettings,
                       QStringLiteral("/v"), QStringLiteral("X")} +
           QString::fromLatin1(switches).split(u' ');
}

class VindrelRegArguments : public VindrelRegTest,
                            public ::testing::WithParamInterface<BadArguments> {};

TEST_P(VindrelRegArguments, AreRefusedWithAnError) {
    EXPECT_EQ(run(GetParam().arguments), 1);
    EXPECT_FALSE(errors.isEmpty());
    EXPECT_TRUE(storedValues(*hive, kSettings).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VindrelRegArguments,
    ::testing::Values(
        BadArguments{"UnknownOperation", {QStringLiteral("copy")}},
        BadArguments{"NoKey", {QStringLiteral("query")}},
        BadArguments{"AnotherRoot", {QStringLiteral("query"), QStringLiteral("HKLM\\Software")}},
        BadArguments{"EmptyLevel",
                     {QStringLiteral("query"), QStringLiteral("HKCU\\Software\\\\Brambleton")}},
        BadArguments{"SwitchOfAnotherOperation",
                     {QStringLiteral("query"), QStringLiteral("HKCU\\Software"),
                      QStringLiteral("/t"), QStringLiteral("REG_SZ")}},
        BadArguments{
            "NameMissing",
            {QStringLiteral("add"), QStringLiteral("HKCU\\Software"), QStringLiteral("/v")}},
        BadArguments{"UnknownType",
                     {QStringLiteral("add"), QStringLiteral("HKCU\\Software\\Brambleton\\Vindrel"),
                      QStringLiteral("/v"), QStringLiteral("X"), QStringLiteral("/t"),
                      QStringLiteral("REG_WORD"), QStringLiteral("/d"), QStringLiteral("1")}},
        BadArguments{"DwordNotANumber",
                     {QStringLiteral("add"), QStringLiteral("HKCU\\Software\\Brambleton\\Vindrel"),
                      QStringLiteral("/v"), QStringLiteral("X"), QStringLiteral("/t"),
                      QStringLiteral("REG_DWORD"), QStringLiteral("/d"), QStringLiteral("-1")}},
        BadArguments{"DwordTooLarge",
                     {QStringLiteral("add"), QStringLiteral("HKCU\\Software\\Brambleton\\Vindrel"),
                      QStringLiteral("/v"), QStringLiteral("X"), QStringLiteral("/t"),
                      QStringLiteral("REG_DWORD"), QStringLiteral("/d"),
                      QStringLiteral("4294967296")}},
        BadArguments{"ForceTwice", addingX("/f /f")},
        BadArguments{"DataTwice", addingX("/d 1 /d 2")},
        BadArguments{"MultiWithAnEmptyPart", addingX("/t REG_MULTI_SZ /d a\\0\\0b")},
        BadArguments{"SeparatorOfTwoCharacters", addingX("/t REG_MULTI_SZ /s ## /d a##b")},
        BadArguments{"QwordNegativeHex", addingX("/t REG_QWORD /d -0x1")},
        BadArguments{"QwordMinusAlone", addingX("/t REG_QWORD /d -")},
        // One below the least 64-bit number would wrap round to the greatest.
        BadArguments{"QwordBelowItsRange", addingX("/t REG_QWORD /d -9223372036854775809")},
        BadArguments{"RootWithABackslash",
                     {QStringLiteral("add"), QStringLiteral("HKCU\\"), QStringLiteral("/v"),
                      QStringLiteral("X"), QStringLiteral("/d"), QStringLiteral("foo"),
                      QStringLiteral("/f")}},
        BadArguments{"ImportOfTwoFiles",
                     {QStringLiteral("import"), QStringLiteral("a.reg"), QStringLiteral("b.reg")}},
        BadArguments{"DeletingTheRoot",
                     {QStringLiteral("delete"), QStringLiteral("HKCU"), QStringLiteral("/f")}}),
    [](const auto& info) { return std::string(info.param.name); });

struct AddCase {
    const char* type;
    const char* data;
    quint32 stored;
    QByteArray bytes;
    const char* separator = nullptr; // /s
};

class VindrelRegAdd : public VindrelRegTest, public ::testing::WithParamInterface<AddCase> {};

TEST_P(VindrelRegAdd, StoresTheBytesOfItsType) {
    QStringList command = {QStringLiteral("add"), QStringLiteral("HKCU\\") + kSettings,
                           QStringLiteral("/v"),  QStringLiteral("V"),
                           QStringLiteral("/t"),  QString::fromLatin1(GetParam().type),
                           QStringLiteral("/d"),  QString::fromUtf8(GetParam().data)};
    if (GetParam().separator != nullptr)
        command << QStringLiteral("/s") << QString::fromLatin1(GetParam().separator);
    EXPECT_EQ(run(command), 0) << errors.toStdString();
    EXPECT_EQ(storedValues(*hive, kSettings),
              (QList<StoredValue>{{QStringLiteral("V"), GetParam().stored, GetParam().bytes}}));
}

INSTANTIATE_TEST_SUITE_P(
    Types, VindrelRegAdd,
    ::testing::Values(
        AddCase{"REG_SZ", "Wake", Hive::kRegSz, sz("Wake")},
        AddCase{"reg_sz", "", Hive::kRegSz, sz("")},
        AddCase{"REG_SZ", "\xC3\xA9t\xC3\xA9", Hive::kRegSz, sz("\xC3\xA9t\xC3\xA9")},
        AddCase{"REG_EXPAND_SZ", "%HOME%", Hive::kRegExpandSz, sz("%HOME%")},
        AddCase{"REG_DWORD", "1200", Hive::kRegDword, QByteArray("\xB0\x04\0\0", 4)},
        AddCase{"REG_DWORD", "0xFFFFFFFF", Hive::kRegDword, QByteArray("\xFF\xFF\xFF\xFF", 4)},
        AddCase{"REG_BINARY", "00ff10", Hive::kRegBinary, QByteArray("\0\xFF\x10", 3)},
        AddCase{"REG_BINARY", "", Hive::kRegBinary, QByteArray()},
        AddCase{"REG_BINARY", "abc", Hive::kRegBinary, QByteArray("\x0A\xBC", 2)},
        AddCase{"REG_DWORD_BIG_ENDIAN", "0x456", 5, QByteArray("\x56\x04\0\0", 4)},
        AddCase{"REG_QWORD", "0x123456789abcdef", Hive::kRegQword,
                QByteArray("\xEF\xCD\xAB\x89\x67\x45\x23\x01", 8)},
        AddCase{"REG_QWORD", "-1", Hive::kRegQword, QByteArray(8, '\xFF')},
        AddCase{"REG_QWORD", "-9223372036854775808", Hive::kRegQword,
                QByteArray("\0\0\0\0\0\0\0\x80", 8)},
        AddCase{"REG_NONE", "Te", Hive::kRegNone, QByteArray("T\0e\0\0\0", 6)},
        AddCase{"REG_MULTI_SZ", "one\\0two", Hive::kRegMultiSz, QByteArray("one\0two\0\0", 9)},
        AddCase{"REG_MULTI_SZ", "a#b#", Hive::kRegMultiSz, QByteArray("a\0b\0\0", 5), "#"},
        AddCase{"REG_MULTI_SZ", "", Hive::kRegMultiSz, QByteArray(1, '\0')}));

TEST_F(VindrelRegTest, AddAsksBeforeReplacingAValueUnlessForced) {
    seedExample();
    const QStringList add = {QStringLiteral("add"), QStringLiteral("HKCU\\") + kSettings,
                             QStringLiteral("/v"),  QStringLiteral("X"),
                             QStringLiteral("/d"),  QStringLiteral("300")};
    answers = QStringLiteral("n\n");
    EXPECT_EQ(run(add), 0);
    EXPECT_TRUE(output.contains(QStringLiteral("cancelled")));
    answers.clear();
    EXPECT_EQ(run(add), 0);
    EXPECT_EQ(storedValues(*hive, kSettings).value(0).data, sz("1200"));
    answers = QStringLiteral("yes\n");
    EXPECT_EQ(run(add), 0);
    EXPECT_EQ(storedValues(*hive, kSettings).value(0).data, sz("300"));
    EXPECT_EQ(run(add.mid(0, 5) + QStringList{QStringLiteral("600"), QStringLiteral("/f")}), 0);
    EXPECT_EQ(storedValues(*hive, kSettings).value(0).data, sz("600"));
}

TEST_F(VindrelRegTest, DeleteTakesAValueAllValuesOrTheWholeKey) {
    seedExample();
    const QString settings = QStringLiteral("HKCU\\") + kSettings;
    EXPECT_EQ(run({QStringLiteral("delete"), settings, QStringLiteral("/v"), QStringLiteral("x"),
                   QStringLiteral("/f")}),
              0);
    EXPECT_EQ(storedValues(*hive, kSettings).size(), 6);
    EXPECT_EQ(
        run({QStringLiteral("delete"), settings, QStringLiteral("/va"), QStringLiteral("/f")}), 0);
    EXPECT_TRUE(storedValues(*hive, kSettings).isEmpty());
    EXPECT_EQ(storedValues(*hive, kAlarms).size(), 10);
    EXPECT_EQ(run({QStringLiteral("delete"), settings, QStringLiteral("/f")}), 0);
    EXPECT_EQ(run({QStringLiteral("query"), QStringLiteral("HKCU\\Software\\Brambleton")}), 0);
    EXPECT_FALSE(output.contains(QStringLiteral("Vindrel")));
}

// Software\Deep\k\k...: a key `levels` levels below the root.
QString deepPath(int levels) {
    QString path = QStringLiteral("Software\\Deep");
    for (int level = 2; level < levels; ++level)
        path += QStringLiteral("\\k");
    return path;
}

bool hasKey(Hive::Store& store, const QString& path) {
    Hive::Key key;
    const bool found =
        store.openKey(Hive::Root::CurrentUser, path.toStdString(), key) == Hive::kSuccess;
    store.closeKey(key);
    return found;
}

struct FailedChange {
    const char* name;
    FaultyStore::Fault fault;
    int failAt;
};

void PrintTo(const FailedChange& change, std::ostream* out) {
    *out << change.name;
}

class VindrelRegFailedChange : public VindrelRegTest,
                               public ::testing::WithParamInterface<FailedChange> {};

// A disk that fills part way through an import, an add or a deletion: the command says
// so and the store keeps every value it had, none of the changes made before the failure.
TEST_P(VindrelRegFailedChange, KeepsNothingOfTheChangeAndSaysWhy) {
    seedExample();
    const QString reg =
        written(file("three.reg"), "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Brambleton\\Vindrel]\n"
                                   "\"X\"=\"1\"\n\"New\"=dword:00000001\n\"Y\"=-\n");
    const QString settings = QStringLiteral("HKCU\\") + kSettings;
    const QList<QStringList> commands = {
        {QStringLiteral("import"), reg},
        {QStringLiteral("add"), settings, QStringLiteral("/v"), QStringLiteral("X"),
         QStringLiteral("/d"), QStringLiteral("300"), QStringLiteral("/f")},
        {QStringLiteral("add"), settings + QStringLiteral("\\Fresh"), QStringLiteral("/v"),
         QStringLiteral("X"), QStringLiteral("/d"), QStringLiteral("1")},
        {QStringLiteral("delete"), settings, QStringLiteral("/va"), QStringLiteral("/f")}};
    const QList<StoredValue> before = clockValues(*hive);
    for (const QStringList& command : commands) {
        FaultyStore faulty(*hive);
        faulty.fault = GetParam().fault;
        faulty.failAt = GetParam().failAt;
        EXPECT_EQ(run(command, &faulty), 1) << command.join(' ').toStdString();
        EXPECT_TRUE(errors.contains(QStringLiteral("The disk is full."))) << errors.toStdString();
        EXPECT_EQ(clockValues(*hive), before) << command.join(' ').toStdString();
    }
    EXPECT_FALSE(hasKey(*hive, kSettings + QStringLiteral("\\Fresh")));
}

INSTANTIATE_TEST_SUITE_P(Faults, VindrelRegFailedChange,
                         ::testing::Values(FailedChange{"FirstWrite", FaultyStore::Fault::Crash, 1},
                                           FailedChange{"SecondWrite", FaultyStore::Fault::Crash,
                                                        2},
                                           FailedChange{"Commit", FaultyStore::Fault::Commit, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

QByteArray regFileMaking(const QString& path) {
    return "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\" + path.toUtf8() +
           "]\n\"X\"=\"1\"\n";
}

struct DeepKeyCase {
    const char* name;
    int seeded; // levels of the key under Software\Deep made first; 0 for none
    std::function<QStringList(const QDir& folder)> command;
    int status;
    int left;            // levels of the key under Software\Deep afterwards; 0 when it is gone
    bool passed = false; // passed over with a warning by an import that goes on
};

void PrintTo(const DeepKeyCase& c, std::ostream* out) {
    *out << c.name;
}

class VindrelRegDeepKeys : public VindrelRegTest,
                           public ::testing::WithParamInterface<DeepKeyCase> {};

// The registry holds keys at most 512 levels deep: none deeper is made, and one already deeper
// is deleted whole, however deep, but never exported, since no import would take it back.
TEST_P(VindrelRegDeepKeys, AreMadeTo512LevelsAndDeletedFromAnyDepth) {
    if (GetParam().seeded > 0)
        storeRaw(*hive, deepPath(GetParam().seeded), QStringLiteral("X"), Hive::kRegSz, sz("1"));
    const QStringList command = GetParam().command(QDir(folder.path()));
    EXPECT_EQ(run(command), GetParam().status) << errors.toStdString();
    // Refused, or passed over in an import that goes on, always saying why.
    EXPECT_EQ(errors.contains(QStringLiteral("512")), GetParam().status != 0 || GetParam().passed)
        << errors.toStdString();
    const int left = GetParam().left;
    EXPECT_EQ(hasKey(*hive, left > 0 ? deepPath(left) : QStringLiteral("Software\\Deep")),
              left > 0);
    EXPECT_FALSE(hasKey(*hive, deepPath(left + 1)));
    if (command[0] == QLatin1String("export")) {
        EXPECT_EQ(QFile::exists(file("out.reg")), GetParam().status == 0);
    }
}

QStringList importing(const QDir& folder, const QByteArray& text) {
    return {QStringLiteral("import"), written(folder.filePath(QStringLiteral("in.reg")), text)};
}

QStringList exportingAll(const QDir& folder) {
    return {QStringLiteral("export"), QStringLiteral("HKCU"),
            folder.filePath(QStringLiteral("out.reg"))};
}

QStringList onKey(const char* verb, int levels, const QStringList& switches = {}) {
    return QStringList{QString::fromLatin1(verb), QStringLiteral("HKCU\\") + deepPath(levels)} +
           switches;
}

const QStringList kForced = {QStringLiteral("/f")};

INSTANTIATE_TEST_SUITE_P(
    Cases, VindrelRegDeepKeys,
    ::testing::Values(
        DeepKeyCase{"Import512", 0,
                    [](const auto& t) { return importing(t, regFileMaking(deepPath(512))); }, 0,
                    512},
        DeepKeyCase{"Import513", 0,
                    [](const auto& t) { return importing(t, regFileMaking(deepPath(513))); }, 0, 0,
                    true},
        DeepKeyCase{"Add512", 0, [](const auto&) { return onKey("add", 512, kForced); }, 0, 512},
        DeepKeyCase{"Add513", 0, [](const auto&) { return onKey("add", 513, kForced); }, 1, 0},
        // Past SQLite's 1000 trigger levels, which a cascade from the top would run through.
        DeepKeyCase{"DeleteOf1500", 1500, [](const auto&) { return onKey("delete", 2, kForced); },
                    0, 0},
        DeepKeyCase{"DeleteOfAKey1000Deep", 1500,
                    [](const auto&) { return onKey("delete", 1000, kForced); }, 0, 999},
        DeepKeyCase{"StrikeOutOf1500", 1500,
                    [](const auto& t) {
                        return importing(t, "Windows Registry Editor Version 5.00\n\n"
                                            "[-HKEY_CURRENT_USER\\Software\\Deep]\n");
                    },
                    0, 0},
        DeepKeyCase{"ExportOf512", 512, exportingAll, 0, 512},
        DeepKeyCase{"ExportOf513", 513, exportingAll, 1, 513}),
    [](const auto& info) { return std::string(info.param.name); });

// Counts the levels of every key path made or opened: the walks to keys.
class LevelsWalked final : public CountingStore {
public:
    using CountingStore::CountingStore;

    Hive::Status createKey(Hive::Root root, std::string_view path, Hive::Key& key) override {
        count(path);
        return CountingStore::createKey(root, path, key);
    }
    Hive::Status openKey(Hive::Root root, std::string_view path, Hive::Key& key) override {
        count(path);
        return CountingStore::openKey(root, path, key);
    }

    qsizetype levels = 0;

private:
    void count(std::string_view path) { levels += std::ranges::count(path, '\\') + 1; }
};

// Each value had walked the key's 512 levels again: a file of small lines under a deep key
// took minutes.
TEST_F(VindrelRegTest, ImportWalksToAKeyOnceForAllItsValues) {
    const QByteArray text = regFileMaking(deepPath(512)) + QByteArray("@=-\n").repeated(1000);
    LevelsWalked walks(*hive);
    EXPECT_EQ(run(importing(QDir(folder.path()), text), &walks), 0) << errors.toStdString();
    EXPECT_LT(walks.levels, 10 * 512);
    EXPECT_EQ(storedValues(*hive, deepPath(512)).size(), 1);
}

// A key whose name a file's key line must carry whole: its line ends at the last ']'.
const QString kOddKey = kAlarms + QStringLiteral("\\-[a]b];c]");

// Every type, and text the quoted form cannot carry, in nested keys.
void seedEveryKind(Hive::Store& store) {
    const QList<StoredValue> values = {
        {QStringLiteral("Text"), Hive::kRegSz, sz("Wake \"up\" \\ now")},
        {QStringLiteral("Empty"), Hive::kRegSz, sz("")},
        {QString(), Hive::kRegSz, sz("default")},
        {QStringLiteral("\u00C9t\u00E9"), Hive::kRegSz, sz("\xC3\xA9t\xC3\xA9")},
        {QStringLiteral("NoNul"), Hive::kRegSz, QByteArray("abc")},
        {QStringLiteral("TwoLines"), Hive::kRegSz, sz("one\ntwo")},
        {QStringLiteral("InnerNul"), Hive::kRegSz, QByteArray("a\0b\0", 4)},
        {QStringLiteral("SizeZero"), Hive::kRegSz, QByteArray()},
        {QStringLiteral("Dword"), Hive::kRegDword, QByteArray("\x2C\x01\0\0", 4)},
        {QStringLiteral("ShortDword"), Hive::kRegDword, QByteArray("\x07", 1)},
        {QStringLiteral("Binary"), Hive::kRegBinary, QByteArray(100, '\x5A')},
        {QStringLiteral("NoBytes"), Hive::kRegBinary, QByteArray()},
        {QStringLiteral("Expand"), Hive::kRegExpandSz, sz("%HOME%/Skins")},
        {QStringLiteral("Multi"), Hive::kRegMultiSz, QByteArray("a\0bc\0\0", 6)},
        {QStringLiteral("Qword"), Hive::kRegQword, QByteArray("\1\2\3\4\5\6\7\x08", 8)},
        {QStringLiteral("None"), Hive::kRegNone, QByteArray("\x01", 1)},
        {QStringLiteral("\"[x]\\y\\\";=@ "), Hive::kRegSz, sz("\\\"")},
    };
    for (const StoredValue& value : values)
        storeRaw(store, kSettings, value.name, value.type, value.data);
    storeRaw(store, kAlarms, QStringLiteral("01.Name"), Hive::kRegSz, sz("Wake"));
    storeRaw(store, kAlarms + QStringLiteral("\\Deeper"), QStringLiteral("X"), Hive::kRegSz,
             sz(""));
    storeRaw(store, kOddKey, QStringLiteral("X"), Hive::kRegSz, sz("]"));
}

TEST_F(VindrelRegTest, ExportAndImportGiveBackEveryValueByteForByte) {
    seedEveryKind(*hive);
    const QString reg = file("settings.reg");
    ASSERT_EQ(run({QStringLiteral("export"), QStringLiteral("HKCU\\Software\\Brambleton"), reg}),
              0);
    auto fresh = Hive::SqliteHive::inMemory();
    ASSERT_EQ(run({QStringLiteral("import"), reg}, fresh.get()), 0) << errors.toStdString();
    // As on Windows, a text stored without its NUL comes back with one.
    storeRaw(*hive, kSettings, QStringLiteral("NoNul"), Hive::kRegSz, sz("abc"));
    storeRaw(*hive, kSettings, QStringLiteral("SizeZero"), Hive::kRegSz, sz(""));
    for (const QString& key : {kSettings, kAlarms, kAlarms + QStringLiteral("\\Deeper"), kOddKey})
        EXPECT_EQ(storedValues(*fresh, key), storedValues(*hive, key)) << key.toStdString();
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray utf16WithBom(const QString& text) {
    QByteArray bytes("\xFF\xFE", 2);
    for (const QChar c : text)
        bytes.append(static_cast<char>(c.unicode() & 0xFF))
            .append(static_cast<char>(c.unicode() >> 8));
    return bytes;
}

// regedit's own encoding, which Windows reads with every letter intact; or plain UTF-8.
TEST_F(VindrelRegTest, ExportWritesTheRegeditFormat) {
    storeRaw(*hive, kAlarms, QStringLiteral("01.Name"), Hive::kRegSz, sz("R\xC3\xA9veil"));
    storeRaw(*hive, kAlarms, QStringLiteral("01.Hour"), Hive::kRegDword,
             QByteArray("\x07\0\0\0", 4));
    storeRaw(*hive, kAlarms, QStringLiteral("Bytes"), Hive::kRegBinary, QByteArray("\x01\xAB", 2));
    storeRaw(*hive, kAlarms, QStringLiteral("Path"), Hive::kRegExpandSz, sz("%A%"));
    storeRaw(*hive, kAlarms, QStringLiteral("NoNul"), Hive::kRegSz, QByteArray("abc"));
    storeRaw(*hive, kAlarms, QStringLiteral("NoBytes"), Hive::kRegSz, QByteArray());
    storeRaw(*hive, kAlarms, QStringLiteral("Short"), Hive::kRegDword, QByteArray("\x07\0", 2));
    storeRaw(*hive, kAlarms, QStringLiteral("Long"), Hive::kRegBinary, QByteArray(50, '\x5A'));
    const QString text =
        QStringLiteral("Windows Registry Editor Version 5.00\n"
                       "\n"
                       "[HKEY_CURRENT_USER\\Software\\Brambleton\\Vindrel\\Alarms]\n"
                       "\"01.Name\"=\"R\u00E9veil\"\n"
                       "\"01.Hour\"=dword:00000007\n"
                       "\"Bytes\"=hex:01,ab\n"
                       "\"Path\"=hex(2):25,00,41,00,25,00,00,00\n"
                       "\"NoNul\"=\"abc\"\n"
                       "\"NoBytes\"=\"\"\n"
                       "\"Short\"=hex(4):07,00\n"
                       "\"Long\"=hex:") +
        QStringLiteral("5a,").repeated(22) + QStringLiteral("\\\n  ") +
        QStringLiteral("5a,").repeated(25) + QStringLiteral("\\\n  5a,5a,5a\n\n");
    const QString reg = file("alarms.reg");
    ASSERT_EQ(run({QStringLiteral("export"), QStringLiteral("HKCU\\") + kAlarms, reg}), 0);
    EXPECT_EQ(readAll(reg), utf16WithBom(QString(text).replace(u'\n', QLatin1String("\r\n"))));
    ASSERT_EQ(run({QStringLiteral("export"), QStringLiteral("HKCU\\") + kAlarms, reg,
                   QStringLiteral("/y"), QStringLiteral("/utf8")}),
              0);
    EXPECT_EQ(readAll(reg), text.toUtf8());
}

class VindrelRegUnexportable : public VindrelRegTest,
                               public ::testing::WithParamInterface<const char*> {};

// A name the file would give back otherwise, or not at all, is refused whole.
TEST_P(VindrelRegUnexportable, NamesAreRefusedAndNoFileIsWritten) {
    storeRaw(*hive, kSettings, QStringLiteral("X"), Hive::kRegSz, sz("0"));
    Hive::Key key;
    hive->openKey(Hive::Root::CurrentUser, kSettings.toStdString(), key);
    const std::string name(GetParam(),
                           std::string_view(GetParam()).size() + (GetParam()[0] == 'N' ? 2 : 0));
    hive->setValue(key, name, Hive::kRegSz, reinterpret_cast<const std::uint8_t*>("\0"), 1);
    hive->closeKey(key);
    const QString reg = file("refused.reg");
    EXPECT_EQ(run({QStringLiteral("export"), QStringLiteral("HKCU\\") + kSettings, reg}), 1);
    EXPECT_TRUE(errors.contains(QStringLiteral("nothing was exported"))) << errors.toStdString();
    EXPECT_FALSE(QFile::exists(reg));
}

INSTANTIATE_TEST_SUITE_P(Names, VindrelRegUnexportable,
                         ::testing::Values("Two\nLines", "Carriage\rReturn", "Nul\0in", "Bad\xFF"));

// Runs `meanwhile` once, as the listing of a key's values reaches the third.
class SavedMidListing final : public CountingStore {
public:
    SavedMidListing(Hive::Store& store, std::function<void()> meanwhile)
        : CountingStore(store), meanwhile_(std::move(meanwhile)) {}

    Hive::Status enumValue(Hive::Key key, std::uint32_t index, std::string& name,
                           std::uint32_t& type, std::vector<std::uint8_t>& data) override {
        if (index == 2 && meanwhile_)
            std::exchange(meanwhile_, nullptr)();
        return CountingStore::enumValue(key, index, name, type, data);
    }

private:
    std::function<void()> meanwhile_;
};

// The clock saving while vindrel-reg reads: what it shows or exports is one whole save.
TEST_F(VindrelRegTest, QueryAndExportReadOneStateWhileTheClockSaves) {
    const std::string path = folder.filePath(QStringLiteral("hkcu.sqlite3")).toStdString();
    Hive::OpenError error;
    const auto mine = Hive::SqliteHive::open(path, error);
    const auto clock = Hive::SqliteHive::open(path, error);
    storeExampleState(*mine);
    const QString reg = file("snapshot.reg");
    const QList<QStringList> commands = {
        {QStringLiteral("query"), QStringLiteral("HKCU\\") + kSettings},
        {QStringLiteral("export"), QStringLiteral("HKCU\\") + kSettings, reg,
         QStringLiteral("/utf8")}};
    int count = 2;
    for (const QStringList& command : commands) {
        SavedMidListing saving(*mine, [&] {
            storeRaw(*clock, kSettings, QStringLiteral("AlarmCount"), Hive::kRegSz,
                     QByteArray::number(++count) + '\0');
        });
        ASSERT_EQ(run(command, &saving), 0) << errors.toStdString();
        const QString shown = command[0] == QLatin1String("query")
                                  ? output
                                  : QString::fromUtf8(readAll(reg)).replace(u'"', QString());
        EXPECT_TRUE(shown.contains(QStringLiteral("AlarmCount    REG_SZ    %1\n").arg(count - 1)) ||
                    shown.contains(QStringLiteral("AlarmCount=%1\n").arg(count - 1)))
            << shown.toStdString();
    }
}

TEST_F(VindrelRegTest, ExportAsksBeforeReplacingAFile) {
    seedExample();
    const QString reg = file("exists.reg");
    QFile existing(reg);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("keep me");
    existing.close();
    EXPECT_EQ(run({QStringLiteral("export"), QStringLiteral("HKCU\\") + kSettings, reg}), 0);
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), QByteArray("keep me"));
}

TEST_F(VindrelRegTest, ImportReadsAFileWrittenOnWindows) {
    const QString text = QStringLiteral(
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "; written by regedit\r\n"
        "[HKEY_CURRENT_USER\\Software\\Brambleton\\Vindrel]\r\n"
        "\"UsedSkinPath\"=\"C:\\\\Clock\\\\Skins\\\\Night.vds\"\r\n"
        "\"Folder\"=hex(2):25,00,41,00,50,00,50,00,44,00,41,00,54,00,41,00,25,00,00,\\\r\n"
        "  00\r\n"
        "@=\"\"\r\n");
    QFile windowsFile(file("windows.reg"));
    ASSERT_TRUE(windowsFile.open(QIODevice::WriteOnly));
    windowsFile.write("\xFF\xFE", 2);
    windowsFile.write(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    windowsFile.close();
    ASSERT_EQ(run({QStringLiteral("import"), windowsFile.fileName()}), 0) << errors.toStdString();
    EXPECT_EQ(storedValues(*hive, kSettings),
              (QList<StoredValue>{
                  {QStringLiteral("UsedSkinPath"), Hive::kRegSz, sz("C:\\Clock\\Skins\\Night.vds")},
                  {QStringLiteral("Folder"), Hive::kRegExpandSz, sz("%APPDATA%")},
                  {QString(), Hive::kRegSz, sz("")}}));
}

struct ImportedFile {
    const char* name;
    QByteArray bytes;
    QByteArray stored; // what the value "V" of the settings key holds afterwards
    quint32 type = Hive::kRegSz;
};

class VindrelRegImport : public VindrelRegTest,
                         public ::testing::WithParamInterface<ImportedFile> {};

TEST_P(VindrelRegImport, ReadsTheFileAsRegeditWould) {
    const QString reg = file("in.reg");
    QFile in(reg);
    ASSERT_TRUE(in.open(QIODevice::WriteOnly));
    in.write(GetParam().bytes);
    in.close();
    ASSERT_EQ(run({QStringLiteral("import"), reg}), 0) << errors.toStdString();
    EXPECT_EQ(storedValues(*hive, kSettings),
              (QList<StoredValue>{{QStringLiteral("V"), GetParam().type, GetParam().stored}}));
}

QByteArray utf16BigEndianWithBom(const QByteArray& utf8) {
    QByteArray bytes("\xFE\xFF", 2);
    for (const QChar c : QString::fromUtf8(utf8))
        bytes.append(static_cast<char>(c.unicode() >> 8))
            .append(static_cast<char>(c.unicode() & 0xFF));
    return bytes;
}

void PrintTo(const ImportedFile& file, std::ostream* out) {
    *out << file.name;
}

const QByteArray kKeyLine = "[HKEY_CURRENT_USER\\Software\\Brambleton\\Vindrel]\r\n";
const QByteArray kVersion5 = "Windows Registry Editor Version 5.00\r\n" + kKeyLine;

INSTANTIATE_TEST_SUITE_P(
    Files, VindrelRegImport,
    ::testing::Values(
        ImportedFile{"AnsiWithoutAMark", kVersion5 + "\"V\"=\"Caf\xE9 \x80\"",
                     sz("Caf\xC3\xA9 \xE2\x82\xAC")},
        ImportedFile{"Utf8WithoutAMark", kVersion5 + "\"V\"=\"Caf\xC3\xA9\"", sz("Caf\xC3\xA9")},
        ImportedFile{"Utf8WithAMark", "\xEF\xBB\xBF" + kVersion5 + "\"V\"=\"Caf\xC3\xA9\"",
                     sz("Caf\xC3\xA9")},
        ImportedFile{"Utf16BigEndian", utf16BigEndianWithBom(kVersion5 + "\"V\"=\"\xC3\xA9\""),
                     sz("\xC3\xA9")},
        // Half a character has no form in the store's code page: the lines holding one go.
        ImportedFile{"Utf16WithHalfCharacters",
                     utf16WithBom(QString::fromUtf8(kVersion5 + "\"V\"=\"x\"\r\n\"A") +
                                  QChar(0xD800) + QStringLiteral("\"=\"1\"\r\n\"B\"=\"") +
                                  QChar(0xDC00) +
                                  QStringLiteral("\"\r\n\"C\"=hex(1):00,d8,00,00\r\n")),
                     sz("x")},
        ImportedFile{"Regedit4WithAnsiHexText",
                     "REGEDIT4\r\n" + kKeyLine + "\"V\"=hex(2):25,41,e9,25,00", sz("%A\xC3\xA9%"),
                     Hive::kRegExpandSz},
        ImportedFile{
            "LinesEndedByCrAlone",
            "Windows Registry Editor Version 5.00\r[HKEY_CURRENT_USER\\Software\\Brambleton"
            "\\Vindrel]\r\"V\"=\"x\"\r",
            sz("x")},
        ImportedFile{"BackslashesAsRegeditReadsThem",
                     kVersion5 + "\"V\"=\"C:\\\\Clock\\Skins\\n\\\"x\\\"\"",
                     sz("C:\\Clock\\Skins\\n\"x\"")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VindrelRegTest, ImportDeletesWhatTheFileStrikesOut) {
    seedExample();
    const QString reg = file("removals.reg");
    QFile removals(reg);
    ASSERT_TRUE(removals.open(QIODevice::WriteOnly));
    removals.write("Windows Registry Editor Version 5.00\n\n"
                   "[-HKEY_CURRENT_USER\\Software\\Brambleton\\Vindrel\\Alarms]\n\n"
                   "[HKEY_CURRENT_USER\\Software\\Brambleton\\Vindrel]\n\"X\"=-\n");
    removals.close();
    EXPECT_EQ(run({QStringLiteral("import"), reg}), 0);
    EXPECT_EQ(storedValues(*hive, kSettings).size(), 6);
    EXPECT_TRUE(storedValues(*hive, kAlarms).isEmpty());
}

struct BadFile {
    const char* name;
    const char* text;
    int line = 0; // the file's line the error names; 0 for none
};

class VindrelRegBadFile : public VindrelRegTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(VindrelRegBadFile, ImportsNothingAndSaysWhere) {
    seedExample();
    const QList<StoredValue> before = storedValues(*hive, kSettings);
    const QString reg = file("bad.reg");
    QFile bad(reg);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(GetParam().text);
    bad.close();
    EXPECT_EQ(run({QStringLiteral("import"), reg}), 1);
    EXPECT_TRUE(errors.contains(QStringLiteral("Nothing was imported")));
    const QString where = QStringLiteral("line %1:").arg(GetParam().line);
    EXPECT_TRUE(GetParam().line == 0 || errors.contains(where)) << errors.toStdString();
    EXPECT_EQ(storedValues(*hive, kSettings), before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, VindrelRegBadFile,
    ::testing::Values(
        BadFile{"NoHeader", "[HKEY_CURRENT_USER\\Software\\Brambleton\\Vindrel]\n\"X\"=\"1\"\n"},
        BadFile{"Empty", ""},
        BadFile{"HeaderOnTheSecondLine",
                "\nREGEDIT4\n[HKEY_CURRENT_USER\\Software\\Brambleton\\Vindrel]\n\"X\"=\"1\"\n", 1},
        BadFile{"HeaderWithTextAfterIt",
                "Windows Registry Editor Version 5.00 \n"
                "[HKEY_CURRENT_USER\\Software\\Brambleton\\Vindrel]\n\"X\"=\"1\"\n",
                1}),
    [](const auto& info) { return std::string(info.param.name); });

struct SkippingFile {
    const char* name;
    QByteArray lines;          // after the header and the settings key's line
    QList<StoredValue> stored; // the settings key's values afterwards
    int line = 0;              // the file's line a warning names; 0 for none
};

void PrintTo(const SkippingFile& file, std::ostream* out) {
    *out << file.name;
}

class VindrelRegSkipping : public VindrelRegTest,
                           public ::testing::WithParamInterface<SkippingFile> {};

// As regedit: what can be read is imported, a line that cannot is passed over and named.
TEST_P(VindrelRegSkipping, ImportsWhatItCanReadAndNamesTheRest) {
    const QString reg =
        written(file("in.reg"), "Windows Registry Editor Version 5.00\n\n"
                                "[HKEY_CURRENT_USER\\Software\\Brambleton\\Vindrel]\n" +
                                    GetParam().lines);
    EXPECT_EQ(run({QStringLiteral("import"), reg}), 0) << errors.toStdString();
    EXPECT_EQ(storedValues(*hive, kSettings), GetParam().stored);
    if (GetParam().line == 0)
        EXPECT_TRUE(errors.isEmpty()) << errors.toStdString();
    else
        EXPECT_TRUE(errors.contains(QStringLiteral("line %1:").arg(GetParam().line)))
            << errors.toStdString();
}

StoredValue szValue(const char* name, const char* text) {
    return {QString::fromLatin1(name), Hive::kRegSz, sz(text)};
}

StoredValue bytesValue(const char* name, QByteArray bytes) {
    return {QString::fromLatin1(name), Hive::kRegBinary, std::move(bytes)};
}

INSTANTIATE_TEST_SUITE_P(
    Files, VindrelRegSkipping,
    ::testing::Values(
        SkippingFile{"CommentsAfterData",
                     "\"A\"=\"1\" ;note\n\"B\"=dword:00000002;note\n",
                     {szValue("A", "1"),
                      {QStringLiteral("B"), Hive::kRegDword, QByteArray("\x02\0\0\0", 4)}}},
        SkippingFile{"CommentAfterADeletion",
                     "\"A\"=\"1\"\n\"A\"=- ;gone\n\"B\"=\"2\"\n",
                     {szValue("B", "2")}},
        SkippingFile{
            "BlanksAroundTheEqualsSign",
            "\"A\" \t= \"1\"\n@ =dword:\t0000000a\n",
            {szValue("A", "1"), {QString(), Hive::kRegDword, QByteArray("\x0a\0\0\0", 4)}}},
        SkippingFile{"BlanksBeforeTheBackslash",
                     "\"B\"=hex:01,02, \t\\\n  03\n",
                     {bytesValue("B", "\x01\x02\x03")}},
        SkippingFile{"TrailingComma", "\"B\"=hex:01,02,\n", {bytesValue("B", "\x01\x02")}},
        SkippingFile{"CommentAndBlankLinesInAList",
                     "\"B\"=hex:01,\\ ;first\n\n  ;more\n  02,\\\n\t\n  03\n",
                     {bytesValue("B", "\x01\x02\x03")}},
        SkippingFile{
            "FileEndsAfterTheBackslash", "\"B\"=hex:01,02,\\", {bytesValue("B", "\x01\x02")}},
        SkippingFile{
            "LinesStartingWithHash", "#\"A\"=\"1\"\n  # note\n\"B\"=\"2\"\n", {szValue("B", "2")}},
        SkippingFile{"BadLineBetweenGoodOnes",
                     "\"A\"=\"1\"\n\"B\"=hex:0g\n\"C\"=\"3\"\n",
                     {szValue("A", "1"), szValue("C", "3")},
                     5},
        SkippingFile{
            "ValueBeforeAnyKey", "[-HKEY_CURRENT_USER\\Software\\Other]\n\"X\"=\"1\"\n", {}, 5},
        SkippingFile{"AnotherRoot",
                     "\"X\"=\"5\"\n[HKEY_LOCAL_MACHINE\\Software]\n\"Y\"=\"6\"\n",
                     {szValue("X", "5")},
                     5},
        SkippingFile{"UnclosedText", "\"X\"=\"5\n\"Y\"=\"6\"\n", {szValue("Y", "6")}, 4},
        SkippingFile{"OddLengthUtf16", "\"P\"=hex(2):25,00,41\n", {}, 4},
        SkippingFile{"ErrorAfterContinuedLines",
                     "\"B\"=hex:01,\\\n  02,\\\n  03\n\n\"C\"=dword:xyz\n",
                     {bytesValue("B", "\x01\x02\x03")},
                     8},
        SkippingFile{"DwordWithAPrefix", "\"D\"=dword:0x123\n\"E\"=dword:123456789\n", {}, 4},
        SkippingFile{"HexTypeWithAPrefix", "\"T\"=hex(0x2):41,00,00,00\n", {}, 4},
        SkippingFile{
            "EscapedNulInText", "\"S\"=\"a\\0b\"\n\"T\"=\"a\\\\0b\"\n", {szValue("T", "a\\0b")}, 4},
        SkippingFile{"ListLineOfABackslashAlone",
                     "\"B\"=hex:01,\\\n\\\n  02\n\"C\"=\"3\"\n",
                     {szValue("C", "3")},
                     5},
        // A NUL would end the name early on Windows, and no file could name it again.
        SkippingFile{"NulInNames",
                     QByteArrayLiteral("[HKEY_CURRENT_USER\\Software\\Brambleton\\Vindrel\\N\0]\n"
                                       "\"D\"=\"4\"\n"
                                       "[HKEY_CURRENT_USER\\Software\\Brambleton\\Vindrel]\n"
                                       "\"A\0B\"=\"1\"\n\"C\"=\"3\"\n"),
                     {szValue("C", "3")},
                     4},
        // One past the registry's longest key and value names, then its longest value name.
        SkippingFile{"NamesLongerThanTheRegistryHolds",
                     "[-HKEY_CURRENT_USER\\Software\\" + QByteArray(257, 'k') +
                         "]\n[HKEY_CURRENT_USER\\Software\\" + QByteArray(257, 'k') +
                         "]\n\"D\"=\"4\"\n[HKEY_CURRENT_USER\\Software\\Brambleton\\Vindrel]\n\"" +
                         QByteArray(16384, 'v') + "\"=\"1\"\n\"" + QByteArray(16383, 'v') +
                         "\"=\"2\"\n\"C\"=\"3\"\n",
                     {{QString(16383, u'v'), Hive::kRegSz, sz("2")}, szValue("C", "3")},
                     4},
        SkippingFile{"HexTextWithoutItsNul",
                     "\"P\"=hex(2):25,00,41,00\n\"S\"=hex(1):\n",
                     {{QStringLiteral("P"), Hive::kRegExpandSz, sz("%A")},
                      {QStringLiteral("S"), Hive::kRegSz, QByteArray()}}}),
    [](const auto& info) { return std::string(info.param.name); });

// A registry file of `size` bytes under the settings key: `start`, then `line` as often as it
// fits before `end`, then a comment of blanks.
QByteArray filledFile(const QByteArray& start, const QByteArray& line, const QByteArray& end,
                      qint64 size) {
    QByteArray text = kVersion5 + start;
    text.reserve(size);
    while (text.size() + line.size() + end.size() + 1 < size)
        text += line;
    text += end + ';';
    return text + QByteArray(size - text.size(), ' ');
}

// A registry file of `size` bytes, nearly all of it one value's bytes 5a in regedit's list.
QByteArray hexFile(qint64 size) {
    return filledFile("\"Bytes\"=hex:", "  " + QByteArray("5a,").repeated(25) + "\\\r\n",
                      "  5a\r\n", size);
}

struct UnreadableFile {
    const char* name;
    std::function<QString(const QString& path)> make; // makes it at the path; its path
    const char* says;
};

void PrintTo(const UnreadableFile& file, std::ostream* out) {
    *out << file.name;
}

class VindrelRegUnreadable : public VindrelRegTest,
                             public ::testing::WithParamInterface<UnreadableFile> {};

// Read, they would block, never end or take memory beyond any file's.
TEST_P(VindrelRegUnreadable, AreRefusedAndImportNothing) {
    seedExample();
    const QList<StoredValue> before = storedValues(*hive, kSettings);
    EXPECT_EQ(run({QStringLiteral("import"), GetParam().make(file("in.reg"))}), 1);
    EXPECT_TRUE(errors.contains(QString::fromLatin1(GetParam().says))) << errors.toStdString();
    // Not compared by EXPECT_EQ, which would print every byte of a flood that got in.
    EXPECT_TRUE(storedValues(*hive, kSettings) == before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, VindrelRegUnreadable,
    ::testing::Values(UnreadableFile{"Fifo",
                                     [](const QString& path) {
                                         mkfifo(QFile::encodeName(path).constData(), 0600);
                                         return path;
                                     },
                                     "not a file"},
                      UnreadableFile{"EndlessDevice",
                                     [](const QString& path) {
                                         QFile::link(QStringLiteral("/dev/zero"), path);
                                         return path;
                                     },
                                     "not a file"},
                      UnreadableFile{"Folder",
                                     [](const QString& path) {
                                         QDir().mkdir(path);
                                         return path;
                                     },
                                     "not a file"},
                      UnreadableFile{"OverTheLimit",
                                     [](const QString& path) {
                                         return written(path, hexFile(kMaxRegFileBytes + 1));
                                     },
                                     "larger than the 16 MiB"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ExportTarget {
    const char* name;
    std::function<bool(const QString& path)> make; // false when it cannot be made here
    bool replaced; // by the export; otherwise it is refused and left as it is
    const char* refusal = "not a file";
};

void PrintTo(const ExportTarget& target, std::ostream* out) {
    *out << target.name;
}

class VindrelRegExportTarget : public VindrelRegTest,
                               public ::testing::WithParamInterface<ExportTarget> {};

// Written as an editor saves, to a new file renamed over the old: a rename over a pipe, device
// or folder would put a file in its place.
TEST_P(VindrelRegExportTarget, OnlyAFileIsReplacedAndWhole) {
    seedExample();
    const QString target = file("target");
    if (!GetParam().make(target))
        GTEST_SKIP() << "it cannot be made here";
    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &before), 0);
    const int status = run({QStringLiteral("export"), QStringLiteral("HKCU\\") + kSettings, target,
                            QStringLiteral("/y"), QStringLiteral("/utf8")});
    struct stat after {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &after), 0);
    const bool replaced = GetParam().replaced;
    EXPECT_EQ(status, replaced ? 0 : 1);
    EXPECT_EQ(after.st_ino == before.st_ino, !replaced);
    // A file put in its place keeps its permissions too.
    EXPECT_EQ(after.st_mode, before.st_mode);
    if (replaced) {
        EXPECT_TRUE(readAll(target).startsWith("Windows Registry Editor"));
    } else {
        EXPECT_TRUE(errors.contains(QLatin1String(GetParam().refusal))) << errors.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Targets, VindrelRegExportTarget,
    ::testing::Values(
        ExportTarget{"Fifo",
                     [](const QString& path) {
                         return mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
                     },
                     false},
        // A device of its own, like /dev/null: the real one is no test's to risk.
        ExportTarget{"Device",
                     [](const QString& path) {
                         return mknod(QFile::encodeName(path).constData(), S_IFCHR | 0600,
                                      makedev(1, 3)) == 0;
                     },
                     false},
        ExportTarget{"Folder", [](const QString& path) { return QDir().mkdir(path); }, false},
        // The store's file, or its write-ahead log, however named: all the settings would go.
        ExportTarget{"LinkToTheStore",
                     [](const QString& path) {
                         const QDir folder = QFileInfo(path).dir();
                         written(folder.filePath(QLatin1String(kStoreFile)), "SQLite");
                         return QFile::link(QLatin1String(kStoreFile), path);
                     },
                     false, "store's own file"},
        ExportTarget{"TheStoresLogByAnotherName",
                     [](const QString& path) {
                         QDir folder = QFileInfo(path).dir();
                         written(folder.filePath(QLatin1String(kStoreFile) + "-wal"), "log");
                         folder.mkdir(QStringLiteral("sub"));
                         return QFile::link(QStringLiteral("sub/../") + kStoreFile + "-wal", path);
                     },
                     false, "store's own file"},
        ExportTarget{"RegularFile",
                     [](const QString& path) {
                         QFile file(path);
                         return file.open(QIODevice::WriteOnly) && file.write("old") == 3;
                     },
                     true}),
    [](const auto& info) { return std::string(info.param.name); });

struct FileAtTheLimit {
    const char* name;
    QByteArray (*make)(); // a file of kMaxRegFileBytes
};

void PrintTo(const FileAtTheLimit& file, std::ostream* out) {
    *out << file.name;
}

class VindrelRegAtTheLimit : public ::testing::TestWithParam<FileAtTheLimit> {};

// Whatever the file holds: one large value, or millions of lines each a change or a warning.
TEST_P(VindrelRegAtTheLimit, ImportsAFileInAFewTimesItsSize) {
    QTemporaryDir folder;
    const QByteArray text = GetParam().make();
    const QString reg = written(folder.filePath(QStringLiteral("at-limit.reg")), text);
    ASSERT_EQ(QFileInfo(reg).size(), kMaxRegFileBytes);
    ChildProcess program({VINDREL_REG_PROGRAM, "import", QFile::encodeName(reg).toStdString()},
                         {"XDG_CONFIG_HOME=" + QFile::encodeName(folder.path()).toStdString()});
    // Only a guard against a hang, far beyond the seconds it takes.
    const ChildOutcome outcome = program.wait(std::chrono::minutes(5));
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
#if !defined(__SANITIZE_ADDRESS__)
    // About 3.5 times its size with the program's own; a string for each byte of the list, or
    // a change or a warning kept for each line, would take 10 to 50 times. The sanitizers' own
    // bookkeeping is left out.
    EXPECT_LT(outcome.peakRssKiB, 8 * kMaxRegFileBytes / 1024);
#endif
    Hive::OpenError error;
    const auto store = Hive::SqliteHive::open(
        folder.filePath(QStringLiteral("Brambleton/hkcu.sqlite3")).toStdString(), error);
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(storedValues(*store, kSettings).value(0).data.size(), text.count("5a"));
}

INSTANTIATE_TEST_SUITE_P(
    Files, VindrelRegAtTheLimit,
    ::testing::Values(FileAtTheLimit{"OneListOfBytes", [] { return hexFile(kMaxRegFileBytes); }},
                      FileAtTheLimit{
                          "KeyLines",
                          [] { return filledFile({}, "[HKCU\\S]\r\n", {}, kMaxRegFileBytes); }},
                      FileAtTheLimit{"LinesPassedOver",
                                     [] { return filledFile({}, "x\r\n", {}, kMaxRegFileBytes); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VindrelRegProgram, KeepsTheStoreInTheUsersConfigurationFolder) {
    QTemporaryDir config;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    const auto runProgram = [&](const QStringList& arguments) {
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(VINDREL_REG_PROGRAM), arguments);
        program.waitForFinished();
        return std::pair{program.exitCode(), QString::fromUtf8(program.readAllStandardOutput())};
    };
    const QString key = QStringLiteral("HKCU\\Software\\Brambleton\\Vindrel");
    EXPECT_EQ(runProgram({QStringLiteral("add"), key, QStringLiteral("/v"), QStringLiteral("X"),
                          QStringLiteral("/d"), QStringLiteral("1200")})
                  .first,
              0);
    EXPECT_TRUE(QFile::exists(config.filePath(QStringLiteral("Brambleton/hkcu.sqlite3"))));
    const auto [status, text] = runProgram({QStringLiteral("query"), key});
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(text.contains(QStringLiteral("    X    REG_SZ    1200\n")));
    EXPECT_EQ(
        runProgram({QStringLiteral("query"), key, QStringLiteral("/v"), QStringLiteral("Y")}).first,
        1);
}

// A file the system stops growing part way, as a full disk would (here by a limit on the size
// of the files the program writes): the export fails with the system's reason and leaves no file.
TEST(VindrelRegProgram, AnExportTheDiskCutsShortSaysWhyAndLeavesNoFile) {
    QTemporaryDir config;
    ASSERT_TRUE(QDir(config.path()).mkpath(QStringLiteral("Brambleton")));
    {
        Hive::OpenError error;
        const auto store = Hive::SqliteHive::open(
            config.filePath(QStringLiteral("Brambleton/hkcu.sqlite3")).toStdString(), error);
        ASSERT_NE(store, nullptr);
        // About 190 KB written as a hex list, far beyond the 50 KiB the program may write.
        storeRaw(*store, kSettings, QStringLiteral("Big"), Hive::kRegBinary,
                 QByteArray(64 * 1024, 'Z'));
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    const QString out = config.filePath(QStringLiteral("out/settings.reg"));
    ASSERT_TRUE(QDir(config.path()).mkdir(QStringLiteral("out")));
    QProcess program;
    program.setProcessEnvironment(environment);
    // The write past the limit fails with EFBIG once the signal it would raise is ignored.
    program.start(QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"),
                   QStringLiteral("trap '' XFSZ; ulimit -f 100; exec \"$0\" export \"$1\" \"$2\""),
                   QStringLiteral(VINDREL_REG_PROGRAM), QStringLiteral("HKCU\\") + kSettings, out});
    ASSERT_TRUE(program.waitForFinished());
    const QString errors = QString::fromUtf8(program.readAllStandardError());
    EXPECT_EQ(program.exitCode(), 1) << errors.toStdString();
    EXPECT_TRUE(errors.contains(QStringLiteral("File too large"))) << errors.toStdString();
    EXPECT_TRUE(QDir(config.filePath(QStringLiteral("out"))).isEmpty());
}

// An answer is read from the start of a line only: a stream without line ends is not an
// answer to wait for.
TEST(VindrelRegProgram, AnswersFromInputWithoutLineEndsCancel) {
    QTemporaryDir config;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    const QStringList add = {QStringLiteral("add"), QStringLiteral("HKCU\\Software\\Q"),
                             QStringLiteral("/v"), QStringLiteral("X"), QStringLiteral("/d")};
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(VINDREL_REG_PROGRAM), add + QStringList{QStringLiteral("1")});
    ASSERT_TRUE(program.waitForFinished());
    program.setStandardInputFile(QStringLiteral("/dev/zero"));
    program.start(QStringLiteral(VINDREL_REG_PROGRAM), add + QStringList{QStringLiteral("2")});
    // Only a guard against a hang (two minutes), far beyond the moment it takes.
    const bool finished = program.waitForFinished(120'000);
    if (!finished)
        program.kill();
    ASSERT_TRUE(finished);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(program.readAllStandardOutput().contains("cancelled"));
}

} // namespace
