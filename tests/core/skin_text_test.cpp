#include "core/SkinText.h"
#include <SkinFiles.h>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

using namespace VD_Core;

namespace {

SkinText parsed(const QByteArray& bytes, int lineCount = SkinText::kLineCount) {
    const std::optional<SkinText> text = SkinText::parse(bytes, true, lineCount);
    EXPECT_TRUE(text.has_value());
    return text.value_or(SkinText{});
}

struct LinesCase {
    const char* name;
    QByteArray bytes;
    QStringList lines;
};

class SkinLinesTest : public ::testing::TestWithParam<LinesCase> {};

TEST_P(SkinLinesTest, SplitsAndDecodesLines) {
    EXPECT_EQ(parsed(GetParam().bytes).lines(), GetParam().lines);
}

QStringList lines(std::initializer_list<const char16_t*> texts) {
    QStringList list;
    for (const char16_t* text : texts)
        list << QString::fromUtf16(text);
    return list;
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, SkinLinesTest,
    ::testing::Values(LinesCase{"CrLfEndsALine", "a\r\nb\r\nc", lines({u"a", u"b", u"c"})},
                      LinesCase{"CrAloneEndsALine", "a\rb\rc", lines({u"a", u"b", u"c"})},
                      LinesCase{"LfAloneIsText", "a\nb\nc\n", lines({u"a\nb\nc\n"})},
                      LinesCase{"LfBeforeCrIsText", "a\n\rb", lines({u"a\n", u"b"})},
                      LinesCase{"OnlyOneLfBelongsToTheEnd", "a\r\n\nb", lines({u"a", u"\nb"})},
                      LinesCase{"FinalLineEndStartsNoLine", "a\r\n", lines({u"a"})},
                      LinesCase{"EmptyLinesCount", "a\r\r\nb\r", lines({u"a", u"", u"b"})},
                      LinesCase{"NothingTrimmed", " a \t\r b ", lines({u" a \t", u" b "})},
                      LinesCase{"EmptyFileHasNoLines", "", {}},
                      LinesCase{"LinesAfterTheEighthAreNeverRead", "1\r2\r3\r4\r5\r6\r7\r8\r9\r10",
                                lines({u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8"})},
                      LinesCase{"ValidUtf8", "caf\xc3\xa9 \xe2\x82\xac", lines({u"café €"})},
                      LinesCase{"Windows1252WhenNotUtf8", "caf\xe9 \x80\x92\x99",
                                lines({u"café €’™"})},
                      LinesCase{"Unassigned1252BytesKeepTheirCodePoint", "\x81\x8d\x8f\x90\x9d",
                                lines({u"\u0081\u008d\u008f\u0090\u009d"})},
                      LinesCase{"Utf8CutOffAtTheLineEndIsNotUtf8", "ab\xe2\x82\r\xe2\x82\xac",
                                lines({u"ab\u00e2\u201a", u"€"})},
                      LinesCase{"OverlongUtf8IsNotUtf8", "\xc0\xaf", lines({u"\u00c0\u00af"})},
                      LinesCase{"ByteOrderMarkStaysInLineOne",
                                "\xef\xbb\xbfx\rname=y",
                                {QChar(0xfeff) + QStringLiteral("x"), QStringLiteral("name=y")}}),
    [](const auto& info) { return std::string(info.param.name); });

struct HeaderCase {
    const char* name;
    QByteArray bytes;
    bool skin;
};

class SkinHeaderTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(SkinHeaderTest, OnlyTheExactHeaderMakesASkin) {
    EXPECT_EQ(parsed(GetParam().bytes).isSkin(), GetParam().skin);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, SkinHeaderTest,
    ::testing::Values(
        HeaderCase{"Exact", "Brambleton's Vindrel Skin v1_[A1]\r\nname=x", true},
        HeaderCase{"AloneWithoutLineEnd", "Brambleton's Vindrel Skin v1_[A1]", true},
        HeaderCase{"EndedByCrAlone", "Brambleton's Vindrel Skin v1_[A1]\rname=x", true},
        HeaderCase{"TrailingSpace", "Brambleton's Vindrel Skin v1_[A1] \r\n", false},
        HeaderCase{"LeadingSpace", " Brambleton's Vindrel Skin v1_[A1]\r\n", false},
        HeaderCase{"OtherLetterCase", "brambleton's vindrel skin v1_[a1]\r\n", false},
        HeaderCase{"ByteOrderMark",
                   "\xef\xbb\xbf"
                   "Brambleton's Vindrel Skin v1_[A1]\r\n",
                   false},
        HeaderCase{"LineFeedsOnly", "Brambleton's Vindrel Skin v1_[A1]\nname=x\n", false},
        HeaderCase{"OtherVersion", "Brambleton's Vindrel Skin v2_[A1]\r\n", false},
        HeaderCase{"EmptyFile", "", false}),
    [](const auto& info) { return std::string(info.param.name); });

struct KeyCase {
    const char* name;
    SkinKey key;
    const char* line; // the key's own line
    std::optional<QString> value;
};

class SkinKeyTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(SkinKeyTest, KeyIsMatchedOnItsOwnLineOnly) {
    QStringList text(SkinText::kLineCount, QStringLiteral("filler=x"));
    text[static_cast<int>(GetParam().key) - 1] = QString::fromUtf8(GetParam().line);
    EXPECT_EQ(parsed(text.join(QLatin1Char('\r')).toUtf8()).value(GetParam().key),
              GetParam().value);
}

std::optional<QString> some(const char* text) {
    return QString::fromUtf8(text);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SkinKeyTest,
    ::testing::Values(
        KeyCase{"Lower", SkinKey::ImgBody, "imgbody=sky.bmp", some("sky.bmp")},
        KeyCase{"UpperKeyValueKeepsCase", SkinKey::ImgBody, "IMGBODY=Sky.BMP", some("Sky.BMP")},
        KeyCase{"MixedCase", SkinKey::ImgTitle, "ImgTitle=t.bmp", some("t.bmp")},
        KeyCase{"EmptyValue", SkinKey::SndHour, "sndhour=", some("")},
        KeyCase{"SpaceAfterEqualsBelongsToTheValue", SkinKey::SndAlarm, "sndalarm= r.wav",
                some(" r.wav")},
        KeyCase{"ValueKeepsFurtherEquals", SkinKey::Name, "name=a=b ", some("a=b ")},
        KeyCase{"SpaceBeforeKey", SkinKey::Author, " author=me", std::nullopt},
        KeyCase{"SpaceBeforeEquals", SkinKey::ImgAlarm, "imgalarm =a.ico", std::nullopt},
        KeyCase{"ShorterThanKey", SkinKey::ImgTitle, "imgtitl", std::nullopt},
        KeyCase{"KeyWithoutEquals", SkinKey::ImgTitle, "imgtitle", std::nullopt},
        KeyCase{"AnotherLinesKey", SkinKey::ImgTitle, "imgbody=sky.bmp", std::nullopt},
        KeyCase{"NonAsciiLookalikeDoesNotFold", SkinKey::SndHour, "\xc5\xbfndhour=x", std::nullopt},
        KeyCase{"DottedCapitalIDoesNotFold", SkinKey::ImgAlarm, "\xc4\xb0mgalarm=x", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SkinText, AKeyOnTheWrongLineLeavesTheNextLineToItsOwnKey) {
    const SkinText text = parsed("h\rname=n\rauthor=a\rimgbody=sky.bmp\rimgbody=sea.bmp\r");
    EXPECT_EQ(text.value(SkinKey::ImgTitle), std::nullopt);
    EXPECT_EQ(text.value(SkinKey::ImgBody), some("sea.bmp"));
}

TEST(SkinText, MissingLinesCarryNoKey) {
    const SkinText text = parsed("h\rname=n\rauthor=a\rimgtitle=t.bmp");
    EXPECT_EQ(text.lineCount(), 4);
    EXPECT_EQ(text.value(SkinKey::ImgTitle), some("t.bmp"));
    EXPECT_EQ(text.value(SkinKey::ImgBody), std::nullopt);
    EXPECT_EQ(text.value(SkinKey::SndAlarm), std::nullopt);
}

TEST(SkinText, TheChooserReadsOnlyThreeLines) {
    const SkinText text = parsed("h\rname=n\rauthor=a\rimgtitle=t.bmp", 3);
    EXPECT_EQ(text.lineCount(), 3);
    EXPECT_EQ(text.value(SkinKey::Author), some("a"));
    EXPECT_EQ(text.value(SkinKey::ImgTitle), std::nullopt);
}

TEST(SkinText, BytesCutOffAtTheLimitAreUsableOnlyWhenTheLinesEndedBefore) {
    EXPECT_TRUE(SkinText::parse("1\r2\r3\r4\r5\r6\r7\r8\r9 cut", false).has_value());
    EXPECT_TRUE(SkinText::parse("1\r2\r3\rfour cut", false, 3).has_value());
    EXPECT_FALSE(SkinText::parse("1\r2\r3\rfour cut", false).has_value());
    EXPECT_FALSE(SkinText::parse("1\r2\r3\r", false).has_value());
}

class SkinFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    SkinFiles files{dir.path()};
    const std::unique_ptr<Platform::FileSystem> fileSystem = Platform::makeFileSystem();

    QString header() const { return QString(kSkinHeader); }
};

TEST_F(SkinFileTest, ReadsTheFirstEightLinesWithinTheLimit) {
    QByteArray bytes = header().toLatin1();
    for (int n = 2; n <= 8; ++n)
        bytes += "\r\nline";
    bytes += "\r\n" + QByteArray(kMaxSkinTextBytes * 4, 'x');
    const auto text = SkinText::read(*fileSystem, files.write(QStringLiteral("long9.vds"), bytes));
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->lineCount(), 8);
    EXPECT_TRUE(text->isSkin());
}

TEST_F(SkinFileTest, LinesExactlyFillingTheLimitAreRead) {
    const QByteArray start = header().toLatin1() + "\rname=";
    const QByteArray bytes = start + QByteArray(kMaxSkinTextBytes - start.size(), 'n');
    const auto text = SkinText::read(*fileSystem, files.write(QStringLiteral("full.vds"), bytes));
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->value(SkinKey::Name)->size(), kMaxSkinTextBytes - start.size());
}

TEST_F(SkinFileTest, OversizedFirstLinesAreRefused) {
    const QByteArray bytes =
        header().toLatin1() + "\rname=n\rauthor=a\rimgtitle=" + QByteArray(kMaxSkinTextBytes, 't');
    const QString path = files.write(QStringLiteral("huge.vds"), bytes);
    EXPECT_FALSE(SkinText::read(*fileSystem, path).has_value());
    // The chooser's three lines still fit.
    EXPECT_TRUE(SkinText::read(*fileSystem, path, 3).has_value());
}

} // namespace
