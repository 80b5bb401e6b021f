#include "windows/MouseArguments.h"
#include "windows/frmVINDREL.h"
#include <CorePeer.h>
#include <HiveContents.h>
#include <LogCapture.h>
#include <SkinFiles.h>
#include <TestCore.h>

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class ClockWindowTest : public ::testing::Test, protected TestCore {
protected:
    std::unique_ptr<frmVINDREL> window;

    void SetUp() override {
        clock.current = QDateTime(QDate(2024, 3, 6), QTime(21, 5, 30)); // a Wednesday
        clock.ticks = 3725000;
        clock.bias = -60;
    }

    frmVINDREL& load() {
        window = std::make_unique<frmVINDREL>(core);
        return *window;
    }
};

// The popup menu open while `act` ran, if any; it is closed then, or after `inside` ran in it.
QWidget* popupDuring(const std::function<void()>& act,
                     const std::function<void(QWidget&)>& inside = {}) {
    QWidget* seen = nullptr;
    QTimer::singleShot(0, [&] {
        seen = QApplication::activePopupWidget();
        if (seen == nullptr)
            return;
        if (inside)
            inside(*seen);
        seen->close();
    });
    act();
    QApplication::processEvents();
    return seen;
}

QString readerName(QWidget* control) {
    return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
}

TEST_F(ClockWindowTest, LoadFillsTheLabelsAndCapturesTheBuiltInPictures) {
    frmVINDREL& w = load();
    EXPECT_EQ(w.lblTIME->text(), QStringLiteral("21:05:30"));
    EXPECT_TRUE(w.lblTIME->toolTip().isEmpty());
    EXPECT_EQ(w.lblPASS->text(), QStringLiteral("1.02"));
    EXPECT_EQ(w.lblDAY->text(), QStringLiteral("We"));
    EXPECT_EQ(w.lblZONE->text(), QStringLiteral("01"));
    EXPECT_FLOAT_EQ(w.tickState().PowerOnSeconds, 3725.0f);
    EXPECT_FALSE(core.skin().DefaultTitlePicture.isNull());
    EXPECT_EQ(core.skin().DefaultTitlePicture.size(), QSize(100, 14));
    EXPECT_EQ(core.skin().DefaultAlarmPicture.size(), QSize(16, 16));
    EXPECT_EQ(core.window(), &w);
}

// The built-in look needs no image plugin: the program's own pictures are read as what they are.
TEST_F(ClockWindowTest, TheBuiltInLookLoadsNoImagePlugin) {
    const auto mapped = [] {
        QFile maps(QStringLiteral("/proc/self/maps"));
        return maps.open(QIODevice::ReadOnly) ? maps.readAll() : QByteArray();
    };
    // CTest runs each test in a process of its own; run whole, the program may have loaded one
    // for an earlier test.
    if (mapped().contains("/imageformats/"))
        GTEST_SKIP() << "an earlier test of this process loaded an image plugin";
    load().show();
    const QByteArray after = mapped();
    ASSERT_FALSE(after.isEmpty());
    EXPECT_FALSE(after.contains("/imageformats/")) << after.toStdString();
}

TEST_F(ClockWindowTest, LoadAppliesTheSkinInUseBeforeShowingTheAlarmPicture) {
    const SkinFiles files(programFolder.path());
    files.writePicture(QStringLiteral("t.png"), {200, 28}, Qt::red);
    files.writePicture(QStringLiteral("b.png"), {100, 58}, Qt::blue);
    files.writeSkin(QStringLiteral("s.vds"),
                    skinLines(QStringLiteral("t.png"), QStringLiteral("b.png"), QString(),
                              QStringLiteral("h.wav"), QString()));
    VD_Core::CorePeer::settings(core).UsedSkinPath =
        core.skinFolder().path() + QStringLiteral("s.vds");
    core.SetAlarmsEnabled(true);
    core.EnsureSettings();
    core.SaveSettings();
    frmVINDREL& w = load();
    EXPECT_EQ(w.btLogo->picture().size(), QSize(200, 28));
    EXPECT_EQ(w.face->background().toImage().pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(w.imgALM->picture().cacheKey(), core.skin().DefaultAlarmPicture.cacheKey());
    EXPECT_FALSE(w.imgALM->isHidden());
    EXPECT_EQ(core.skin().HourSoundPath, core.skinFolder().path() + QStringLiteral("h.wav"));
    // The title strip stretches its picture to its own box.
    EXPECT_EQ(w.grab(w.btLogo->geometry().translated(1, 1)).toImage().pixelColor(50, 7),
              QColor(Qt::red));
}

TEST_F(ClockWindowTest, ZoneLabelShowsTheStandardOffsetWestOfUtc) {
    clock.bias = 300;
    EXPECT_EQ(load().lblZONE->text(), QStringLiteral("-05"));
}

TEST_F(ClockWindowTest, AlarmPictureFollowsTheStoredAlarmEnabledAtLoad) {
    EXPECT_TRUE(load().imgALM->isHidden());
    EXPECT_EQ(readerName(window->imgALM), QString()) << "a reader finds hidden controls too";
    core.SetAlarmsEnabled(true);
    core.SaveSettings();
    core.SetAlarmsEnabled(false);
    EXPECT_FALSE(load().imgALM->isHidden());
    EXPECT_EQ(readerName(window->imgALM), QStringLiteral("Alarms enabled"));
    window->setAlarmIndicatorVisible(false);
    EXPECT_EQ(readerName(window->imgALM), QString());
}

TEST_F(ClockWindowTest, GeometryInTwipsAndPixels) {
    frmVINDREL& w = load();
    EXPECT_EQ(w.size(), QSize(102, 60));
    EXPECT_EQ(w.face->geometry(), QRect(1, 1, 100, 58));
    EXPECT_EQ(w.btLogo->geometry(), QRect(0, 0, 100, 14));
    EXPECT_EQ(w.lblTIME->geometry(), QRect(10, 20, 80, 17));
    EXPECT_EQ(w.lblZONE->geometry(), QRect(74, 14, 25, 17));
    EXPECT_EQ(w.lblPASS->geometry(), QRect(24, 40, 53, 17));
    EXPECT_EQ(w.lblDAY->geometry(), QRect(85, 43, 25, 17));
    EXPECT_EQ(w.imgALM->geometry(), QRect(0, 40, 16, 16));
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(w.lblTIME->font().pixelSize(), 13);
    EXPECT_TRUE(w.lblTIME->font().bold());
    EXPECT_EQ(w.lblZONE->font().pixelSize(), 11);
}

TEST_F(ClockWindowTest, TickUpdatesLabelsAndTooltipAndPlaysTheSignal) {
    frmVINDREL& w = load();
    core.SetHourSignal(true);
    VD_Core::CorePeer::skin(core).HourSoundPath = QStringLiteral("chime.wav");
    clock.current = QDateTime(QDate(2024, 3, 10), QTime(13, 0, 0, 300));
    clock.ticks = 90000000;
    w.Quartz_Timer();
    EXPECT_EQ(w.lblTIME->text(), QStringLiteral("13.00.00"));
    EXPECT_EQ(w.lblTIME->toolTip(), QStringLiteral("Sunday 10 March 2024"));
    EXPECT_EQ(w.lblTIME->accessibleDescription(), QStringLiteral("Sunday 10 March 2024"));
    EXPECT_EQ(w.lblDAY->text(), QStringLiteral("Su"));
    EXPECT_EQ(w.lblPASS->text(), QStringLiteral("25.00"));
    EXPECT_EQ(sound.played, QStringList{QStringLiteral("chime.wav")});
    w.Quartz_Timer();
    EXPECT_EQ(sound.played.size(), 1);
}

TEST_F(ClockWindowTest, TicksOnAPictureFaceShowWhatAFullRepaintDraws) {
    frmVINDREL& w = load();
    QImage picture(100, 58, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixelColor(x, y, QColor(x * 2, y * 4, (x + y) % 256));
    w.setBackgroundPicture(QPixmap::fromImage(picture));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const auto shown = [&w] {
        QCoreApplication::sendPostedEvents();
        return w.screen()->grabWindow(w.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    };
    shown();
    for (const QTime time : {QTime(9, 59, 58), QTime(9, 59, 59), QTime(10, 0, 0), QTime(10, 0, 1),
                             QTime(23, 59, 59), QTime(0, 0, 0)}) {
        clock.current.setTime(time);
        clock.ticks += 61000;
        w.Quartz_Timer();
        EXPECT_EQ(shown(), w.grab().toImage().convertToFormat(QImage::Format_RGB32))
            << time.toString().toStdString();
    }
    // Behind the labels, where they have no text, the face's picture shows at its place.
    const QImage screen = shown();
    for (const QLabel* label : {static_cast<QLabel*>(w.lblTIME), static_cast<QLabel*>(w.lblPASS)}) {
        const QPoint inFace = label->geometry().topLeft() + QPoint(1, 1);
        EXPECT_EQ(screen.pixelColor(w.face->mapTo(&w, inFace)), picture.pixelColor(inFace))
            << label->objectName().toStdString();
    }
}

TEST_F(ClockWindowTest, QuartzIsArmedForTheNextHalfSecond) {
    clock.current = QDateTime(QDate(2024, 3, 6), QTime(21, 5, 30, 120));
    frmVINDREL& w = load();
    EXPECT_TRUE(w.Quartz->isActive());
    EXPECT_FALSE(w.Quartz->isSingleShot());
    EXPECT_EQ(w.Quartz->interval(), 500 - 120);
    EXPECT_EQ(w.Quartz->timerType(), Qt::PreciseTimer);
    clock.current = clock.current.addMSecs(381);
    w.keepQuartzInStep();
    EXPECT_EQ(w.Quartz->interval(), 500) << "in step, it goes on every half second";
}

TEST_F(ClockWindowTest, LeftDragOnTheTitleStripMovesTheWindowByTheDragDistance) {
    frmVINDREL& w = load();
    w.move(200, 100);
    QTest::mousePress(w.btLogo, Qt::LeftButton, {}, QPoint(30, 5));
    EXPECT_TRUE(w.dragging());
    QTest::mouseMove(w.btLogo, QPoint(40, 12));
    EXPECT_EQ(w.pos(), QPoint(210, 107));
    // The pointer keeps its place in the strip, also beyond the window's edge.
    QTest::mouseMove(w.btLogo, QPoint(30 + 150, 5 - 40));
    EXPECT_EQ(w.pos(), QPoint(360, 67));
    QTest::mouseRelease(w.btLogo, Qt::LeftButton, {}, QPoint(30, 5));
    EXPECT_FALSE(w.dragging());
    QTest::mouseMove(w.btLogo, QPoint(50, 5));
    EXPECT_EQ(w.pos(), QPoint(360, 67));
}

TEST_F(ClockWindowTest, DragArithmeticIsInTwips) {
    frmVINDREL& w = load();
    w.moveToTwips(1200, 900);
    w.btLogo_MouseDown(1, 0, 450, 75);
    w.btLogo_MouseMove(1, 0, 600, 15);
    EXPECT_EQ(w.leftTwips(), 1350);
    EXPECT_EQ(w.topTwips(), 840);
    w.btLogo_MouseUp(1, 0, 600, 15);
}

TEST_F(ClockWindowTest, PressesBelowTheTitleStripDoNothing) {
    frmVINDREL& w = load();
    w.move(200, 100);
    for (QWidget* target : {static_cast<QWidget*>(w.lblTIME), static_cast<QWidget*>(w.face)}) {
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
            QTest::mousePress(target, button, {}, QPoint(5, 5));
            QTest::mouseMove(target, QPoint(25, 25));
            QTest::mouseRelease(target, button, {}, QPoint(25, 25));
            EXPECT_FALSE(w.dragging());
            EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        }
        // The request for a context menu that the window system adds to a right click.
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5),
                                     target->mapToGlobal(QPoint(5, 5)));
        EXPECT_EQ(popupDuring([&] { QApplication::sendEvent(target, &rightClick); }), nullptr);
    }
    EXPECT_EQ(w.pos(), QPoint(200, 100));
}

TEST_F(ClockWindowTest, RightPressOnTheTitleStripOpensTheMenuWithoutDragging) {
    frmVINDREL& w = load();
    w.show();
    EXPECT_EQ(popupDuring([&] { QTest::mousePress(w.btLogo, Qt::RightButton, {}, QPoint(30, 5)); }),
              w.mnuPOPUP);
    EXPECT_FALSE(w.dragging());
    // Pressed again soon after the menu closed, the button's press comes as a double click.
    QMouseEvent again(QEvent::MouseButtonDblClick, QPointF(30, 5),
                      w.btLogo->mapToGlobal(QPointF(30, 5)), Qt::RightButton, Qt::RightButton, {});
    EXPECT_EQ(popupDuring([&] { QApplication::sendEvent(w.btLogo, &again); }), w.mnuPOPUP);
}

TEST_F(ClockWindowTest, TheMenuKeysOpenTheMenuUnderTheTitleStripWithItsAccessKeys) {
    frmVINDREL& w = load();
    w.show();
    QApplication::setActiveWindow(&w);
    QWidget* focus = QApplication::focusWidget();
    ASSERT_EQ(focus, w.btLogo) << "the title strip takes the focus when the clock is active";
    QSignalSpy ended(&w, &frmVINDREL::programEnded);
    // The Menu key reaches the window as a request for a context menu, Shift+F10 as a key.
    const std::function<void()> menuKeys[] = {
        [&] {
            QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(),
                                      focus->mapToGlobal(QPoint()));
            QApplication::sendEvent(focus, &menuKey);
        },
        [&] { QTest::keyClick(focus, Qt::Key_F10, Qt::ShiftModifier); }};
    const Qt::Key accessKeys[] = {Qt::Key_O, Qt::Key_Q};
    for (int i = 0; i < 2; ++i) {
        QPoint at;
        QWidget* seen = popupDuring(menuKeys[i], [&](QWidget& menu) {
            at = menu.pos();
            QTest::keyClick(&menu, accessKeys[i]);
        });
        EXPECT_EQ(seen, w.mnuPOPUP) << i;
        EXPECT_EQ(at, w.btLogo->mapToGlobal(QPoint(0, w.btLogo->height()))) << i;
    }
    EXPECT_NE(w.options(), nullptr) << "O chose Options";
    EXPECT_EQ(ended.count(), 1) << "Q chose Quit";
}

TEST_F(ClockWindowTest, PopupMenuEntries) {
    const QList<QAction*> actions = load().mnuPOPUP->actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("&Options"));
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_EQ(actions[2]->text(), QStringLiteral("&Quit"));
}

TEST_F(ClockWindowTest, QuitEndsTheProgram) {
    frmVINDREL& w = load();
    QSignalSpy ended(&w, &frmVINDREL::programEnded);
    w.mnuEND->trigger();
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(w.Quartz->isActive());
}

TEST_F(ClockWindowTest, ShownItAsksTheDesktopToKeepItsOwnWindowOnTop) {
    frmVINDREL& w = load();
    VD_Core::CorePeer::settings(core).AlwaysOnTop = 1;
    w.show();
    ASSERT_FALSE(desktop.topmost.isEmpty());
    EXPECT_EQ(desktop.topmost.front(), std::make_pair(w.windowHandle(), true));
}

TEST_F(ClockWindowTest, TheFirstStartStoresTheDefaults) {
    load();
    EXPECT_TRUE(storedValues(*hive, QStringLiteral("Software\\Brambleton\\Vindrel"))
                    .contains(textValue(QStringLiteral("X"), QStringLiteral("0"))));
}

TEST_F(ClockWindowTest, LoadPlacesTheWindowAtTheStoredPositionBeforeItIsShown) {
    const QString key = QStringLiteral("Software\\Brambleton\\Vindrel");
    storeRaw(*hive, key, QStringLiteral("X"), Hive::kRegSz, QByteArray("1200", 5));
    // Partly above the screen, with part of the title strip on it: left where it is.
    storeRaw(*hive, key, QStringLiteral("Y"), Hive::kRegSz, QByteArray("-150", 5));
    frmVINDREL& w = load();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.pos(), QPoint(80, -10));
}

TEST_F(ClockWindowTest, ALostWindowComesBackAtLoadAndNothingIsStored) {
    const QString key = QStringLiteral("Software\\Brambleton\\Vindrel");
    storeRaw(*hive, key, QStringLiteral("X"), Hive::kRegSz, QByteArray("30000", 6));
    storeRaw(*hive, key, QStringLiteral("Y"), Hive::kRegSz, QByteArray("4500", 5));
    const LogCapture log("vindrel.platform");
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(load().pos(), QPoint(screen.right() + 1 - 102, 300));
    EXPECT_EQ(log.messages().size(), 1);
    EXPECT_EQ(storedValues(*hive, key).value(0),
              textValue(QStringLiteral("X"), QStringLiteral("30000")));
}

TEST_F(ClockWindowTest, QuitDeletesTheOptionsDialogStillOpen) {
    frmVINDREL& w = load();
    w.mnuOPTIONS->trigger();
    const QPointer<frmSETS> options = w.options();
    w.mnuEND->trigger();
    window.reset();
    EXPECT_TRUE(options.isNull());
}

TEST_F(ClockWindowTest, QuitSavesTheDraggedWindowWhereTheNextStartFindsIt) {
    frmVINDREL& w = load();
    w.move(200, 100);
    w.mnuEND->trigger();
    window.reset();
    EXPECT_EQ(load().pos(), QPoint(200, 100));
}

TEST_F(ClockWindowTest, ControlsCarryTheirNames) {
    frmVINDREL& w = load();
    for (const char* name : {"btLogo", "lblTIME", "lblZONE", "lblPASS", "lblDAY", "imgALM"})
        EXPECT_NE(w.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_NE(w.findChild<QTimer*>(QStringLiteral("Quartz")), nullptr);
}

struct MouseCase {
    const char* name;
    QEvent::Type type;
    Qt::MouseButton button;
    Qt::MouseButtons held;
    Qt::KeyboardModifiers modifiers;
    int code;
    int shift;
};

class MouseArgumentsTest : public ::testing::TestWithParam<MouseCase> {};

TEST_P(MouseArgumentsTest, ButtonsAndShiftAsTheHandlersTakeThem) {
    const MouseCase& c = GetParam();
    const QPointF at(2, 3);
    const QMouseEvent event(c.type, at, at, c.button, c.held, c.modifiers);
    const MouseArguments args = mouseArguments(event);
    EXPECT_EQ(args.button, c.code);
    EXPECT_EQ(args.shift, c.shift);
    EXPECT_FLOAT_EQ(args.x, 30);
    EXPECT_FLOAT_EQ(args.y, 45);
}

constexpr auto kLeftAndRight = Qt::MouseButtons(Qt::LeftButton | Qt::RightButton);

INSTANTIATE_TEST_SUITE_P(
    Events, MouseArgumentsTest,
    ::testing::Values(
        MouseCase{"PressLeft", QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {}, 1, 0},
        MouseCase{
            "PressMiddle", QEvent::MouseButtonPress, Qt::MiddleButton, kLeftAndRight, {}, 4, 0},
        MouseCase{"ReleaseRight", QEvent::MouseButtonRelease, Qt::RightButton, {}, {}, 2, 0},
        MouseCase{
            "MoveWithLeftAndRightHeld", QEvent::MouseMove, Qt::NoButton, kLeftAndRight, {}, 3, 0},
        MouseCase{"MoveWithNoneHeld", QEvent::MouseMove, Qt::NoButton, {}, {}, 0, 0},
        MouseCase{"ShiftCtrlAlt", QEvent::MouseMove, Qt::NoButton, Qt::LeftButton,
                  Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier, 1, 7}),
    [](const auto& info) { return std::string(info.param.name); });

// A change made while the clock runs, from Options, on a clock started with `startSkin`.
struct LiveChange {
    const char* name;
    const char* startSkin; // "" for the built-in look
    std::vector<std::function<void(frmSETS& options, const SkinFiles& files)>> steps;
};

void PrintTo(const LiveChange& c, std::ostream* out) {
    *out << c.name;
}

void chooseLine(frmSETS& options, const char* name) {
    const auto lines = options.lstSKIN->findItems(QString::fromLatin1(name), Qt::MatchExactly);
    ASSERT_EQ(lines.size(), 1) << name;
    options.lstSKIN->setCurrentItem(lines[0]);
}

std::function<void(frmSETS&, const SkinFiles&)> choose(const char* name) {
    return [name](frmSETS& options, const SkinFiles&) { chooseLine(options, name); };
}

// Every picture of the skin "Amber" drawn anew in other colours.
void repaintAmber(frmSETS&, const SkinFiles& files) {
    files.writePicture(QStringLiteral("amber-title.png"), {100, 14}, QColor(0x20, 0x90, 0x30));
    files.writePicture(QStringLiteral("amber-body.png"), {100, 58}, QColor(0x10, 0x30, 0xa0));
    files.writePicture(QStringLiteral("amber-alarm.png"), {16, 16}, QColor(0xa0, 0x10, 0x90));
}

class LiveChangeTest : public ClockWindowTest, public ::testing::WithParamInterface<LiveChange> {
protected:
    SkinFiles files{programFolder.path()};

    void SetUp() override {
        ClockWindowTest::SetUp();
        core.EnsureSettings();
        core.SetAlarmsEnabled(true);
        writeSkin("amber", QColor(0xd0, 0x90, 0x20), QColor(0x60, 0x40, 0x10));
        writeSkin("teal", QColor(0x20, 0xa0, 0xa0), QColor(0x10, 0x50, 0x50));
    }

    // The skin "name.vds", listed with its name capitalised, and its three pictures.
    void writeSkin(const char* name, QColor title, QColor body) {
        const QString n = QString::fromLatin1(name);
        files.writePicture(n + QStringLiteral("-title.png"), {100, 14}, title);
        files.writePicture(n + QStringLiteral("-body.png"), {100, 58}, body);
        files.writePicture(n + QStringLiteral("-alarm.png"), {16, 16}, title.lighter());
        QStringList lines =
            skinLines(n + QStringLiteral("-title.png"), n + QStringLiteral("-body.png"),
                      n + QStringLiteral("-alarm.png"), {}, {});
        lines[1] = QStringLiteral("name=") + n.left(1).toUpper() + n.mid(1);
        files.writeSkin(n + QStringLiteral(".vds"), lines);
    }

    // The clock as shown on the screen, after a tick at the time.
    QImage shownAt(QTime time) {
        clock.current.setTime(time);
        window->Quartz_Timer();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        return window->screen()
            ->grabWindow(window->winId())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    frmVINDREL& start() {
        frmVINDREL& w = load();
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        return w;
    }
};

// What a change made while running leaves on the screen is what a new start with the same
// settings shows: nothing of the face before it stays behind the labels.
TEST_P(LiveChangeTest, LeavesTheFaceOfANewStart) {
    if (*GetParam().startSkin != '\0')
        VD_Core::CorePeer::settings(core).UsedSkinPath =
            core.skinFolder().path() + QString::fromLatin1(GetParam().startSkin) + ".vds";
    core.SaveSettings();
    frmVINDREL& w = start();
    shownAt(QTime(21, 5, 31));
    w.mnuOPTIONS_Click();
    for (const auto& step : GetParam().steps)
        step(*w.options(), files);
    shownAt(QTime(21, 5, 32));
    const QImage changed = shownAt(QTime(21, 6, 0));
    core.SaveSettings();

    window.reset();
    start();
    const QImage fresh = shownAt(QTime(21, 6, 0));
    ASSERT_EQ(changed.size(), fresh.size());
    int differing = 0;
    for (int y = 0; y < fresh.height(); ++y)
        for (int x = 0; x < fresh.width(); ++x)
            differing += changed.pixel(x, y) != fresh.pixel(x, y) ? 1 : 0;
    EXPECT_EQ(differing, 0) << "pixels that differ from a new start's";
}

INSTANTIATE_TEST_SUITE_P(
    Changes, LiveChangeTest,
    ::testing::Values(LiveChange{"BuiltInToASkin", "", {choose("Amber")}},
                      LiveChange{"ASkinToTheBuiltIn", "amber", {choose("<Default>")}},
                      LiveChange{"ASkinToAnother", "amber", {choose("Teal")}},
                      LiveChange{"PicturesRedrawnAndChosenAgain",
                                 "amber",
                                 {repaintAmber, choose("<Default>"), choose("Amber")}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
