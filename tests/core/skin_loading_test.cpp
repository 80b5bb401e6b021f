#include "core/PictureBudget.h"
#include "core/PictureContainers.h"
#include "core/SkinCatalog.h"
#include "core/SkinPicture.h"
#include "core/SkinText.h"
#include "platform/Process.h"
#include <CorePeer.h>
#include <FakeClockWindow.h>
#include <HiveContents.h>
#include <HostilePictures.h>
#include <LogCapture.h>
#include <ProcessMarks.h>
#include <SkinFiles.h>
#include <SteppedCpuClock.h>
#include <TestCore.h>

#include <QBuffer>
#include <QCoreApplication>

#include <QDir>

#include <gtest/gtest.h>

using namespace VD_Core;

namespace {

const QColor kBuiltInTitle(0x10, 0x20, 0x30);
const QColor kBuiltInAlarm(0x40, 0x50, 0x60);
const QColor kRed(0xff, 0, 0);
const QColor kGreen(0, 0xff, 0);
const QColor kBlue(0, 0, 0xff);
const QColor kWhite(0xff, 0xff, 0xff);

QPixmap filled(QSize size, QColor colour) {
    QPixmap pixmap(size);
    pixmap.fill(colour);
    return pixmap;
}

QColor colourOf(const QPixmap& picture) {
    return picture.isNull() ? QColor() : picture.toImage().pixelColor(0, 0);
}

class SkinLoadingTest : public ::testing::Test, protected TestCore {
protected:
    FakeClockWindow window;
    SkinFiles files{programFolder.path()};

    void SetUp() override {
        VD_Core::CorePeer::skin(core).DefaultTitlePicture = filled({100, 14}, kBuiltInTitle);
        VD_Core::CorePeer::skin(core).DefaultAlarmPicture = filled({16, 16}, kBuiltInAlarm);
        window.title = core.skin().DefaultTitlePicture;
        window.alarm = core.skin().DefaultAlarmPicture;
        core.attachWindow(&window);
    }

    // In the system's own separators, as the core keeps its paths.
    QString skinsPath(const char* relative) const {
        return QDir::toNativeSeparators(core.skinFolder().path() + QString::fromUtf8(relative));
    }

    // Writes the skin and loads it as the chooser would.
    void load(const QString& file, const QStringList& lines) {
        files.writeSkin(file, lines);
        loadPath(core.skinFolder().path() + file);
    }
    void loadPath(const QString& path) {
        VD_Core::CorePeer::settings(core).UsedSkinPath = path;
        core.LoadSkin();
    }

    // Skin A: every key, a picture of its own colour for each target.
    void loadSkinA() {
        files.writePicture(QStringLiteral("a/title.png"), {100, 14}, kRed);
        files.writePicture(QStringLiteral("a/body.bmp"), {100, 58}, kGreen);
        files.writePicture(QStringLiteral("a/bell.ico"), {16, 16}, kBlue);
        load(QStringLiteral("a.vds"),
             skinLines(QStringLiteral("a\\title.png"), QStringLiteral("a\\body.bmp"),
                       QStringLiteral("a\\bell.ico"), QStringLiteral("a\\chime.wav"),
                       QStringLiteral("a\\ring.wav")));
    }

    void expectSkinA() const {
        EXPECT_EQ(colourOf(window.title), kRed);
        EXPECT_EQ(colourOf(window.background), kGreen);
        EXPECT_EQ(colourOf(window.alarm), kBlue);
        EXPECT_EQ(core.skin().HourSoundPath, skinsPath("a/chime.wav"));
        EXPECT_EQ(core.skin().AlarmSoundPath, skinsPath("a/ring.wav"));
    }
};

TEST_F(SkinLoadingTest, AnEmptyPathGivesTheBuiltInLook) {
    loadSkinA();
    loadPath(QString());
    EXPECT_EQ(colourOf(window.title), kBuiltInTitle);
    EXPECT_EQ(colourOf(window.alarm), kBuiltInAlarm);
    EXPECT_TRUE(window.background.isNull());
    EXPECT_EQ(core.skin().HourSoundPath, QString());
    EXPECT_EQ(core.skin().AlarmSoundPath, QString());
    EXPECT_TRUE(sound.preloaded.isEmpty());
}

TEST_F(SkinLoadingTest, ASkinWithEveryKeySetsThreePicturesAndTwoSounds) {
    loadSkinA();
    expectSkinA();
    EXPECT_EQ(sound.preloaded, (QStringList{skinsPath("a/chime.wav"), skinsPath("a/ring.wav")}));
}

TEST_F(SkinLoadingTest, PicturesOfOtherSizesAreKeptAtTheirSize) {
    files.writePicture(QStringLiteral("wide.png"), {300, 42}, kRed);
    load(QStringLiteral("s.vds"), skinLines(QStringLiteral("wide.png"), {}, {}, {}, {}));
    EXPECT_EQ(window.title.size(), QSize(300, 42));
}

TEST_F(SkinLoadingTest, SkinBWithoutTitleKeepsSkinATitleAndDropsItsSound) {
    loadSkinA();
    files.writePicture(QStringLiteral("b/bell.png"), {16, 16}, kWhite);
    load(QStringLiteral("b.vds"),
         {QString(kSkinHeader), QStringLiteral("name=B"), QStringLiteral("author=b"),
          QStringLiteral("imgbody=b\\body.png"), QStringLiteral("imgbody="),
          QStringLiteral("imgalarm=b\\bell.png"), QStringLiteral("sndalarm=b\\r.wav"),
          QStringLiteral("sndalarm=b\\ring.wav")});
    EXPECT_EQ(colourOf(window.title), kRed);
    EXPECT_TRUE(window.background.isNull());
    EXPECT_EQ(colourOf(window.alarm), kWhite);
    EXPECT_EQ(core.skin().HourSoundPath, QString());
    EXPECT_EQ(core.skin().AlarmSoundPath, skinsPath("b/ring.wav"));
}

TEST_F(SkinLoadingTest, AMissingBodyKeepsThePreviousOneAndTheRestIsApplied) {
    loadSkinA();
    files.writePicture(QStringLiteral("c/bell.png"), {16, 16}, kWhite);
    load(QStringLiteral("c.vds"),
         skinLines({}, QStringLiteral("c\\gone.bmp"), QStringLiteral("c\\bell.png"),
                   QStringLiteral("h.wav"), QStringLiteral("c\\a.wav")));
    EXPECT_EQ(colourOf(window.background), kGreen);
    EXPECT_EQ(colourOf(window.alarm), kWhite);
    EXPECT_EQ(core.skin().HourSoundPath, skinsPath("h.wav"));
    EXPECT_EQ(core.skin().AlarmSoundPath, skinsPath("c/a.wav")) << "a sound is not checked";
}

TEST_F(SkinLoadingTest, EmptyValuesBringBackTheBuiltInLookAndTheFolderPath) {
    loadSkinA();
    load(QStringLiteral("e.vds"), skinLines({}, {}, {}, {}, {}));
    EXPECT_EQ(colourOf(window.title), kBuiltInTitle);
    EXPECT_TRUE(window.background.isNull());
    EXPECT_EQ(colourOf(window.alarm), kBuiltInAlarm);
    EXPECT_EQ(core.skin().HourSoundPath, core.skinFolder().path());
    EXPECT_EQ(core.skin().AlarmSoundPath, core.skinFolder().path());
}

TEST_F(SkinLoadingTest, KeysAreMatchedWithoutRegardToCaseAndNamesFoundIgnoringIt) {
    files.writePicture(QStringLiteral("Case/Title.PNG"), {100, 14}, kRed);
    files.write(QStringLiteral("Case/Chime.WAV"), "x");
    load(QStringLiteral("case.vds"),
         {QString(kSkinHeader), QStringLiteral("NAME=x"), QStringLiteral("Author=y"),
          QStringLiteral("IMGTITLE=case\\title.png"), QStringLiteral("ImgBody="),
          QStringLiteral("imgALARM="), QStringLiteral("SndHour=CASE\\chime.wav")});
    EXPECT_EQ(colourOf(window.title), kRed);
    EXPECT_EQ(SkinFiles::asCompared(core.skin().HourSoundPath),
              SkinFiles::asCompared(skinsPath("Case/Chime.WAV")));
}

TEST_F(SkinLoadingTest, ASkinNamedOnDiskInAnotherCodePageIsListedAndApplied) {
    QImage white(100, 14, QImage::Format_RGB32);
    white.fill(kWhite);
    files.writeNamedByBytes("caf\xe9.png", Hostile::encoded(white, "png"));
    const QStringList lines = skinLines(QStringLiteral("CAF\u00c9.png"), {}, {}, {}, {});
    files.writeNamedByBytes("Caf\xe9.vds", lines.join(QStringLiteral("\r\n")).toUtf8());
    const std::vector<SkinListing> skins = listSkins(fileSystem, core.skinFolder());
    ASSERT_EQ(skins.size(), 1u);
    EXPECT_EQ(skins[0].path, skinsPath("Caf\xc3\xa9.vds"));
    // As listed, and as Windows would find it named otherwise.
    for (const QString& path : {skins[0].path, skinsPath("CAF\xc3\x89.VDS. ")}) {
        window.title = core.skin().DefaultTitlePicture;
        loadPath(path);
        EXPECT_EQ(colourOf(window.title), kWhite) << path.toStdString();
    }
}

struct UnappliedCase {
    const char* name;
    QByteArray bytes;
};

class UnappliedSkinTest : public SkinLoadingTest,
                          public ::testing::WithParamInterface<UnappliedCase> {};

TEST_P(UnappliedSkinTest, ChangesNothing) {
    loadSkinA();
    sound.preloaded.clear();
    loadPath(files.write(QStringLiteral("bad.vds"), GetParam().bytes));
    expectSkinA();
    EXPECT_TRUE(sound.preloaded.isEmpty());
    EXPECT_EQ(core.settings().UsedSkinPath, files.folder() + QStringLiteral("/bad.vds"));
}

const QByteArray kHeaderBytes(kSkinHeader.data(), kSkinHeader.size());

INSTANTIATE_TEST_SUITE_P(
    Files, UnappliedSkinTest,
    ::testing::Values(
        UnappliedCase{"EmptyFile", ""},
        UnappliedCase{"DamagedHeader", "Brambleton's Vindrel Skin v1_[A1 \r\nname=x\r\nauthor=y\r\n"
                                       "imgtitle=\r\nimgbody=\r\nimgalarm=\r\nsndhour=\r\n"},
        UnappliedCase{"LineFeedsOnly", kHeaderBytes + "\nname=x\nauthor=y\nimgtitle=\n"},
        UnappliedCase{"ThreeLines", kHeaderBytes + "\r\nname=x\r\nauthor=y\r\n"},
        UnappliedCase{"OversizedLines", kHeaderBytes + "\rname=x\rauthor=y\rimgtitle=" +
                                            QByteArray(kMaxSkinTextBytes, 'x') + "\r"}),
    [](const auto& info) { return std::string(info.param.name); });

struct UnlistedCase {
    const char* name;
    QByteArray bytes;
    const char* why; // in the log line that names the file
};

class UnlistedSkinTest : public SkinLoadingTest,
                         public ::testing::WithParamInterface<UnlistedCase> {};

TEST_P(UnlistedSkinTest, IsLeftOffTheListAndTheLogSaysWhy) {
    files.write(QStringLiteral("bad.vds"), GetParam().bytes);
    const LogCapture log("vindrel.skin");
    EXPECT_TRUE(listSkins(fileSystem, core.skinFolder()).empty());
    ASSERT_EQ(log.messages().size(), 1);
    EXPECT_TRUE(log.messages()[0].contains(QLatin1String(GetParam().why)) &&
                log.messages()[0].contains(QStringLiteral("bad.vds")))
        << log.messages()[0].toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnlistedSkinTest,
    ::testing::Values(UnlistedCase{"EmptyFile", "", "first line is not the skin header"},
                      UnlistedCase{"LineFeedsOnly", kHeaderBytes + "\nname=x\nauthor=y\n",
                                   "first line is not the skin header"},
                      UnlistedCase{"NoName", kHeaderBytes + "\r\nnom=x\r\nauthor=y\r\n",
                                   "second line is not \"name=\""},
                      UnlistedCase{"OversizedFirstLine",
                                   kHeaderBytes + QByteArray(kMaxSkinTextBytes, 'x'),
                                   "cannot be read"}),
    [](const auto& info) { return std::string(info.param.name); });

// A stored path as long as the clock reads is named in the log by its start alone.
TEST_F(SkinLoadingTest, ALongStoredPathIsCutInTheLog) {
    loadSkinA();
    const LogCapture log("vindrel.skin");
    loadPath(QStringLiteral("/nowhere/") + QString(kLargestValue / 2, QLatin1Char('x')));
    expectSkinA();
    ASSERT_EQ(log.messages().size(), 1);
    EXPECT_LT(log.messages()[0].size(), 400);
}

TEST_F(SkinLoadingTest, AFileEndingAfterLineFiveKeepsTheRestAndClearsTheSounds) {
    loadSkinA();
    files.writePicture(QStringLiteral("t.png"), {100, 14}, kWhite);
    load(QStringLiteral("short.vds"),
         {QString(kSkinHeader), QStringLiteral("name=x"), QStringLiteral("author=y"),
          QStringLiteral("imgtitle=t.png"), QStringLiteral("imgbody=")});
    EXPECT_EQ(colourOf(window.title), kWhite);
    EXPECT_TRUE(window.background.isNull());
    EXPECT_EQ(colourOf(window.alarm), kBlue);
    EXPECT_EQ(core.skin().HourSoundPath, QString());
    EXPECT_EQ(core.skin().AlarmSoundPath, QString());
}

TEST_F(SkinLoadingTest, LinesAfterTheEighthHaveNoEffect) {
    QStringList lines = skinLines({}, {}, {}, QStringLiteral("h.wav"), QStringLiteral("a.wav"));
    lines << QStringLiteral("imgtitle=t.png") << QStringLiteral("sndhour=other.wav");
    files.writePicture(QStringLiteral("t.png"), {100, 14}, kWhite);
    load(QStringLiteral("nine.vds"), lines);
    EXPECT_EQ(colourOf(window.title), kBuiltInTitle);
    EXPECT_EQ(core.skin().HourSoundPath, skinsPath("h.wav"));
}

TEST_F(SkinLoadingTest, ResetKeepsTheSkinPath) {
    loadSkinA();
    core.ResetSkin();
    EXPECT_EQ(core.settings().UsedSkinPath, skinsPath("a.vds"));
    EXPECT_EQ(colourOf(window.title), kBuiltInTitle);
}

TEST_F(SkinLoadingTest, WithoutAWindowOnlyTheSoundsAreSet) {
    core.attachWindow(nullptr);
    load(QStringLiteral("s.vds"), skinLines({}, {}, {}, QStringLiteral("h.wav"), {}));
    EXPECT_EQ(core.skin().HourSoundPath, skinsPath("h.wav"));
}

TEST_F(SkinLoadingTest, ASoundLeadingOutsideIsStoredAsNoSound) {
    load(QStringLiteral("s.vds"),
         skinLines({}, {}, {}, QStringLiteral("..\\..\\etc\\h.wav"), QStringLiteral("ok.wav")));
    EXPECT_EQ(core.skin().HourSoundPath, QString());
    EXPECT_EQ(core.skin().AlarmSoundPath, skinsPath("ok.wav"));
}

const QString kSettingsKey = QStringLiteral("Software\\Brambleton\\Vindrel");

struct StartCase {
    const char* name;
    QString (*mark)(); // what an earlier start left in ApplyingSkin; "" for nothing
    bool givenUp;      // the skin is given up for the built-in look
};

void PrintTo(const StartCase& c, std::ostream* out) {
    *out << c.name;
}

// Another copy of the clock applying its skin now, which only the process table runs.
const QString kCopyTheTableRuns = QStringLiteral("a copy the process table runs");

class SkinAtStartTest : public SkinLoadingTest, public ::testing::WithParamInterface<StartCase> {
protected:
    SkinAtStartTest() { processes.declared.insert(kCopyTheTableRuns, true); }
};

TEST_P(SkinAtStartTest, AStartThatEndedWhileApplyingTheSkinGivesItUp) {
    storeExampleState(*hive);
    files.writePicture(QStringLiteral("t.png"), {100, 14}, kWhite);
    const QString skin = files.writeSkin(QStringLiteral("s.vds"),
                                         skinLines(QStringLiteral("t.png"), {}, {}, {}, {}));
    storeRaw(*hive, kSettingsKey, QStringLiteral("UsedSkinPath"), Hive::kRegSz,
             skin.toUtf8() + '\0');
    if (const QString mark = GetParam().mark(); !mark.isEmpty())
        storeRaw(*hive, kSettingsKey, QStringLiteral("ApplyingSkin"), Hive::kRegSz,
                 mark.toUtf8() + '\0');
    core.LoadSettings();
    QList<StoredValue> expected = storedValues(*hive, kSettingsKey);
    expected.removeIf([](const StoredValue& v) { return v.name == u"ApplyingSkin"; });
    const QList<StoredValue> alarms =
        storedValues(*hive, kSettingsKey + QStringLiteral("\\Alarms"));

    const LogCapture log("vindrel.skin");
    core.LoadSkinAtStart();

    const bool givenUp = GetParam().givenUp;
    EXPECT_EQ(colourOf(window.title), givenUp ? kBuiltInTitle : kWhite);
    EXPECT_EQ(core.settings().UsedSkinPath, givenUp ? QString() : skin);
    for (StoredValue& value : expected) {
        if (givenUp && value.name == u"UsedSkinPath")
            value = textValue(value.name, {});
    }
    EXPECT_EQ(storedValues(*hive, kSettingsKey), expected) << "no mark left, nothing else changed";
    EXPECT_EQ(storedValues(*hive, kSettingsKey + QStringLiteral("\\Alarms")), alarms);
    EXPECT_EQ(log.messages().filter(QStringLiteral("the last start ended")).size(),
              givenUp ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Marks, SkinAtStartTest,
    ::testing::Values(
        StartCase{"NoMark", [] { return QString(); }, false},
        // This process cannot be the start that left the mark.
        StartCase{"MarkOfThisProcess",
                  [] { return Platform::processMark(QCoreApplication::applicationPid()); }, true},
        StartCase{"MarkOfAProcessEndedButNotReaped", ProcessMarks::ofAnEndedProcess, true},
        StartCase{"MarkOfAnotherBoot", ProcessMarks::ofAnotherBoot, true},
        StartCase{"MarkOfAProcessIdTakenAgain", ProcessMarks::ofAnotherRun, true},
        StartCase{"MarkThatIsNoMark", [] { return QStringLiteral("x"); }, true},
        // Earlier versions marked the process id alone, which cannot tell a run from another.
        StartCase{"ProcessIdAlone", ProcessMarks::bareIdOfARunningProcess, true},
        StartCase{"MarkOfAnotherCopyApplyingNow", ProcessMarks::ofARunningProcess, false},
        StartCase{"MarkOfACopyOnlyTheProcessTableRuns", [] { return kCopyTheTableRuns; }, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SkinLoadingTest, AStaleMarkIsClearedWhenNoSkinIsStored) {
    storeExampleState(*hive);
    storeRaw(*hive, kSettingsKey, QStringLiteral("UsedSkinPath"), Hive::kRegSz, QByteArray(1, 0));
    const QList<StoredValue> expected = storedValues(*hive, kSettingsKey);
    storeRaw(*hive, kSettingsKey, QStringLiteral("ApplyingSkin"), Hive::kRegSz,
             ProcessMarks::ofAnEndedProcess().toUtf8() + '\0');
    core.LoadSettings();
    const LogCapture log("vindrel.skin");
    core.LoadSkinAtStart();
    EXPECT_EQ(storedValues(*hive, kSettingsKey), expected) << "the mark removed, nothing else";
    EXPECT_TRUE(log.messages().filter(QStringLiteral("the last start ended")).isEmpty());
}

TEST(DecodePicture, APictureAtTheLimitIsDecoded) {
    QImage image(kMaxPictureSide, 2, QImage::Format_RGB32);
    image.fill(Qt::gray);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const auto decoded = decodePicture(*Platform::makeCpuClock(), bytes);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->size(), QSize(kMaxPictureSide, 2));
}

TEST(DecodePicture, AClaimBeyondTheLimitIsRefusedBeforeDecoding) {
    QString why;
    EXPECT_FALSE(
        decodePicture(*Platform::makeCpuClock(), bitmapClaiming(3000, 3000), &why).has_value());
    EXPECT_EQ(why, QStringLiteral("it claims 3000 x 3000 pixels"));
}

TEST(DecodePicture, APictureStillDecodingAtTheCutOffIsRefused) {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::gray);
    const QByteArray bytes = Hostile::encoded(image, "png");
    SteppedCpuClock cpu;
    ASSERT_TRUE(decodePicture(cpu, bytes).has_value());
    // Each look at the clock finds the cut-off passed since the last, as on a decoder stuck in
    // its work.
    cpu.step = kPictureCutOff + std::chrono::milliseconds(1);
    QString why;
    EXPECT_FALSE(decodePicture(cpu, bytes, &why).has_value());
    EXPECT_EQ(why, QStringLiteral("it takes more than 250 ms to decode"));
}

// A progressive JPEG with `scans` scans in all.
QByteArray jpegOfScans(int scans) {
    const int own = int(Hostile::jpegEmptyScans(16, 0).count("\xff\xda"));
    return Hostile::jpegEmptyScans(16, scans - own);
}

QByteArray paletteWithATransparentColour() {
    QImage image(4, 4, QImage::Format_Indexed8);
    image.setColorTable({qRgba(0, 0, 0, 0), qRgba(255, 255, 255, 255)});
    image.fill(0);
    return Hostile::encoded(image, "png");
}

struct DecodeCase {
    const char* name;
    QByteArray (*bytes)();
    QSize size;    // of the picture decoded, or
    QString why;   // the reason it is refused
    int alpha = 0; // of its first pixel
};

void PrintTo(const DecodeCase& c, std::ostream* out) {
    *out << c.name;
}

class DecodePictureTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodePictureTest, ContainersAreWalkedBeforeDecoding) {
    QString why;
    const std::optional<QImage> image =
        decodePicture(*Platform::makeCpuClock(), GetParam().bytes(), &why);
    EXPECT_EQ(why, GetParam().why);
    EXPECT_EQ(image ? image->size() : QSize(), GetParam().size);
    if (image) {
        EXPECT_EQ(qAlpha(image->pixel(0, 0)), GetParam().alpha);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, DecodePictureTest,
    ::testing::Values(
        DecodeCase{
            "JpegOfTheMostScans", [] { return jpegOfScans(kMaxJpegScans); }, {16, 16}, {}, 255},
        DecodeCase{"JpegOfOneScanMore",
                   [] { return jpegOfScans(kMaxJpegScans + 1); },
                   {},
                   QStringLiteral("it has more than 100 scans")},
        DecodeCase{"PngKeepsItsTransparencyChunk", paletteWithATransparentColour, {4, 4}, {}, 0},
        DecodeCase{"IconHoldingAPngLargerThanAnIconSays",
                   [] {
                       QImage wide(300, 20, QImage::Format_ARGB32);
                       wide.fill(Qt::white);
                       return Hostile::iconHolding(Hostile::encoded(wide, "png"));
                   },
                   {300, 20},
                   {},
                   255},
        DecodeCase{"CursorOfBitmapData",
                   [] { return iconListing(1, Qt::white).replace(2, 1, "\2", 1); },
                   {16, 16},
                   {},
                   255},
        DecodeCase{"IconBitmapClaimingTooMuch",
                   [] { return Hostile::iconHolding(Hostile::iconBitmapClaiming(3000, 16)); },
                   {},
                   QStringLiteral("it claims 3000 x 16 pixels")},
        DecodeCase{"GifOnAScreenBeyondTheLimit",
                   [] {
                       return Hostile::gifFrames(1, {4096, 16});
                   },
                   {},
                   QStringLiteral("it claims 4096 x 16 pixels")},
        DecodeCase{"XpmOfTooManyColours",
                   [] { return Hostile::xpmColours(kMaxXpmColours + 1, 1); },
                   {},
                   QStringLiteral("it lists 65537 colours, more than 65536")},
        DecodeCase{"AFormatTheClockDoesNotRead",
                   [] { return QByteArray("II*\0\x08\0\0\0", 8); },
                   {},
                   QStringLiteral("no picture in a format the clock reads")}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
