// Hostile skins. Each is applied by a process of its own within the processor time and memory a
// picture may cost, while the folders around the Skins folder are watched for any file opened
// in them.

#include "core/PictureBudget.h"
#include "core/SkinPicture.h"
#include "core/SkinText.h"
#include "hive/SqliteHive.h"
#include <ChildProcess.h>
#include <HiveContents.h>
#include <HostilePictures.h>
#include <SkinFiles.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using namespace std::chrono_literals;
using namespace Hostile;
using VD_Core::kSkinHeader;

// The processor time a probe may take: far above what any row costs on a slow machine under
// the sanitizers (a picture's budget cuts its decoding at 200 ms), far below what any hostile
// picture costs uncut (the long GIF codes take about 85 s).
constexpr long kCpuLimitMs = 4 * VD_Core::kPictureCpuBudget.count();
// 64 MiB beyond the decoded picture, which Qt's allocation limit holds to 32 MiB.
constexpr long kGrowthLimitKiB = (64 + 32) * 1024;
// The address space the probe may take on top of that, for the threads and arenas of Qt's
// picture conversions; and a time after which it counts as hung, however busy the machine.
constexpr int kCapMiB = 256;
constexpr auto kTimeLimit = 60s;
constexpr qint64 kGigabyte = qint64(1) << 30;

enum class Outcome {
    TitleRefused, // the skin applies, but its title picture is refused and the title stays
    TitleLoaded,  // the skin applies with its title picture
    // Either of the two: the title picture costs too large a share of its budget for its fate
    // not to follow the machine's speed; bounded either way.
    TitleLoadedOrRefused,
    NothingChanges // the skin file is refused: pictures and sounds stay as they were
};

// Files opened or read in the watched folders, except the Skins folder itself (listed when a
// name is looked up ignoring case).
class OpenedOutside {
public:
    explicit OpenedOutside(const QStringList& folders)
        : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        for (const QString& folder : folders)
            inotify_add_watch(fd_, QFile::encodeName(folder).constData(), IN_OPEN | IN_ACCESS);
    }
    ~OpenedOutside() { ::close(fd_); }
    OpenedOutside(const OpenedOutside&) = delete;
    OpenedOutside& operator=(const OpenedOutside&) = delete;

    QStringList names() const {
        QStringList names;
        alignas(inotify_event) char buffer[16384];
        ssize_t got = 0;
        while ((got = ::read(fd_, buffer, sizeof buffer)) > 0) {
            for (char* at = buffer; at < buffer + got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                const QString name = event->len > 0 ? QFile::decodeName(event->name) : QString();
                if (name != QLatin1String("Skins") && !names.contains(name))
                    names << name;
                at += sizeof(inotify_event) + event->len;
            }
        }
        return names;
    }

private:
    int fd_;
};

// AddressSanitizer keeps freed memory aside for a while, where it counts as held: not in a
// probe, whose memory is measured.
std::string freedAtOnce() {
    const char* given = std::getenv("ASAN_OPTIONS");
    return std::string("ASAN_OPTIONS=") + (given != nullptr ? std::string(given) + ":" : "") +
           "quarantine_size_mb=0:thread_local_quarantine_size_kb=0";
}

class HostileSkinTest : public ::testing::Test {
protected:
    QTemporaryDir top;
    QString program = top.path();
    SkinFiles files{program};
    // Whether the Skins folder is the user's own rather than the program's.
    bool usersFolder = false;

    void SetUp() override {
        QDir().mkpath(files.folder());
        // Beside the Skins folder: a picture, and a folder whose name begins with "Skins".
        files.writePicture(QStringLiteral("../outside.png"), {100, 14}, Qt::green);
        files.writePicture(QStringLiteral("../Skins2/t.png"), {100, 14}, Qt::green);
        files.writePicture(QStringLiteral("ok.png"), {16, 16}, Qt::white);
    }

    QString skinNaming(const QString& title) const {
        return files.writeSkin(QStringLiteral("hostile.vds"),
                               skinLines(title, QStringLiteral("ok.png"), QStringLiteral("ok.png"),
                                         QStringLiteral("h.wav"), QStringLiteral("a.wav")));
    }

    QString expectedReport(Outcome outcome) const {
        if (outcome == Outcome::NothingChanges)
            return QStringLiteral("title #102030\nbackground none\nalarm #405060\n"
                                  "hour-sound unchanged\nalarm-sound unchanged\n");
        const QString title =
            outcome == Outcome::TitleLoaded ? QStringLiteral("#ffffff") : QStringLiteral("#102030");
        const QString skins = files.folder() + QLatin1Char('/');
        return QStringLiteral("title %1\nbackground #ffffff\nalarm #ffffff\nhour-sound %2h.wav\n"
                              "alarm-sound %2a.wav\n")
            .arg(title, skins);
    }

    // Runs the probe on the skin file, or "--list", checking its limits and that nothing
    // outside the Skins folder was opened; what it did, without its growth line.
    QString probe(const QString& skinFileOrList) const {
        const OpenedOutside watch({program, program + QStringLiteral("/Skins2")});
        ChildProcess probe(
            {VINDREL_SKIN_PROBE, program.toStdString(), std::to_string(kCapMiB),
             skinFileOrList.toStdString()},
            usersFolder ? std::vector<std::string>{freedAtOnce(), "SKIN_PROBE_USERS_FOLDER=1"}
                        : std::vector<std::string>{freedAtOnce()});
        const ChildOutcome result = probe.wait(kTimeLimit);
        EXPECT_FALSE(result.timedOut) << "not done within the time limit";
        EXPECT_TRUE(result.exited && result.exitCode == 0)
            << "the probe ended with status " << result.exitCode << ", signal " << result.signal;
        const QString report = QString::fromStdString(result.output);
        const qsizetype costAt = report.indexOf(QLatin1String("cpu-ms "));
        EXPECT_GE(costAt, 0) << "no report";
        const QStringList cost = report.mid(costAt).split(QLatin1Char('\n'));
        EXPECT_LE(cost.value(0).section(u' ', 1).toLong(), kCpuLimitMs)
            << "it took more processor time than a picture's budget";
        EXPECT_LE(cost.value(1).section(u' ', 1).toLong(), kGrowthLimitKiB)
            << "the memory grew beyond a picture's budget";
        EXPECT_EQ(watch.names().join(u' ').toStdString(), "") << "opened outside the Skins folder";
        return report.left(costAt);
    }

    void expectApplied(const QString& skinFile, Outcome outcome) const {
        const std::string report = probe(skinFile).toStdString();
        if (outcome != Outcome::TitleLoadedOrRefused) {
            EXPECT_EQ(report, expectedReport(outcome).toStdString());
            return;
        }
        EXPECT_THAT(report, ::testing::AnyOf(expectedReport(Outcome::TitleLoaded).toStdString(),
                                             expectedReport(Outcome::TitleRefused).toStdString()));
    }
};

void makeSparse(const QString& path, const QByteArray& start, qint64 size) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(start);
    ASSERT_TRUE(file.resize(size));
}

struct NameCase {
    const char* name;
    const char* value; // the title line's value
    Outcome outcome;
    std::function<void(const SkinFiles&)> make;
};

void PrintTo(const NameCase& c, std::ostream* out) {
    *out << c.name;
}

class HostilePictureName : public HostileSkinTest, public ::testing::WithParamInterface<NameCase> {
protected:
    void expectRowApplied() {
        if (GetParam().make)
            GetParam().make(files);
        expectApplied(skinNaming(QString::fromUtf8(GetParam().value)), GetParam().outcome);
    }
};

TEST_P(HostilePictureName, IsAppliedAsItsRuleSaysWithinTheLimits) {
    expectRowApplied();
}

// A user's own Skins folder is held to the same rules as the program's.
class HostileNameInUsersFolder : public HostilePictureName {
protected:
    HostileNameInUsersFolder() { usersFolder = true; }
};

TEST_P(HostileNameInUsersFolder, IsAppliedAsItsRuleSaysWithinTheLimits) {
    expectRowApplied();
}

void link(const char* target, const SkinFiles& f, const char* name) {
    QFile::link(QString::fromUtf8(target), f.folder() + QLatin1Char('/') + QLatin1String(name));
}

// A row whose title picture, in the file, is made by one of the generators.
NameCase hostilePicture(const char* name, const char* file, Outcome outcome,
                        QByteArray (*bytes)()) {
    return NameCase{name, file, outcome, [file, bytes](const SkinFiles& f) {
                        f.write(QString::fromLatin1(file), bytes());
                    }};
}

// Names that lead out of the Skins folder, or to what is no regular file.
const std::vector<NameCase> kNamesOut{
    NameCase{"UpOneLevel", "..\\outside.png", Outcome::TitleRefused, {}},
    NameCase{"UpTwoLevels", "..\\..\\outside.png", Outcome::TitleRefused, {}},
    NameCase{"SiblingFolderBeginningWithSkins", "..\\Skins2\\t.png", Outcome::TitleRefused, {}},
    NameCase{"SiblingThroughALink", "sib\\t.png", Outcome::TitleRefused,
             [](const SkinFiles& f) { link("../Skins2", f, "sib"); }},
    NameCase{"SiblingThroughALinkIgnoringCase", "SIB\\T.PNG", Outcome::TitleRefused,
             [](const SkinFiles& f) { link("../Skins2", f, "sib"); }},
    NameCase{"SymbolicLinkOut", "link.png", Outcome::TitleRefused,
             [](const SkinFiles& f) { link("../outside.png", f, "link.png"); }},
    NameCase{"Folder", "folder.png", Outcome::TitleRefused,
             [](const SkinFiles& f) { QDir().mkpath(f.folder() + QStringLiteral("/folder.png")); }},
    NameCase{"Fifo", "fifo.png", Outcome::TitleRefused,
             [](const SkinFiles& f) {
                 mkfifo(QFile::encodeName(f.folder() + QStringLiteral("/fifo.png")).constData(),
                        0600);
             }},
    NameCase{"DevZero", "zero.png", Outcome::TitleRefused,
             [](const SkinFiles& f) { link("/dev/zero", f, "zero.png"); }},
    NameCase{"FoundIgnoringCase", "OK.PNG", Outcome::TitleLoaded, {}}};

INSTANTIATE_TEST_SUITE_P(NamesOut, HostilePictureName, ::testing::ValuesIn(kNamesOut),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(NamesOut, HostileNameInUsersFolder, ::testing::ValuesIn(kNamesOut),
                         [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Names, HostilePictureName,
    ::testing::Values(
        NameCase{"ZeroBytes", "empty.png", Outcome::TitleRefused,
                 [](const SkinFiles& f) { f.write(QStringLiteral("empty.png"), {}); }},
        NameCase{
            "NotAPicture", "text.bmp", Outcome::TitleRefused,
            [](const SkinFiles& f) { f.write(QStringLiteral("text.bmp"), "just some text\r\n"); }},
        NameCase{"BitmapClaiming65535Square", "huge.bmp", Outcome::TitleRefused,
                 [](const SkinFiles& f) {
                     f.write(QStringLiteral("huge.bmp"), bitmapClaiming(65535, 65535));
                 }},
        NameCase{
            "PngClaiming65535Square", "huge.png", Outcome::TitleRefused,
            [](const SkinFiles& f) { f.write(QStringLiteral("huge.png"), pngClaiming65535()); }},
        NameCase{"OneSideTooLong", "long.png", Outcome::TitleRefused,
                 [](const SkinFiles& f) {
                     f.writePicture(QStringLiteral("long.png"), {VD_Core::kMaxPictureSide + 1, 1},
                                    Qt::white);
                 }},
        NameCase{"LargerThanThePictureLimit", "big.png", Outcome::TitleRefused,
                 [](const SkinFiles& f) {
                     const QString path =
                         f.writePicture(QStringLiteral("big.png"), {100, 14}, Qt::white);
                     QFile file(path);
                     file.open(QIODevice::Append);
                     file.write(QByteArray(VD_Core::kMaxPictureFileBytes, '\0'));
                 }},
        NameCase{"SparseGigabytePicture", "sparse.bmp", Outcome::TitleRefused,
                 [](const SkinFiles& f) {
                     makeSparse(f.folder() + QStringLiteral("/sparse.bmp"), bitmapClaiming(16, 16),
                                kGigabyte);
                 }},
        NameCase{"IconWith255Entries", "many.ico", Outcome::TitleLoaded,
                 [](const SkinFiles& f) {
                     f.write(QStringLiteral("many.ico"), iconListing(255, Qt::white));
                 }},
        NameCase{"IconWith255EntriesPastTheEnd", "past.ico", Outcome::TitleRefused,
                 [](const SkinFiles& f) {
                     f.write(QStringLiteral("past.ico"), iconListing(255, Qt::white, 100000));
                 }},
        // Every way a decoder can be made to amplify its input, each within a picture's budget.
        // Those loaded cost at most a quarter of it under the sanitizers here; the two floods
        // that cost more, loaded here, may be refused on a slower machine.
        hostilePicture("PngCompressedText", "text.png", Outcome::TitleLoaded,
                       [] { return pngRepeating(pngCompressedText(7'000'000), 100); }),
        hostilePicture("PngCompressedXmp", "xmp.png", Outcome::TitleLoaded,
                       [] { return pngRepeating(pngCompressedXmp(7'000'000), 100); }),
        hostilePicture("PngAncillaryChunkFlood", "chunks.png", Outcome::TitleLoaded,
                       [] {
                           return pngRepeating(pngChunk("tEXt", {"k\0v", 3}), 500'000);
                       }),
        hostilePicture("PngImageDataChunkFlood", "idat.png", Outcome::TitleLoadedOrRefused,
                       [] { return pngRepeating(pngChunk("IDAT", {}), 600'000); }),
        hostilePicture("JpegColourProfile", "icc.jpg", Outcome::TitleLoaded,
                       [] { return jpegColourProfile(120); }),
        hostilePicture("JpegExif", "exif.jpg", Outcome::TitleLoaded,
                       [] { return jpegRepeating(0xE1, jpegExif(5400), 120); }),
        hostilePicture("JpegCommentMarkerFlood", "comments.jpg", Outcome::TitleLoadedOrRefused,
                       [] { return jpegRepeating(0xFE, {}, 2'000'000); }),
        hostilePicture("JpegEmptyScanFlood", "scans.jpg", Outcome::TitleRefused,
                       [] { return jpegEmptyScans(2048, 700'000); }),
        hostilePicture("GifFrameFlood", "frames.gif", Outcome::TitleLoaded,
                       [] {
                           return gifFrames(10'000, {2048, 2048});
                       }),
        hostilePicture("GifLongCodes", "codes.gif", Outcome::TitleRefused,
                       [] { return gifLongCodes(8'000'000); }),
        hostilePicture("XpmColourTableFlood", "colours.xpm", Outcome::TitleRefused,
                       [] { return xpmColours(400'000, 1); }),
        hostilePicture("IconHoldingCompressedText", "text.ico", Outcome::TitleLoaded,
                       [] { return iconHolding(pngRepeating(pngCompressedText(7'000'000), 100)); }),
        hostilePicture(
            "CursorHoldingChunkFlood", "chunks.cur", Outcome::TitleLoaded,
            [] {
                return iconHolding(pngRepeating(pngChunk("tEXt", {"k\0v", 3}), 500'000), true);
            }),
        // Looking up a name ignoring case lists the folder: 10,000 names must not slow it.
        NameCase{"TenThousandFilesBesideIt", "OK.PNG", Outcome::TitleLoaded,
                 [](const SkinFiles& f) {
                     for (int i = 0; i < 10000; ++i)
                         QFile(f.folder() + QStringLiteral("/f%1.png").arg(i))
                             .open(QIODevice::WriteOnly);
                 }}),
    [](const auto& info) { return std::string(info.param.name); });

// A link to the Skins folder itself, named again and again in another letter case: each part
// is looked up ignoring case, through the same folder of 10,000 names.
TEST_F(HostileSkinTest, ADeepNameThroughALinkToItsFolderListsItOnce) {
    for (int i = 0; i < 10000; ++i)
        QFile(files.folder() + QStringLiteral("/f%1.png").arg(i)).open(QIODevice::WriteOnly);
    link(".", files, "self");
    expectApplied(skinNaming(QStringLiteral("SELF\\").repeated(30) + QStringLiteral("OK.PNG")),
                  Outcome::TitleLoaded);
}

struct FileCase {
    const char* name;
    Outcome outcome;
    std::function<QString(const SkinFiles&)> make; // the skin file's path
};

void PrintTo(const FileCase& c, std::ostream* out) {
    *out << c.name;
}

class HostileSkinFile : public HostileSkinTest, public ::testing::WithParamInterface<FileCase> {};

TEST_P(HostileSkinFile, IsAppliedAsItsRuleSaysWithinTheLimits) {
    expectApplied(GetParam().make(files), GetParam().outcome);
}

class HostileSkinFileInUsersFolder : public HostileSkinFile {
protected:
    HostileSkinFileInUsersFolder() { usersFolder = true; }
};

TEST_P(HostileSkinFileInUsersFolder, IsAppliedAsItsRuleSaysWithinTheLimits) {
    expectApplied(GetParam().make(files), GetParam().outcome);
}

const QByteArray kHeader(kSkinHeader.data(), kSkinHeader.size());

// A skin file of these lines, each ended by CR LF, naming ok.png and the two sounds after
// the title line.
QString skinOfBytes(const SkinFiles& f, const QByteArray& header, const QByteArray& title) {
    return f.write(QStringLiteral("bytes.vds"),
                   header + "\r\nname=x\r\nauthor=y\r\nimgtitle=" + title +
                       "\r\nimgbody=ok.png\r\nimgalarm=ok.png\r\nsndhour=h.wav\r\n"
                       "sndalarm=a.wav\r\n");
}

const std::vector<FileCase> kFileCases{
    FileCase{"Folder", Outcome::NothingChanges,
             [](const SkinFiles& f) {
                 QDir().mkpath(f.folder() + QStringLiteral("/folder.vds"));
                 return f.folder() + QStringLiteral("/folder.vds");
             }},
    FileCase{"Fifo", Outcome::NothingChanges,
             [](const SkinFiles& f) {
                 const QString path = f.folder() + QStringLiteral("/fifo.vds");
                 mkfifo(QFile::encodeName(path).constData(), 0600);
                 return path;
             }},
    FileCase{"DevZero", Outcome::NothingChanges,
             [](const SkinFiles& f) {
                 link("/dev/zero", f, "zero.vds");
                 return f.folder() + QStringLiteral("/zero.vds");
             }},
    FileCase{"GigabyteLineWithoutCr", Outcome::NothingChanges,
             [](const SkinFiles& f) {
                 const QString path = f.folder() + QStringLiteral("/long.vds");
                 makeSparse(path, kHeader, kGigabyte);
                 return path;
             }},
    FileCase{"GigabyteSecondLine", Outcome::NothingChanges,
             [](const SkinFiles& f) {
                 const QString path = f.folder() + QStringLiteral("/long2.vds");
                 makeSparse(path, kHeader + "\r\nname=", kGigabyte);
                 return path;
             }},
    FileCase{"TenMegabytesOfNul", Outcome::NothingChanges,
             [](const SkinFiles& f) {
                 return f.write(QStringLiteral("nul.vds"), QByteArray(10 * 1024 * 1024, '\0'));
             }},
    FileCase{"InvalidUtf8InTheHeader", Outcome::NothingChanges,
             [](const SkinFiles& f) {
                 return skinOfBytes(f, QByteArray(kHeader).replace(' ', '\xa0'), "ok.png");
             }},
    FileCase{"Windows1252Name", Outcome::TitleLoaded,
             [](const SkinFiles& f) {
                 f.writePicture(QStringLiteral("caf\u00e9.png"), {100, 14}, Qt::white);
                 return skinOfBytes(f, kHeader, "caf\xe9.png");
             }},
    FileCase{"LinkOutOfTheFolder", Outcome::NothingChanges,
             [](const SkinFiles& f) {
                 f.writeSkin(QStringLiteral("../outside.vds"),
                             skinLines({}, {}, {}, QStringLiteral("h.wav"), {}));
                 link("../outside.vds", f, "away.vds");
                 return f.folder() + QStringLiteral("/away.vds");
             }},
    FileCase{"NotInTheSkinsFolder", Outcome::NothingChanges,
             [](const SkinFiles& f) {
                 return f.writeSkin(QStringLiteral("../outside.vds"),
                                    skinLines({}, {}, {}, QStringLiteral("h.wav"), {}));
             }},
    FileCase{"InvalidUtf8NamingNothing", Outcome::TitleRefused,
             [](const SkinFiles& f) { return skinOfBytes(f, kHeader, "\xc3\x28\xa0.png"); }}};

INSTANTIATE_TEST_SUITE_P(Files, HostileSkinFile, ::testing::ValuesIn(kFileCases),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(Files, HostileSkinFileInUsersFolder, ::testing::ValuesIn(kFileCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The skin chooser lists the folder: ten thousand files, skins or not, files that are no skins
// by their nature, and a skin linked from outside, are gone through within the limits.
TEST_F(HostileSkinTest, AFolderOfTenThousandFilesIsListedWithinTheLimits) {
    for (int i = 0; i < 10000; ++i) {
        const QString name = QStringLiteral("f%1.vds").arg(i, 5, 10, QLatin1Char('0'));
        files.write(name, i % 1000 == 0 ? QByteArray(kHeader) + "\r\nname=Skin " +
                                              QByteArray::number(i) + "\r\n"
                                        : QByteArray("not a skin\r\n"));
    }
    QDir().mkpath(files.folder() + QStringLiteral("/folder.vds"));
    mkfifo(QFile::encodeName(files.folder() + QStringLiteral("/fifo.vds")).constData(), 0600);
    link("/dev/zero", files, "zero.vds");
    makeSparse(files.folder() + QStringLiteral("/huge.vds"), kHeader, kGigabyte);
    files.write(QStringLiteral("../outside.vds"), QByteArray(kHeader) + "\r\nname=Outside\r\n");
    link("../outside.vds", files, "away.vds");
    QString expected;
    for (int i = 0; i < 10000; i += 1000)
        expected += QStringLiteral("skin f%1.vds Skin %2\n").arg(i, 5, 10, QLatin1Char('0')).arg(i);
    EXPECT_EQ(probe(QStringLiteral("--list")).toStdString(), expected.toStdString());
}

// Killed while it applies the stored skin at start-up (a decoder's fault, the out-of-memory
// killer), the clock starts next time with the built-in look and every other setting kept;
// killed at any other moment, with its skin.
struct KillCase {
    const char* name;
    const char* moment; // what the probe does to itself
    bool givenUp;
};

void PrintTo(const KillCase& c, std::ostream* out) {
    *out << c.name;
}

class KilledAtStartUp : public HostileSkinTest, public ::testing::WithParamInterface<KillCase> {
protected:
    const QString settingsKey = QStringLiteral("Software\\Brambleton\\Vindrel");
    const std::string store = (program + QStringLiteral("/hkcu.sqlite3")).toStdString();

    QList<StoredValue> stored(const QString& key) const {
        Hive::OpenError error;
        const std::unique_ptr<Hive::SqliteHive> hive = Hive::SqliteHive::open(store, error);
        return hive ? storedValues(*hive, key) : QList<StoredValue>{};
    }

    ChildOutcome start(const std::string& fault = {}) const {
        std::vector<std::string> args{VINDREL_SKIN_PROBE, program.toStdString(),
                                      std::to_string(kCapMiB), "--start", store};
        if (!fault.empty())
            args.push_back(fault);
        return ChildProcess(args).wait(kTimeLimit);
    }
};

TEST_P(KilledAtStartUp, TheNextStartGivesUpTheSkinOnlyIfItWasBeingApplied) {
    const QString skin = skinNaming(QStringLiteral("ok.png"));
    {
        Hive::OpenError error;
        const std::unique_ptr<Hive::SqliteHive> hive = Hive::SqliteHive::open(store, error);
        ASSERT_TRUE(hive);
        storeExampleState(*hive);
        storeRaw(*hive, settingsKey, QStringLiteral("UsedSkinPath"), Hive::kRegSz,
                 skin.toUtf8() + '\0');
    }
    QList<StoredValue> expected = stored(settingsKey);
    const QList<StoredValue> alarms = stored(settingsKey + QStringLiteral("\\Alarms"));

    EXPECT_EQ(start(GetParam().moment).signal, SIGKILL);
    const ChildOutcome next = start();
    ASSERT_TRUE(next.exited && next.exitCode == 0);
    const QString report = QString::fromStdString(next.output);
    const QString builtIn = QStringLiteral("title #102030\nbackground none\nalarm #405060\n"
                                           "hour-sound \nalarm-sound \n");
    EXPECT_EQ(report.left(report.indexOf(QLatin1String("cpu-ms"))).toStdString(),
              (GetParam().givenUp ? builtIn : expectedReport(Outcome::TitleLoaded)).toStdString());
    for (StoredValue& value : expected) {
        if (GetParam().givenUp && value.name == u"UsedSkinPath")
            value = textValue(value.name, {});
    }
    EXPECT_EQ(stored(settingsKey), expected);
    EXPECT_EQ(stored(settingsKey + QStringLiteral("\\Alarms")), alarms);
}

INSTANTIATE_TEST_SUITE_P(Moments, KilledAtStartUp,
                         ::testing::Values(KillCase{"WhileApplyingTheSkin", "killed-applying",
                                                    true},
                                           KillCase{"OnceStartedUp", "killed-after", false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
