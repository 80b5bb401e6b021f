#include "core/Maker.h"
#include "core/SkinCatalog.h"
#include "core/SkinText.h"
#include "platform/Process.h"
#include "windows/frmSETS.h"
#include <CorePeer.h>
#include <FakeClockWindow.h>
#include <HiveContents.h>
#include <SkinFiles.h>
#include <TestCore.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kHeader = QString(VD_Core::kSkinHeader);

// In the system's own separators, as the clock names its files.
QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

class SkinChooserTest : public ::testing::Test, protected TestCore {
protected:
    SkinFiles files{programFolder.path()};
    FakeClockWindow clockWindow;
    std::unique_ptr<frmSETS> options;

    void SetUp() override {
        core.attachWindow(&clockWindow);
        core.EnsureSettings();
    }

    // A skin whose title picture is one red pixel strip, so that loading it shows. Returns its
    // path in the system's own separators.
    QString writeSkin(const QString& file, const QString& name, const QString& author) {
        files.writePicture(file + QStringLiteral(".png"), {100, 14}, Qt::red);
        return native(files.writeSkin(
            file, {kHeader, QStringLiteral("name=") + name, QStringLiteral("author=") + author,
                   QStringLiteral("imgtitle=") + file + QStringLiteral(".png"),
                   QStringLiteral("imgbody="), QStringLiteral("imgalarm="),
                   QStringLiteral("sndhour=") + file + QStringLiteral(".wav"),
                   QStringLiteral("sndalarm=")}));
    }

    frmSETS& open() {
        options = std::make_unique<frmSETS>(core);
        return *options;
    }

    QStringList listed() const {
        QStringList names;
        for (int i = 0; i < options->lstSKIN->count(); ++i)
            names << options->lstSKIN->item(i)->text();
        return names;
    }

    void choose(int row) { options->lstSKIN->setCurrentRow(row); }
};

TEST_F(SkinChooserTest, AnEmptyFolderListsTheBuiltInLookAlone) {
    VD_Core::CorePeer::settings(core).UsedSkinPath = QStringLiteral("/nowhere/gone.vds");
    frmSETS& o = open();
    EXPECT_EQ(listed(), QStringList{QStringLiteral("<Default>")});
    EXPECT_EQ(o.lstSKIN->currentRow(), 0);
    EXPECT_EQ(o.lblAUTHOR->text(), VD_Core::Maker::kCreditLine);
    EXPECT_TRUE(core.settings().UsedSkinPath.isEmpty());
    EXPECT_EQ(clockWindow.title.cacheKey(), core.skin().DefaultTitlePicture.cacheKey());
}

TEST_F(SkinChooserTest, TheUsersOwnSkinsFollowTheProgramsAndTakeTheirFilesFromTheirFolder) {
    const SkinFiles own(userFolder.path());
    writeSkin(QStringLiteral("b.vds"), QStringLiteral("Shipped"), QStringLiteral("Us"));
    // The same names in both folders: each skin must take its own.
    files.writePicture(QStringLiteral("mine/title.png"), {100, 14}, Qt::green);
    own.writePicture(QStringLiteral("mine/title.png"), {100, 14}, Qt::blue);
    const QString path = native(
        own.writeSkin(QStringLiteral("a.vds"),
                      {kHeader, QStringLiteral("name=Mine"), QStringLiteral("author=Me"),
                       QStringLiteral("imgtitle=MINE\\Title.PNG"), QStringLiteral("imgbody="),
                       QStringLiteral("imgalarm="), QStringLiteral("sndhour=mine\\chime.wav"),
                       QStringLiteral("sndalarm=")}));
    frmSETS& o = open();
    ASSERT_EQ(listed(), (QStringList{QStringLiteral("<Default>"), QStringLiteral("Shipped"),
                                     QStringLiteral("Mine")}));
    choose(2);
    EXPECT_EQ(core.settings().UsedSkinPath,
              core.skinFolders().at(1).path() + QStringLiteral("a.vds"));
    EXPECT_EQ(core.settings().UsedSkinPath, path);
    EXPECT_EQ(o.lblAUTHOR->text(), QStringLiteral("Me"));
    EXPECT_EQ(clockWindow.title.toImage().pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(core.skin().HourSoundPath, native(own.folder() + QStringLiteral("/mine/chime.wav")));
    EXPECT_EQ(core.skin().AlarmSoundPath, core.skinFolders().at(1).path());
    o.btnSKIN[0]->click();
    EXPECT_EQ(o.lstSKIN->currentRow(), 2) << "a refresh selects the user's skin again";
}

TEST_F(SkinChooserTest, ASkinGivenUpAtStartUpIsListedAndAppliedWhenChosenAgain) {
    const QString path =
        writeSkin(QStringLiteral("red.vds"), QStringLiteral("Red"), QStringLiteral("Ann"));
    VD_Core::CorePeer::settings(core).UsedSkinPath = path;
    // What a start that ended while it applied the skin leaves behind.
    storeRaw(*hive, QStringLiteral("Software\\Brambleton\\Vindrel"), QStringLiteral("ApplyingSkin"),
             Hive::kRegSz,
             Platform::processMark(QCoreApplication::applicationPid()).toUtf8() + '\0');
    core.LoadSkinAtStart();
    ASSERT_EQ(clockWindow.title.cacheKey(), core.skin().DefaultTitlePicture.cacheKey());
    frmSETS& o = open();
    ASSERT_EQ(listed(), (QStringList{QStringLiteral("<Default>"), QStringLiteral("Red")}));
    EXPECT_EQ(o.lstSKIN->currentRow(), 0);
    choose(1);
    EXPECT_EQ(core.settings().UsedSkinPath, path);
    EXPECT_EQ(clockWindow.title.toImage().pixelColor(0, 0), QColor(Qt::red));
}

TEST_F(SkinChooserTest, ChoosingASkinAppliesItAndShowsItsAuthor) {
    const QString path =
        writeSkin(QStringLiteral("red.vds"), QStringLiteral("Red"), QStringLiteral("Ann"));
    frmSETS& o = open();
    ASSERT_EQ(listed(), (QStringList{QStringLiteral("<Default>"), QStringLiteral("Red")}));
    choose(1);
    EXPECT_EQ(o.lblAUTHOR->text(), QStringLiteral("Ann"));
    EXPECT_EQ(core.settings().UsedSkinPath, path);
    EXPECT_EQ(path, core.skinFolder().path() + QStringLiteral("red.vds"));
    EXPECT_EQ(clockWindow.title.toImage().pixelColor(0, 0), QColor(Qt::red));
    choose(0);
    EXPECT_TRUE(core.settings().UsedSkinPath.isEmpty());
    EXPECT_EQ(clockWindow.title.cacheKey(), core.skin().DefaultTitlePicture.cacheKey());
    EXPECT_TRUE(core.skin().HourSoundPath.isEmpty());
}

TEST_F(SkinChooserTest, TheSkinInUseIsSelectedOnOpeningWithoutReloadingIt) {
    writeSkin(QStringLiteral("a.vds"), QStringLiteral("A"), QStringLiteral("Ann"));
    const QString b = writeSkin(QStringLiteral("b.vds"), QStringLiteral("B"), QStringLiteral("Bo"));
    VD_Core::CorePeer::settings(core).UsedSkinPath = b;
    core.LoadSkin();
    const qint64 shown = clockWindow.title.cacheKey();
    frmSETS& o = open();
    EXPECT_EQ(o.lstSKIN->currentRow(), 2);
    EXPECT_EQ(o.lblAUTHOR->text(), QStringLiteral("Bo"));
    EXPECT_EQ(clockWindow.title.cacheKey(), shown);
    o.btnSKIN[0]->click();
    EXPECT_EQ(o.lstSKIN->currentRow(), 2) << "a refresh selects the same skin again";
    EXPECT_EQ(clockWindow.title.cacheKey(), shown);
}

TEST_F(SkinChooserTest, APathDifferingOnlyInLetterCaseFallsBackToTheBuiltInLook) {
    const QString path =
        writeSkin(QStringLiteral("Case.vds"), QStringLiteral("Case"), QStringLiteral("C"));
    VD_Core::CorePeer::settings(core).UsedSkinPath = path;
    core.LoadSkin();
    VD_Core::CorePeer::settings(core).UsedSkinPath =
        core.skinFolder().path() + QStringLiteral("case.vds");
    frmSETS& o = open();
    EXPECT_EQ(o.lstSKIN->currentRow(), 0);
    EXPECT_TRUE(core.settings().UsedSkinPath.isEmpty());
    EXPECT_EQ(clockWindow.title.cacheKey(), core.skin().DefaultTitlePicture.cacheKey());
}

TEST_F(SkinChooserTest, TwoSkinsWithOneNameEachApplyTheirOwnFile) {
    const QString one =
        writeSkin(QStringLiteral("one.vds"), QStringLiteral("Twin"), QStringLiteral("1"));
    const QString two =
        writeSkin(QStringLiteral("two.vds"), QStringLiteral("Twin"), QStringLiteral("2"));
    frmSETS& o = open();
    ASSERT_EQ(listed().count(QStringLiteral("Twin")), 2);
    choose(1);
    EXPECT_EQ(core.settings().UsedSkinPath, one);
    choose(2);
    EXPECT_EQ(core.settings().UsedSkinPath, two);
    EXPECT_EQ(o.lblAUTHOR->text(), QStringLiteral("2"));
}

TEST_F(SkinChooserTest, AnAuthorSlotReusedAfterARefreshIsEmptiedWhenTheLineIsMissing) {
    writeSkin(QStringLiteral("a.vds"), QStringLiteral("A"), QStringLiteral("Ann"));
    frmSETS& o = open();
    EXPECT_EQ(o.SkinAuthors.value(1), QStringLiteral("Ann"));
    files.writeSkin(QStringLiteral("a.vds"),
                    {kHeader, QStringLiteral("name=A"), QStringLiteral("imgtitle=")});
    o.btnSKIN[0]->click();
    choose(1);
    EXPECT_TRUE(o.lblAUTHOR->text().isEmpty());
}

TEST_F(SkinChooserTest, PreviewsPlayTheCurrentPathsEmptyOnesIncluded) {
    writeSkin(QStringLiteral("s.vds"), QStringLiteral("S"), QStringLiteral("A"));
    frmSETS& o = open();
    o.btnSKIN[1]->click();
    o.btnSKIN[2]->click();
    choose(1);
    o.btnSKIN[1]->click();
    o.btnSKIN[2]->click();
    EXPECT_EQ(sound.played, (QStringList{QString(), QString(), core.skin().HourSoundPath,
                                         core.skin().AlarmSoundPath}));
    EXPECT_EQ(core.skin().HourSoundPath, core.skinFolder().path() + QStringLiteral("s.vds.wav"));
    EXPECT_EQ(core.skin().AlarmSoundPath, core.skinFolder().path());
}

TEST_F(SkinChooserTest, TheChoiceIsSavedByTheNextSave) {
    const QString path =
        writeSkin(QStringLiteral("s.vds"), QStringLiteral("S"), QStringLiteral("A"));
    frmSETS& o = open();
    choose(1);
    const auto stored = [this] {
        return core.registry()
            .GetValue(Hive::Root::CurrentUser, QStringLiteral("Software\\Brambleton\\Vindrel"),
                      QStringLiteral("UsedSkinPath"))
            .toText();
    };
    EXPECT_TRUE(stored().isEmpty());
    o.btnCOM[0]->click();
    EXPECT_EQ(stored(), path);
}

TEST_F(SkinChooserTest, LayoutInTwips) {
    frmSETS& o = open();
    EXPECT_EQ(o.corDISP[1]->geometry(), QRect(216, 8, 201, 129));
    EXPECT_EQ(o.corDISP[1]->accessibleName(), QStringLiteral("Skins"));
    EXPECT_EQ(o.lstSKIN->geometry(), QRect(8, 24, 129, 82));
    EXPECT_EQ(o.btnSKIN[1]->geometry(), QRect(144, 56, 49, 17));
    EXPECT_EQ(o.lblAUTHOR->geometry(), QRect(8, 109, 185, 17));
}

struct ListingCase {
    const char* name;
    QByteArray content;
    bool listed;
    const char* author;
};

class SkinListingTest : public ::testing::TestWithParam<ListingCase>, protected TestCore {};

TEST_P(SkinListingTest, WhichFilesAreListed) {
    const SkinFiles files(programFolder.path());
    files.write(QStringLiteral("x.vds"), GetParam().content);
    const std::vector<VD_Core::SkinListing> skins =
        VD_Core::listSkins(fileSystem, core.skinFolder());
    ASSERT_EQ(skins.size(), GetParam().listed ? 1u : 0u);
    if (GetParam().listed) {
        EXPECT_EQ(skins[0].author, QString::fromUtf8(GetParam().author));
    }
}

const QByteArray kHeaderBytes = QByteArray("Brambleton's Vindrel Skin v1_[A1]");

INSTANTIATE_TEST_SUITE_P(
    Files, SkinListingTest,
    ::testing::Values(
        ListingCase{"Complete", kHeaderBytes + "\r\nname=N\r\nauthor=Au\r\n", true, "Au"},
        ListingCase{"EndsAfterTheName", kHeaderBytes + "\r\nname=N", true, ""},
        ListingCase{"EndsBeforeTheName", kHeaderBytes + "\r\n", false, ""},
        ListingCase{"AuthorOnLineTwo", kHeaderBytes + "\r\nauthor=A\r\nname=N\r\n", false, ""},
        ListingCase{"LineFeedsOnly", kHeaderBytes + "\nname=N\nauthor=A\n", false, ""},
        ListingCase{"NotASkin", "hello\r\nname=N\r\n", false, ""},
        ListingCase{"Empty", "", false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// Run in the program's Skins folder and in the user's own, which are held to the same rules.
class SkinListingInFolder : public ::testing::TestWithParam<bool> {};

TEST_P(SkinListingInFolder, SkipsWhatIsNoRegularVisibleSkinFileOrLeadsOutside) {
    TestCore t;
    const SkinFiles files(GetParam() ? t.userFolder.path() : t.programFolder.path());
    const QByteArray skin = kHeaderBytes + "\r\nname=N\r\n";
    files.write(QStringLiteral(".hidden.vds"), skin);
    files.write(QStringLiteral("other.txt"), skin);
    files.write(QStringLiteral("folder.vds/inner.vds"), skin);
    ASSERT_TRUE(files.makeFifo(QStringLiteral("pipe.vds")));
    files.write(QStringLiteral("../outside.vds"), skin);
    ASSERT_TRUE(QFile::link(QStringLiteral("../outside.vds"),
                            files.folder() + QStringLiteral("/away.vds")));
    files.write(QStringLiteral("B.VDS"), skin);
    files.write(QStringLiteral("a.vds"), skin);
    const std::vector<VD_Core::SkinListing> skins = t.core.skinList();
    ASSERT_EQ(skins.size(), 2u);
    EXPECT_EQ(skins[0].path, native(files.folder() + QStringLiteral("/a.vds")));
    EXPECT_EQ(skins[1].path, native(files.folder() + QStringLiteral("/B.VDS")));
}

INSTANTIATE_TEST_SUITE_P(Folders, SkinListingInFolder, ::testing::Values(false, true),
                         [](const auto& info) {
                             return std::string(info.param ? "UsersOwn" : "Programs");
                         });

TEST(SkinListing, AUserFolderThatIsTheProgramsListsItsSkinsOnce) {
    TestCore t;
    const SkinFiles files(t.programFolder.path());
    files.write(QStringLiteral("a.vds"), kHeaderBytes + "\r\nname=N\r\n");
    const VD_Core::Core same{t.services(), *t.hive, t.programFolder.path(),
                             t.programFolder.path() + QStringLiteral("/.")};
    EXPECT_EQ(same.skinList().size(), 1u);
}

TEST(SkinListing, ASkinRemovedBetweenTheListingAndItsReadIsLeftOut) {
    TestCore t;
    const SkinFiles files(t.programFolder.path());
    files.write(QStringLiteral("a.vds"), kHeaderBytes + "\r\nname=A\r\n");
    const QString removed = files.write(QStringLiteral("b.vds"), kHeaderBytes + "\r\nname=B\r\n");
    t.fileSystem.beforeRead = [&](const QString& path) {
        if (path == QDir::toNativeSeparators(removed))
            QFile::remove(path);
    };
    const std::vector<VD_Core::SkinListing> skins = t.core.skinList();
    ASSERT_EQ(skins.size(), 1u);
    EXPECT_EQ(skins[0].name, QStringLiteral("A"));
    EXPECT_FALSE(QFile::exists(removed)) << "found by the listing, then removed before its read";
}

} // namespace
