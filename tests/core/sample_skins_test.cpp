#include "core/SkinText.h"
#include <CorePeer.h>
#include <FakeClockWindow.h>
#include <SoundLength.h>
#include <TestCore.h>

#include <QDir>

#include <gtest/gtest.h>

using namespace VD_Core;

namespace {

// The Skins folder copied beside the built program.
const QString kProgramFolder = QStringLiteral(VINDREL_PROGRAM_FOLDER);

QStringList refusals;

void collectSkinWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtDebugMsg && type != QtInfoMsg &&
        QLatin1String(context.category) == QLatin1String("vindrel.skin"))
        refusals << text;
}

class SampleSkinsTest : public ::testing::Test, protected TestCore {
protected:
    VD_Core::Core shipped{services(), *hive, kProgramFolder};
    FakeClockWindow window;
    QtMessageHandler previous = nullptr;

    void SetUp() override {
        VD_Core::CorePeer::skin(shipped).DefaultTitlePicture = QPixmap(100, 14);
        VD_Core::CorePeer::skin(shipped).DefaultAlarmPicture = QPixmap(16, 16);
        shipped.attachWindow(&window);
        refusals.clear();
        previous = qInstallMessageHandler(collectSkinWarnings);
    }
    void TearDown() override { qInstallMessageHandler(previous); }

    QStringList skinFiles() const {
        return QDir(shipped.skinFolder().path()).entryList({QStringLiteral("*.vds")}, QDir::Files);
    }
};

TEST_F(SampleSkinsTest, EverySampleIsACompleteSkinThatLoadsCleanly) {
    const QStringList names = skinFiles();
    ASSERT_GE(names.size(), 3);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString path = shipped.skinFolder().path() + name;
        const auto text = SkinText::read(fileSystem, path);
        ASSERT_TRUE(text.has_value());
        EXPECT_TRUE(text->isSkin());
        for (SkinKey key : {SkinKey::Name, SkinKey::Author, SkinKey::ImgTitle, SkinKey::ImgBody,
                            SkinKey::ImgAlarm, SkinKey::SndHour, SkinKey::SndAlarm})
            EXPECT_TRUE(text->value(key).has_value()) << static_cast<int>(key);
        EXPECT_FALSE(text->value(SkinKey::Name).value_or(QString()).isEmpty());
        EXPECT_FALSE(text->value(SkinKey::Author).value_or(QString()).isEmpty());

        window = FakeClockWindow{};
        VD_Core::CorePeer::settings(shipped).UsedSkinPath = path;
        shipped.LoadSkin();
        EXPECT_EQ(refusals, QStringList{});
        EXPECT_FALSE(window.title.isNull());
        EXPECT_FALSE(window.alarm.isNull());
        EXPECT_EQ(window.background.isNull(), text->value(SkinKey::ImgBody)->isEmpty());
        for (const QString& sound : {shipped.skin().HourSoundPath, shipped.skin().AlarmSoundPath}) {
            const std::optional<double> seconds = soundSeconds(sound);
            ASSERT_TRUE(seconds.has_value()) << sound.toStdString();
            EXPECT_LT(*seconds, 4.0) << "a short sound";
        }
    }
}

TEST_F(SampleSkinsTest, TheSamplesShowTheFormatsVariety) {
    bool subfolder = false;
    bool otherSizes = false;
    bool noBody = false;
    for (const QString& name : skinFiles()) {
        const auto text = SkinText::read(fileSystem, shipped.skinFolder().path() + name);
        ASSERT_TRUE(text.has_value());
        subfolder |= text->value(SkinKey::ImgTitle)->contains(QLatin1Char('\\'));
        noBody |= text->value(SkinKey::ImgBody)->isEmpty();
        window = FakeClockWindow{};
        VD_Core::CorePeer::settings(shipped).UsedSkinPath = shipped.skinFolder().path() + name;
        shipped.LoadSkin();
        otherSizes |= window.title.size() != QSize(100, 14) && window.alarm.size() != QSize(16, 16);
    }
    EXPECT_TRUE(subfolder);
    EXPECT_TRUE(otherSizes);
    EXPECT_TRUE(noBody);
}

} // namespace
