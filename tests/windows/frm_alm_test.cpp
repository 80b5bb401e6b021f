#include "windows/frmALM.h"
#include <CorePeer.h>
#include <FakeClockWindow.h>
#include <TestCore.h>

#include <QAccessible>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class AlarmEditorTest : public ::testing::Test, protected TestCore {
protected:
    FakeClockWindow clockWindow;
    std::unique_ptr<frmALM> editor;

    void SetUp() override {
        core.attachWindow(&clockWindow);
        editor = std::make_unique<frmALM>(core, std::nullopt);
    }

    void pressArrow(QScrollBar* spinner, bool upper) {
        spinner->triggerAction(upper ? QAbstractSlider::SliderSingleStepSub
                                     : QAbstractSlider::SliderSingleStepAdd);
    }
};

TEST_F(AlarmEditorTest, StartsWithItsInitialFieldsAndLists) {
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("New Alarm"));
    EXPECT_EQ(editor->txtHOUR->text(), QStringLiteral("0"));
    EXPECT_EQ(editor->txtMINS->text(), QStringLiteral("00"));
    EXPECT_EQ(editor->vsbHOUR->value(), 23);
    EXPECT_EQ(editor->vsbMINS->value(), 59);
    EXPECT_FALSE(editor->btnCOM[1]->isEnabled());
    ASSERT_EQ(editor->cbxDAY->count(), 8);
    EXPECT_EQ(editor->cbxDAY->itemText(7), QStringLiteral("Sunday"));
    ASSERT_EQ(editor->cbxMONTH->count(), 13);
    EXPECT_EQ(editor->cbxMONTH->itemText(12), QStringLiteral("December"));
    EXPECT_EQ(editor->cbxDAY->currentIndex(), 0);
    EXPECT_EQ(editor->cbxMONTH->currentIndex(), 0);
    EXPECT_EQ(editor->size(), QSize(230, 109));
}

TEST_F(AlarmEditorTest, OkFollowsWhetherTheNameHoldsText) {
    QTest::keyClicks(editor->txtNAME, QStringLiteral(" "));
    EXPECT_TRUE(editor->btnCOM[1]->isEnabled()); // a space counts
    editor->txtNAME->clear();
    EXPECT_FALSE(editor->btnCOM[1]->isEnabled());
    editor->txtNAME->setText(QStringLiteral("Tea"));
    EXPECT_TRUE(editor->btnCOM[1]->isEnabled());
}

TEST_F(AlarmEditorTest, SpinnerArrowsStopAtTheEnds) {
    pressArrow(editor->vsbHOUR, false);
    EXPECT_EQ(editor->txtHOUR->text(), QStringLiteral("0"));
    pressArrow(editor->vsbHOUR, true);
    EXPECT_EQ(editor->txtHOUR->text(), QStringLiteral("1"));
    pressArrow(editor->vsbMINS, false);
    EXPECT_EQ(editor->txtMINS->text(), QStringLiteral("00"));
    editor->vsbMINS->setValue(0);
    EXPECT_EQ(editor->txtMINS->text(), QStringLiteral("59"));
    pressArrow(editor->vsbMINS, true);
    EXPECT_EQ(editor->txtMINS->text(), QStringLiteral("59"));
    editor->vsbHOUR->setValue(16);
    editor->vsbMINS->setValue(52);
    EXPECT_EQ(editor->txtHOUR->text(), QStringLiteral("7"));
    EXPECT_EQ(editor->txtMINS->text(), QStringLiteral("07"));
}

TEST_F(AlarmEditorTest, AScreenReaderIsGivenTheNumberShownNotThePosition) {
    QAccessibleInterface* hour = QAccessible::queryAccessibleInterface(editor->vsbHOUR);
    QAccessibleValueInterface* value = hour->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->currentValue().toInt(), 0);
    EXPECT_EQ(value->minimumValue().toInt(), 0);
    EXPECT_EQ(value->maximumValue().toInt(), 23);
    value->setCurrentValue(7);
    EXPECT_EQ(editor->txtHOUR->text(), QStringLiteral("7"));
    hour->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
    EXPECT_EQ(hour->text(QAccessible::Value), QStringLiteral("8"));
    EXPECT_EQ(editor->txtHOUR->text(), QStringLiteral("8"));
    value->setCurrentValue(99);
    EXPECT_EQ(editor->txtHOUR->text(), QStringLiteral("23")) << "beyond the range: its end";
    QAccessibleInterface* mins = QAccessible::queryAccessibleInterface(editor->vsbMINS);
    pressArrow(editor->vsbMINS, true);
    EXPECT_EQ(mins->valueInterface()->currentValue().toInt(), 1);
    mins->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
    mins->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
    EXPECT_EQ(editor->txtMINS->text(), QStringLiteral("00"));
}

TEST_F(AlarmEditorTest, SettingTheSamePositionLeavesTheFieldAlone) {
    editor->txtHOUR->setText(QStringLiteral("x"));
    editor->vsbHOUR->setValue(23);
    EXPECT_EQ(editor->txtHOUR->text(), QStringLiteral("x"));
}

TEST_F(AlarmEditorTest, TypedDigitsMoveTheSpinnerAndOutOfRangeOnesAreRefused) {
    editor->txtHOUR->clear();
    QTest::keyClicks(editor->txtHOUR, QStringLiteral("17"));
    EXPECT_EQ(editor->txtHOUR->text(), QStringLiteral("17"));
    EXPECT_EQ(editor->vsbHOUR->value(), 6);
    editor->txtHOUR->clear();
    QTest::keyClicks(editor->txtHOUR, QStringLiteral("29"));
    EXPECT_EQ(editor->txtHOUR->text(), QStringLiteral("2"));
    EXPECT_EQ(editor->vsbHOUR->value(), 21);
    editor->txtMINS->clear();
    QTest::keyClicks(editor->txtMINS, QStringLiteral("5a"));
    EXPECT_EQ(editor->txtMINS->text(), QStringLiteral("5"));
    EXPECT_EQ(editor->vsbMINS->value(), 54);
}

TEST_F(AlarmEditorTest, OkStoresWhatTheFieldsShowAfterTyping) {
    editor->txtNAME->setText(QStringLiteral("Lunch"));
    editor->txtHOUR->clear();
    QTest::keyClicks(editor->txtHOUR, QStringLiteral("12"));
    editor->txtMINS->clear(); // left empty: the spinner's minutes are stored and shown
    QTest::keyClicks(editor->txtMINS, QStringLiteral("5"));
    editor->txtMINS->clear();
    editor->btnCOM_Click(1);
    ASSERT_EQ(core.alarms().AlarmCount, 1);
    EXPECT_EQ(core.alarms()[1], (VD_Core::AlarmEntry{QStringLiteral("Lunch"), 12, 5, 0, 0}));
    EXPECT_EQ(editor->txtMINS->text(), QStringLiteral("05"));
}

TEST_F(AlarmEditorTest, EnterAndEscapePressNoButton) {
    editor->txtNAME->setText(QStringLiteral("Tea"));
    editor->show();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
        QTest::keyClick(editor->txtNAME, key);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(core.alarms().AlarmCount, 0);
}

TEST_F(AlarmEditorTest, NewModeNeverAddsATwentyFirstEntry) {
    VD_Core::CorePeer::alarms(core).AlarmCount = VD_Core::Alarms::kCapacity;
    editor->txtNAME->setText(QStringLiteral("One too many"));
    editor->btnCOM_Click(1);
    EXPECT_EQ(core.alarms().AlarmCount, VD_Core::Alarms::kCapacity);
    EXPECT_NE(core.alarms()[20].Name, QStringLiteral("One too many"));
}

TEST_F(AlarmEditorTest, AMarkerNameIsAccepted) {
    editor->txtNAME->setText(VD_Core::kRemovalMarker);
    editor->btnCOM_Click(1);
    EXPECT_EQ(core.alarms()[1].Name, VD_Core::kRemovalMarker);
}

TEST_F(AlarmEditorTest, TabOrderStartsAtTheName) {
    editor->show();
    QApplication::setActiveWindow(editor.get());
    EXPECT_EQ(editor->focusWidget(), editor->txtNAME);
    EXPECT_EQ(editor->txtNAME->nextInFocusChain(), editor->txtHOUR);
    EXPECT_EQ(editor->txtHOUR->nextInFocusChain(), editor->txtMINS);
    EXPECT_EQ(editor->txtMINS->nextInFocusChain(), editor->cbxDAY);
    EXPECT_EQ(editor->cbxMONTH->nextInFocusChain(), editor->btnCOM[1]);
}

} // namespace
