#include "core/SkinFolder.h"
#include "core/SkinLookup.h"
#include <SkinFiles.h>

#include "platform/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace VD_Core;

namespace {

class SkinFolderTest : public ::testing::Test {
protected:
    QTemporaryDir top;
    QString programFolder = top.path() + QStringLiteral("/program");
    SkinFiles files{programFolder};
    SkinFolder skins{programFolder};
    const std::unique_ptr<Platform::FileSystem> fileSystem = Platform::makeFileSystem();

    // In the system's own separators, as the lookup gives its paths, and compared as the
    // system compares names.
    QString inSkins(const char* relative) const {
        return SkinFiles::asCompared(QDir::toNativeSeparators(files.folder() + QLatin1Char('/') +
                                                              QString::fromUtf8(relative)));
    }
    std::optional<QString> resolve(const char* value) const {
        const std::optional<QString> path =
            SkinLookup(*fileSystem, skins).resolve(QString::fromUtf8(value));
        return path ? std::optional(SkinFiles::asCompared(*path)) : std::nullopt;
    }
};

TEST_F(SkinFolderTest, PathIsTheProgramFolderFollowedBySkins) {
    EXPECT_EQ(skins.path(), QDir::toNativeSeparators(programFolder + QStringLiteral("/Skins/")));
    EXPECT_EQ(SkinFolder(programFolder + QLatin1Char('/')).path(), skins.path());
}

TEST_F(SkinFolderTest, BackslashesAndSlashesSeparateFolders) {
    files.write(QStringLiteral("deep/er/title.bmp"), "x");
    EXPECT_EQ(resolve("deep\\er\\title.bmp"), inSkins("deep/er/title.bmp"));
    EXPECT_EQ(resolve("deep/er/title.bmp"), inSkins("deep/er/title.bmp"));
    EXPECT_EQ(resolve("\\deep\\\\er\\.\\title.bmp"), inSkins("deep/er/title.bmp"));
}

TEST_F(SkinFolderTest, NamesAreLookedUpIgnoringCaseComponentByComponent) {
    files.write(QStringLiteral("Night/Title.BMP"), "x");
    EXPECT_EQ(resolve("NIGHT\\title.bmp"), inSkins("Night/Title.BMP"));
    EXPECT_EQ(resolve("night\\TITLE.bmp"), inSkins("Night/Title.BMP"));
}

TEST_F(SkinFolderTest, TheExactLetterCaseWinsOverOthers) {
    if (const char* why = SkinFiles::whyNoNamesDifferingInCase())
        GTEST_SKIP() << why;
    files.write(QStringLiteral("a.bmp"), "lower");
    files.write(QStringLiteral("A.bmp"), "upper");
    EXPECT_EQ(resolve("A.bmp"), inSkins("A.bmp"));
    EXPECT_EQ(resolve("a.bmp"), inSkins("a.bmp"));
    EXPECT_EQ(resolve("a.BMP"), inSkins("A.bmp")) << "the first by name";
}

TEST_F(SkinFolderTest, NamesAreFoundAsWindowsFindsThem) {
    files.write(QStringLiteral("Night/Title.BMP"), "x");
    files.write(QStringLiteral("dotted.png."), "x");
    const QString raw = files.writeNamedByBytes("Caf\xe9.png", "raw");
    EXPECT_EQ(resolve("night. \\title.bmp . "), inSkins("Night/Title.BMP"));
    EXPECT_EQ(resolve("dotted.png"), inSkins("dotted.png."));
    // A name on disk made on Windows in its code page, named by a value in UTF-8.
    const std::optional<QString> path = resolve("CAF\xc3\x89.PNG");
    EXPECT_EQ(path, SkinFiles::asCompared(QDir::toNativeSeparators(raw)));
    ASSERT_TRUE(path.has_value());
    const std::optional<Platform::FileHead> read = Platform::readRegularFile(*path, 8);
    EXPECT_EQ(read ? read->bytes : QByteArray(), QByteArray("raw"));
}

TEST_F(SkinFolderTest, EachFolderIsListedOnceHoweverManyNamesAndPartsLeadThere) {
    if (const char* why = SkinFiles::whyNoSymbolicLinks())
        GTEST_SKIP() << why;
    files.write(QStringLiteral("Title.bmp"), "x");
    ASSERT_TRUE(QFile::link(QStringLiteral("."), inSkins("self")));
    SkinLookup lookup(*fileSystem, skins);
    for (const char* value :
         {"SELF\\SELF\\SELF\\SELF\\title.bmp", "TITLE.BMP", "Self\\missing.wav"})
        EXPECT_TRUE(lookup.resolve(QString::fromUtf8(value)).has_value()) << value;
    EXPECT_EQ(lookup.resolve(u"SELF\\SELF\\title.bmp"), inSkins("self/self/Title.bmp"));
    EXPECT_EQ(lookup.listings(), 1);
}

TEST_F(SkinFolderTest, AMissingNameGivesThePathAsWritten) {
    files.write(QStringLiteral("Night/title.bmp"), "x");
    EXPECT_EQ(resolve("NIGHT\\Gone\\chime.wav"), inSkins("Night/Gone/chime.wav"));
    EXPECT_EQ(resolve("chime.wav"), inSkins("chime.wav"));
}

TEST_F(SkinFolderTest, DotDotInsideTheFolderIsFollowed) {
    files.write(QStringLiteral("title.bmp"), "x");
    EXPECT_EQ(resolve("sub\\..\\title.bmp"), inSkins("title.bmp"));
}

TEST_F(SkinFolderTest, ValuesLeadingOutsideAreRefused) {
    files.write(QStringLiteral("title.bmp"), "x");
    QFile(programFolder + QStringLiteral("/secret.bmp")).open(QIODevice::WriteOnly);
    for (const char* value : {"..\\secret.bmp", "../secret.bmp", "sub\\..\\..\\secret.bmp",
                              "..\\Skins\\title.bmp", ".."}) {
        EXPECT_EQ(resolve(value), std::nullopt) << value;
    }
    EXPECT_EQ(SkinLookup(*fileSystem, skins).resolve(QStringLiteral("ti\0tle.bmp")), std::nullopt);
}

TEST_F(SkinFolderTest, SymbolicLinksOutOfTheFolderAreRefused) {
    if (const char* why = SkinFiles::whyNoSymbolicLinks())
        GTEST_SKIP() << why;
    QDir().mkpath(programFolder + QStringLiteral("/Skins2"));
    QFile(programFolder + QStringLiteral("/Skins2/title.bmp")).open(QIODevice::WriteOnly);
    QFile(top.path() + QStringLiteral("/outside.bmp")).open(QIODevice::WriteOnly);
    files.write(QStringLiteral("inner/title.bmp"), "x");
    ASSERT_TRUE(QFile::link(QStringLiteral("../Skins2"), inSkins("sibling")));
    ASSERT_TRUE(QFile::link(top.path() + QStringLiteral("/outside.bmp"), inSkins("out.bmp")));
    ASSERT_TRUE(QFile::link(top.path(), inSkins("up")));
    ASSERT_TRUE(QFile::link(QStringLiteral("inner"), inSkins("alias")));

    EXPECT_EQ(resolve("sibling\\title.bmp"), std::nullopt);
    EXPECT_EQ(resolve("SIBLING\\title.bmp"), std::nullopt);
    EXPECT_EQ(resolve("out.bmp"), std::nullopt);
    EXPECT_EQ(resolve("up\\missing.wav"), std::nullopt) << "a missing file beyond a link out";
    EXPECT_EQ(resolve("alias\\title.bmp"), inSkins("alias/title.bmp"));
}

TEST_F(SkinFolderTest, ASkinsFolderThatIsALinkKeepsItsFilesInside) {
    if (const char* why = SkinFiles::whyNoSymbolicLinks())
        GTEST_SKIP() << why;
    const QString real = top.path() + QStringLiteral("/shared-skins");
    QDir().mkpath(real);
    QFile(real + QStringLiteral("/title.bmp")).open(QIODevice::WriteOnly);
    QDir().mkpath(programFolder);
    ASSERT_TRUE(QFile::link(real, files.folder()));
    EXPECT_EQ(resolve("TITLE.bmp"), inSkins("title.bmp"));
}

TEST_F(SkinFolderTest, WithoutASkinsFolderNamesAreKeptAsWritten) {
    EXPECT_EQ(resolve("sub\\chime.wav"), inSkins("sub/chime.wav"));
}

TEST(SkinValueParts, FoldersAndDots) {
    EXPECT_EQ(skinValueParts(u"a\\b/c"), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(skinValueParts(u".\\a\\.\\\\b\\..\\c"), (QStringList{"a", "c"}));
    EXPECT_EQ(skinValueParts(u""), QStringList{});
    EXPECT_EQ(skinValueParts(u"C:\\x.bmp"), (QStringList{"C:", "x.bmp"}));
    EXPECT_EQ(skinValueParts(u" a \\ b. .\\c."), (QStringList{" a", " b", "c"}));
    EXPECT_EQ(skinValueParts(u"a\\..\\.."), std::nullopt);
}

} // namespace
