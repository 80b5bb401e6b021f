#include "windows/btABOUT.h"
#include "windows/frmSETS.h"
#include <ModalDialogs.h>
#include <TestCore.h>

#include "core/Maker.h"

#include <QAccessible>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class AboutTest : public ::testing::Test, protected TestCore {
protected:
    btABOUT about{core};

    void SetUp() override {
        about.show();
        QApplication::setActiveWindow(&about);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    }

    bool underlined(int index) const { return about.lblINFO[index]->font().underline(); }

    // Moves the pointer onto the middle of a widget, as a user would.
    void hover(QWidget* target) {
        QTest::mouseMove(about.windowHandle(), target->mapTo(&about, target->rect().center()));
    }
};

TEST_F(AboutTest, LayoutInTwipsInsideAThreePixelFrame) {
    EXPECT_EQ(about.size(), QSize(292, 171));
    EXPECT_EQ(about.face->geometry(), QRect(3, 3, 286, 165));
    EXPECT_EQ(about.imgBRAMBLE->geometry(), QRect(8, 0, 120, 64));
    EXPECT_EQ(about.btnEND->geometry(), QRect(232, 0, 54, 53));
    EXPECT_EQ(about.lblINFO[1]->geometry(), QRect(8, 96, 273, 17));
    EXPECT_EQ(about.lblINFO[3]->geometry(), QRect(8, 144, 273, 17));
    EXPECT_EQ(about.lnDIV[0], QLine(8, 72, 280, 72));
    EXPECT_EQ(about.lnDIV[1], QLine(8, 136, 280, 136));
    EXPECT_TRUE(about.lblINFO[1]->text().startsWith(QStringLiteral("> ")));
    EXPECT_EQ(about.imgBRAMBLE->picture().size(), QSize(120, 64));
    EXPECT_EQ(about.btnEND->picture().size(), QSize(54, 53));
}

TEST_F(AboutTest, LinksShowThePointingHand) {
    for (int i = 0; i < 4; ++i) {
        const bool link = i == 1 || i == 2;
        EXPECT_EQ(about.lblINFO[i]->testAttribute(Qt::WA_SetCursor), link) << i;
    }
    const QCursor hand = about.lblINFO[1]->cursor();
    EXPECT_EQ(hand.hotSpot(), QPoint(12, 8));
    EXPECT_EQ(hand.pixmap().size(), QSize(32, 32));
}

TEST_F(AboutTest, UnderlineFollowsThePointerBetweenTheLinks) {
    EXPECT_FALSE(underlined(1));
    EXPECT_FALSE(underlined(2));
    hover(about.face);
    hover(about.lblINFO[1]);
    EXPECT_TRUE(underlined(1));
    EXPECT_FALSE(underlined(2));
    hover(about.lblINFO[2]);
    EXPECT_FALSE(underlined(1));
    EXPECT_TRUE(underlined(2));
    hover(about.lblINFO[3]);
    EXPECT_FALSE(underlined(1));
    EXPECT_FALSE(underlined(2));
    hover(about.lblINFO[2]);
    hover(about.face);
    EXPECT_FALSE(underlined(2));
}

TEST_F(AboutTest, PlainLinesOpenNothingAndLinksOpenEachClick) {
    QTest::mouseClick(about.lblINFO[0], Qt::LeftButton);
    QTest::mouseClick(about.lblINFO[3], Qt::LeftButton);
    EXPECT_TRUE(shell.opened.isEmpty());
    QTest::mouseClick(about.lblINFO[1], Qt::LeftButton);
    QTest::mouseClick(about.lblINFO[1], Qt::LeftButton);
    QTest::mouseClick(about.lblINFO[2], Qt::LeftButton);
    ASSERT_EQ(shell.opened.size(), 3);
    EXPECT_EQ(shell.opened[0], shell.opened[1]);
    EXPECT_EQ(shell.opened[0],
              QStringLiteral("mailto:vindrel@example.org?subject=Program About Mail"));
    EXPECT_EQ(shell.opened[2], QStringLiteral("https://example.org/vindrel"));
    EXPECT_TRUE(about.isVisible()) << "stays open after a link is opened";
}

TEST_F(AboutTest, OnlyTheClosePictureCloses) {
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return})
        QTest::keyClick(&about, key);
    QTest::keyClick(about.btnEND, Qt::Key_Escape);
    QTest::keyClick(about.lblINFO[2], Qt::Key_Return);
    EXPECT_EQ(shell.opened, QStringList{VD_Core::Maker::kWeb}) << "Enter on a link opens it";
    EXPECT_FALSE(about.close()) << "a close asked by the window manager";
    EXPECT_TRUE(about.isVisible());
    QTest::mouseClick(about.btnEND, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
}

TEST_F(AboutTest, TheClosePictureHasTheFocusAndSpaceOrEnterPressesIt) {
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        btABOUT box(core);
        box.show();
        ASSERT_EQ(box.focusWidget(), box.btnEND) << key;
        QTest::keyClick(box.focusWidget(), key);
        EXPECT_FALSE(box.isVisible()) << key;
    }
}

TEST_F(AboutTest, TabGoesRoundTheClosePictureAndTheLinksWhichTheKeysOpen) {
    QList<QWidget*> order;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(&about, Qt::Key_Tab);
        order << about.focusWidget();
    }
    EXPECT_EQ(order, (QList<QWidget*>{about.lblINFO[1], about.lblINFO[2], about.btnEND}));
    QTest::keyClick(about.lblINFO[1], Qt::Key_Space);
    // What a screen reader does to open a link.
    QAccessibleInterface* link = QAccessible::queryAccessibleInterface(about.lblINFO[2]);
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(shell.opened, (QStringList{VD_Core::Maker::mailTarget(), VD_Core::Maker::kWeb}));
    EXPECT_TRUE(about.isVisible());
}

TEST_F(AboutTest, TheFocusIsShownOnceAKeyIsPressed) {
    const auto shown = [this] {
        return about.btnEND->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    const QImage before = shown();
    EXPECT_EQ(before, about.btnEND->picture().toImage().convertToFormat(QImage::Format_RGB32))
        << "the picture alone while the mouse is used";
    QTest::keyClick(about.btnEND, Qt::Key_Escape);
    EXPECT_NE(shown(), before);
}

class AboutFromOptionsTest : public ::testing::Test, protected TestCore {};

TEST_F(AboutFromOptionsTest, OpensModalAndAfreshEachTime) {
    frmSETS options(core);
    for (int opening = 0; opening < 2; ++opening) {
        bool modal = false;
        bool underlinedAtStart = true;
        whenModalOpens<btABOUT>([&](btABOUT& about) {
            modal = about.isModal();
            underlinedAtStart = about.lblINFO[1]->font().underline();
            about.lblINFO_MouseMove(1, 0, 0, 0, 0);
            about.btnEND_Click();
        });
        options.btnCOM[1]->click();
        EXPECT_TRUE(modal);
        EXPECT_FALSE(underlinedAtStart);
    }
}

} // namespace
