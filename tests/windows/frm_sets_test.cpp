#include "windows/frmALM.h"
#include "windows/frmSETS.h"
#include "windows/frmVINDREL.h"
#include <CorePeer.h>
#include <FakeClockWindow.h>
#include <ModalDialogs.h>
#include <TestCore.h>

#include <QStyleOptionButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

using VD_Core::AlarmEntry;

class OptionsTest : public ::testing::Test, protected TestCore {
protected:
    FakeClockWindow clockWindow;
    std::unique_ptr<frmSETS> options;

    void SetUp() override {
        core.attachWindow(&clockWindow);
        core.EnsureSettings();
    }

    QString stored(const QString& name, bool alarmsKey = true) const {
        const QString key = alarmsKey ? QStringLiteral("Software\\Brambleton\\Vindrel\\Alarms")
                                      : QStringLiteral("Software\\Brambleton\\Vindrel");
        return core.registry().GetValue(Hive::Root::CurrentUser, key, name).toText();
    }

    void addAlarms(int count) {
        for (int n = 1; n <= count; ++n)
            VD_Core::CorePeer::alarms(core).append(
                {QStringLiteral("Alarm %1").arg(n), quint8(n), 0, 0, 0});
    }

    frmSETS& open() {
        options = std::make_unique<frmSETS>(core);
        return *options;
    }

    QStringList listed() const {
        QStringList names;
        for (int i = 0; i < options->lstALM->count(); ++i)
            names << options->lstALM->item(i)->text();
        return names;
    }
};

TEST_F(OptionsTest, AlarmsOffWithAlarmsStored) {
    addAlarms(3);
    frmSETS& o = open();
    EXPECT_EQ(o.lstALM->count(), 3);
    EXPECT_FALSE(o.lstALM->isEnabled());
    for (QPushButton* b : o.btnALM)
        EXPECT_FALSE(b->isEnabled());
}

TEST_F(OptionsTest, AlarmsOnWithoutAlarms) {
    core.SetAlarmsEnabled(true);
    frmSETS& o = open();
    EXPECT_TRUE(o.lstALM->isEnabled());
    EXPECT_TRUE(o.btnALM[0]->isEnabled());
    EXPECT_FALSE(o.btnALM[1]->isEnabled());
    EXPECT_FALSE(o.btnALM[2]->isEnabled());
}

TEST_F(OptionsTest, AlarmsOnWithAlarmsSelectsTheFirstLine) {
    core.SetAlarmsEnabled(true);
    addAlarms(2);
    frmSETS& o = open();
    EXPECT_EQ(o.lstALM->currentRow(), 0);
    for (QPushButton* b : o.btnALM)
        EXPECT_TRUE(b->isEnabled());
    EXPECT_EQ(o.lstALM->item(1)->data(Qt::UserRole).toInt(), 2);
}

TEST_F(OptionsTest, LoadingLeavesTheSettingsAsTheyWere) {
    core.SetHourSignal(true);
    core.SetAlarmsEnabled(true);
    VD_Core::CorePeer::settings(core).AlwaysOnTop = 1;
    frmSETS& o = open();
    EXPECT_TRUE(o.chkSIG->isChecked());
    EXPECT_TRUE(o.chkALM->isChecked());
    EXPECT_TRUE(o.chkONTOP->isChecked());
    EXPECT_EQ(core.settings().HourSignal, 1);
    EXPECT_EQ(core.settings().AlarmEnabled, 1);
    EXPECT_EQ(core.settings().AlwaysOnTop, 1);
    EXPECT_EQ(clockWindow.topmostCalls, QStringList{QStringLiteral("on")});
}

TEST_F(OptionsTest, SwitchesTakeEffectAtOnce) {
    frmSETS& o = open();
    o.chkSIG->click();
    EXPECT_EQ(core.settings().HourSignal, 1);
    // Greyed out while alarms are off, each saying so.
    for (QWidget* control : {static_cast<QWidget*>(o.lstALM), static_cast<QWidget*>(o.btnALM[0])})
        EXPECT_TRUE(!control->isEnabled() && control->toolTip().contains(QStringLiteral("Enable")));
    o.chkALM->click();
    EXPECT_EQ(core.settings().AlarmEnabled, 1);
    EXPECT_TRUE(o.btnALM[0]->isEnabled());
    EXPECT_TRUE(o.btnALM[0]->toolTip().isEmpty() && o.lstALM->toolTip().isEmpty());
    o.chkALM->click();
    EXPECT_EQ(core.settings().AlarmEnabled, 0);
    EXPECT_FALSE(clockWindow.alarmVisible) << "the picture follows only at Ok";
    o.chkONTOP->click();
    EXPECT_EQ(core.settings().AlwaysOnTop, 1);
    EXPECT_EQ(clockWindow.topmostCalls, QStringList{QStringLiteral("on")});
}

TEST_F(OptionsTest, OkShowsTheAlarmPictureAndCloses) {
    frmSETS& o = open();
    o.show();
    o.chkALM->click();
    o.btnCOM[0]->click();
    EXPECT_TRUE(clockWindow.alarmVisible);
    EXPECT_FALSE(o.isVisible());
}

TEST_F(OptionsTest, TheCloseBoxLeavesThePictureAlone) {
    clockWindow.alarmVisible = true;
    frmSETS& o = open();
    o.show();
    o.close();
    EXPECT_TRUE(clockWindow.alarmVisible);
}

TEST_F(OptionsTest, NewIsDisabledAtTwentyAlarmsAndSaysWhy) {
    core.SetAlarmsEnabled(true);
    addAlarms(VD_Core::Alarms::kCapacity);
    frmSETS& o = open();
    EXPECT_FALSE(o.btnALM[0]->isEnabled());
    EXPECT_TRUE(o.btnALM[0]->toolTip().contains(QStringLiteral("20")));
    EXPECT_TRUE(o.btnALM[1]->isEnabled());
}

TEST_F(OptionsTest, NewWithOnlyANameAppendsAMidnightAlarmForEveryDay) {
    core.SetAlarmsEnabled(true);
    addAlarms(1);
    frmSETS& o = open();
    QString caption;
    whenModalOpens<frmALM>([&](frmALM& e) {
        caption = e.windowTitle();
        QTest::keyClicks(e.txtNAME, QStringLiteral("Walk"));
        e.btnCOM[1]->click();
    });
    o.btnALM[0]->click();
    EXPECT_EQ(caption, QStringLiteral("New Alarm"));
    ASSERT_EQ(core.alarms().AlarmCount, 2);
    EXPECT_EQ(core.alarms()[2], (AlarmEntry{QStringLiteral("Walk"), 0, 0, 0, 0}));
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("Alarm 1"), QStringLiteral("Walk")}));
    EXPECT_EQ(o.lstALM->currentRow(), 0);
    EXPECT_EQ(stored(QStringLiteral("AlarmCount"), false), QStringLiteral("2"));
    EXPECT_EQ(stored(QStringLiteral("02.Name")), QStringLiteral("Walk"));
    EXPECT_EQ(stored(QStringLiteral("02.Hour")), QStringLiteral("0"));
    EXPECT_EQ(stored(QStringLiteral("02.Day")), QStringLiteral("0"));
}

struct PresetCase {
    const char* name;
    AlarmEntry entry;
    int hourPosition;
    int minsPosition;
    const char* hourText;
    const char* minsText;
    const char* day;
    const char* month;
};

class EditPresetTest : public OptionsTest, public ::testing::WithParamInterface<PresetCase> {};

TEST_P(EditPresetTest, EditorShowsTheEntry) {
    core.SetAlarmsEnabled(true);
    VD_Core::CorePeer::alarms(core).append({QStringLiteral("First"), 9, 9, 0, 0});
    VD_Core::CorePeer::alarms(core).append(GetParam().entry);
    frmSETS& o = open();
    o.lstALM->setCurrentRow(1);
    const PresetCase& c = GetParam();
    whenModalOpens<frmALM>([&](frmALM& e) {
        EXPECT_EQ(e.windowTitle(), QStringLiteral("Edit Alarm"));
        EXPECT_EQ(e.txtNAME->text(), c.entry.Name);
        EXPECT_TRUE(e.btnCOM[1]->isEnabled());
        EXPECT_EQ(e.vsbHOUR->value(), c.hourPosition);
        EXPECT_EQ(e.vsbMINS->value(), c.minsPosition);
        EXPECT_EQ(e.txtHOUR->text(), QString::fromLatin1(c.hourText));
        EXPECT_EQ(e.txtMINS->text(), QString::fromLatin1(c.minsText));
        EXPECT_EQ(e.cbxDAY->currentText(), QString::fromLatin1(c.day));
        EXPECT_EQ(e.cbxMONTH->currentText(), QString::fromLatin1(c.month));
        e.btnCOM[0]->click();
    });
    o.btnALM[1]->click();
}

INSTANTIATE_TEST_SUITE_P(Entries, EditPresetTest,
                         ::testing::Values(PresetCase{"Midnight",
                                                      {QStringLiteral("M"), 0, 0, 0, 0},
                                                      23,
                                                      59,
                                                      "0",
                                                      "00",
                                                      "All Days",
                                                      "All Months"},
                                           PresetCase{"LastMinute",
                                                      {QStringLiteral("L"), 23, 59, 7, 12},
                                                      0,
                                                      0,
                                                      "23",
                                                      "59",
                                                      "Sunday",
                                                      "December"},
                                           PresetCase{"OutOfRange",
                                                      {QStringLiteral("O"), 30, 75, 9, 14},
                                                      0,
                                                      0,
                                                      "23",
                                                      "59",
                                                      "Sunday",
                                                      "December"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OptionsTest, EditThenOkWritesTheSameEntryBack) {
    core.SetAlarmsEnabled(true);
    addAlarms(2);
    const AlarmEntry before = core.alarms()[2];
    frmSETS& o = open();
    o.lstALM->setCurrentRow(1);
    whenModalOpens<frmALM>([](frmALM& e) { e.btnCOM[1]->click(); });
    o.btnALM[1]->click();
    EXPECT_EQ(core.alarms().AlarmCount, 2);
    EXPECT_EQ(core.alarms()[2], before);
    EXPECT_EQ(o.lstALM->currentRow(), 0);
}

TEST_F(OptionsTest, CancelAndTheCloseBoxChangeNothing) {
    core.SetAlarmsEnabled(true);
    addAlarms(2);
    frmSETS& o = open();
    o.lstALM->setCurrentRow(1);
    for (bool closeBox : {false, true}) {
        whenModalOpens<frmALM>([closeBox](frmALM& e) {
            e.txtNAME->setText(QStringLiteral("changed"));
            e.vsbHOUR->setValue(0);
            if (closeBox)
                e.close();
            else
                e.btnCOM[0]->click();
        });
        o.btnALM[1]->click();
        EXPECT_EQ(core.alarms()[2].Name, QStringLiteral("Alarm 2"));
        EXPECT_EQ(core.alarms()[2].Hour, 2);
        EXPECT_EQ(o.lstALM->currentRow(), 1) << "the list is not refilled";
    }
}

TEST_F(OptionsTest, DeleteTheSecondOfThree) {
    core.SetAlarmsEnabled(true);
    addAlarms(3);
    frmSETS& o = open();
    o.lstALM->setCurrentRow(1);
    o.btnALM[2]->click();
    ASSERT_EQ(listed(), (QStringList{QStringLiteral("Alarm 1"), QStringLiteral("Alarm 3")}));
    EXPECT_EQ(o.lstALM->item(1)->data(Qt::UserRole).toInt(), 2);
    EXPECT_EQ(stored(QStringLiteral("AlarmCount"), false), QStringLiteral("2"));
    EXPECT_EQ(stored(QStringLiteral("01.Name")), QStringLiteral("Alarm 1"));
    EXPECT_EQ(stored(QStringLiteral("02.Name")), QStringLiteral("Alarm 3"));
    EXPECT_EQ(stored(QStringLiteral("02.Hour")), QStringLiteral("3"));
    EXPECT_TRUE(stored(QStringLiteral("03.Name")).isEmpty()) << "the third is gone from storage";
    EXPECT_EQ(o.lstALM->currentRow(), 0);
    EXPECT_EQ(core.alarms().AlarmCount, 2);
    EXPECT_EQ(core.alarms()[2].Name, QStringLiteral("Alarm 3"));
}

struct ListGesture {
    const char* name;
    void (*act)(QListWidget& list); // on a list of three whose second line is selected
    int selected;                   // the line selected after it
};

void PrintTo(const ListGesture& g, std::ostream* out) {
    *out << g.name;
}

void clickLine(QListWidget& list, int row, Qt::KeyboardModifiers modifiers) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, modifiers,
                      list.visualItemRect(list.item(row)).center());
}

class AlarmListGestureTest : public OptionsTest,
                             public ::testing::WithParamInterface<ListGesture> {};

// Whatever the user does in it, a filled list keeps one line highlighted, and "&Delete" removes
// that line.
TEST_P(AlarmListGestureTest, DeleteRemovesTheLineShownSelected) {
    core.SetAlarmsEnabled(true);
    addAlarms(3);
    frmSETS& o = open();
    o.show();
    o.lstALM->setFocus();
    clickLine(*o.lstALM, 1, Qt::NoModifier);
    GetParam().act(*o.lstALM);
    const QList<QListWidgetItem*> selected = o.lstALM->selectedItems();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(o.lstALM->row(selected[0]), GetParam().selected);
    const QString shown = selected[0]->text();
    o.btnALM[2]->click();
    EXPECT_EQ(listed().size(), 2);
    EXPECT_FALSE(listed().contains(shown));
}

INSTANTIATE_TEST_SUITE_P(
    Gestures, AlarmListGestureTest,
    ::testing::Values(ListGesture{"CtrlClickOnTheSelectedLine",
                                  [](QListWidget& l) { clickLine(l, 1, Qt::ControlModifier); }, 1},
                      ListGesture{"CtrlSpace",
                                  [](QListWidget& l) {
                                      QTest::keyClick(&l, Qt::Key_Space, Qt::ControlModifier);
                                  },
                                  1},
                      ListGesture{"CtrlClickOnAnotherLine",
                                  [](QListWidget& l) { clickLine(l, 2, Qt::ControlModifier); }, 2},
                      ListGesture{"ClickBelowTheLines",
                                  [](QListWidget& l) {
                                      QTest::mouseClick(l.viewport(), Qt::LeftButton, {},
                                                        QPoint(5, l.viewport()->height() - 2));
                                  },
                                  1},
                      ListGesture{"CtrlDownThenCtrlSpace",
                                  [](QListWidget& l) {
                                      QTest::keyClick(&l, Qt::Key_Down, Qt::ControlModifier);
                                      QTest::keyClick(&l, Qt::Key_Space, Qt::ControlModifier);
                                  },
                                  2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OptionsTest, DeleteTheOnlyAlarm) {
    core.SetAlarmsEnabled(true);
    addAlarms(1);
    frmSETS& o = open();
    o.btnALM[2]->click();
    EXPECT_EQ(o.lstALM->count(), 0);
    EXPECT_TRUE(o.btnALM[0]->isEnabled());
    EXPECT_FALSE(o.btnALM[1]->isEnabled());
    EXPECT_FALSE(o.btnALM[2]->isEnabled());
    EXPECT_EQ(stored(QStringLiteral("AlarmCount"), false), QStringLiteral("0"));
}

TEST_F(OptionsTest, AlwaysOnTopIsSavedAtOnceAndSurvivesTheCloseBox) {
    frmSETS& o = open();
    o.show();
    o.chkONTOP->click();
    EXPECT_EQ(stored(QStringLiteral("AlwaysOnTop"), false), QStringLiteral("1"));
    o.close();
    EXPECT_EQ(clockWindow.topmostCalls.last(), QStringLiteral("on"));
}

TEST_F(OptionsTest, SwitchesReachStorageOnlyWithASave) {
    frmSETS& o = open();
    o.chkSIG->click();
    o.chkALM->click();
    EXPECT_EQ(stored(QStringLiteral("HourSignal"), false), QStringLiteral("0"));
    o.btnCOM[0]->click();
    EXPECT_EQ(stored(QStringLiteral("HourSignal"), false), QStringLiteral("1"));
    EXPECT_EQ(stored(QStringLiteral("AlarmEnabled"), false), QStringLiteral("1"));
}

TEST_F(OptionsTest, CancelSavesNothing) {
    core.SetAlarmsEnabled(true);
    frmSETS& o = open();
    whenModalOpens<frmALM>([](frmALM& e) {
        e.txtNAME->setText(QStringLiteral("never"));
        e.btnCOM[0]->click();
    });
    o.btnALM[0]->click();
    EXPECT_EQ(core.alarms().AlarmCount, 0);
    EXPECT_TRUE(stored(QStringLiteral("01.Name")).isEmpty());
}

TEST_F(OptionsTest, EnterAndEscapePressNoButton) {
    frmSETS& o = open();
    o.show();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape})
        QTest::keyClick(&o, key);
    EXPECT_TRUE(o.isVisible());
}

TEST_F(OptionsTest, LayoutInTwips) {
    frmSETS& o = open();
    EXPECT_EQ(o.size(), QSize(424, 175));
    EXPECT_EQ(o.windowTitle(), QStringLiteral("Brambleton Vindrel"));
    EXPECT_EQ(o.corDISP[0]->geometry(), QRect(8, 8, 201, 129));
    EXPECT_EQ(o.lstALM->geometry(), QRect(8, 24, 129, 95));
    EXPECT_EQ(o.btnALM[2]->geometry(), QRect(144, 88, 49, 25));
    EXPECT_EQ(o.btnCOM[0]->geometry(), QRect(360, 144, 57, 25));
    EXPECT_EQ(o.chkONTOP->pos(), QPoint(144, 152));
}

// The first row from the top where a column of the picture is not the background.
int firstMarkedRow(const QImage& picture, int x, const QColor& background) {
    for (int y = 0; y < picture.height(); ++y)
        if (picture.pixelColor(x, y) != background)
            return y;
    return -1;
}

// The top and bottom rows of dark (text) pixels within an area of the picture.
std::pair<int, int> textRows(const QImage& picture, const QRect& area) {
    int top = -1;
    int bottom = -1;
    for (int y = std::max(0, area.top()); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (picture.pixelColor(x, y).lightness() < 100) {
                top = top < 0 ? y : top;
                bottom = y;
            }
    return {top, bottom};
}

TEST_F(OptionsTest, BothFramesHaveTheirLineLevelAndTheirCaptionsOnIt) {
    frmSETS& o = open();
    const QImage picture = o.grab().toImage();
    const QColor background = o.palette().color(QPalette::Window);
    const QRect alarms = o.corDISP[0]->geometry();
    const QRect skins = o.corDISP[1]->geometry();
    EXPECT_EQ(firstMarkedRow(picture, skins.right() - 20, background),
              firstMarkedRow(picture, alarms.right() - 20, background));

    QStyleOptionButton box;
    box.initFrom(o.chkALM);
    box.text = o.chkALM->text();
    const QRect alarmCaption = o.chkALM->style()
                                   ->subElementRect(QStyle::SE_CheckBoxContents, &box, o.chkALM)
                                   .translated(o.chkALM->pos());
    const QRect skinCaption(skins.left() + 4, skins.top() - 8, 60, 28);
    EXPECT_EQ(textRows(picture, skinCaption), textRows(picture, alarmCaption));
}

// The clock window's side: one dialog however often "&Options" is chosen.
class OptionsFromClockTest : public ::testing::Test, protected TestCore {};

TEST_F(OptionsFromClockTest, ChoosingOptionsTwiceGivesOneDialog) {
    frmVINDREL clock(core);
    clock.mnuOPTIONS->trigger();
    frmSETS* first = clock.options();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    first->chkSIG->click();
    clock.mnuOPTIONS->trigger();
    EXPECT_EQ(clock.options(), first);
    EXPECT_TRUE(first->chkSIG->isChecked()) << "not loaded again";
}

TEST_F(OptionsFromClockTest, OkUnloadsSoTheNextOpeningStartsAfresh) {
    frmVINDREL clock(core);
    clock.mnuOPTIONS->trigger();
    QPointer<frmSETS> first = clock.options();
    first->btnCOM[0]->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    clock.mnuOPTIONS->trigger();
    EXPECT_NE(clock.options(), nullptr);
}

// One alarm from its making to its sound: made in the editor, saved, listed, and sounded once
// on the first tick of its minute.
TEST_F(OptionsFromClockTest, AnAlarmFromItsMakingToItsSound) {
    clock.current = QDateTime(QDate(2024, 3, 4), QTime(7, 0, 0)); // a Monday
    frmVINDREL clockWindow(core);
    VD_Core::CorePeer::skin(core).AlarmSoundPath = QStringLiteral("ring.wav");
    clockWindow.mnuOPTIONS->trigger();
    frmSETS& o = *clockWindow.options();
    o.chkALM->click();
    whenModalOpens<frmALM>([](frmALM& e) {
        QTest::keyClicks(e.txtNAME, QStringLiteral("Stretch"));
        for (int i = 0; i < 7; ++i)
            e.vsbHOUR->triggerAction(QAbstractSlider::SliderSingleStepSub);
        for (int i = 0; i < 5; ++i)
            e.vsbMINS->triggerAction(QAbstractSlider::SliderSingleStepSub);
        e.cbxDAY->setCurrentIndex(1);
        e.btnCOM[1]->click();
    });
    o.btnALM[0]->click();
    ASSERT_EQ(o.lstALM->count(), 1);
    EXPECT_EQ(o.lstALM->item(0)->text(), QStringLiteral("Stretch"));
    EXPECT_EQ(core.alarms()[1], (AlarmEntry{QStringLiteral("Stretch"), 7, 5, 1, 0}));
    EXPECT_EQ(core.registry()
                  .GetValue(Hive::Root::CurrentUser,
                            QStringLiteral("Software\\Brambleton\\Vindrel\\Alarms"),
                            QStringLiteral("01.Mins"))
                  .toText(),
              QStringLiteral("5"));

    for (const QTime& t :
         {QTime(7, 4, 59, 700), QTime(7, 5, 0, 200), QTime(7, 5, 0, 700), QTime(7, 5, 30)}) {
        clock.current = QDateTime(QDate(2024, 3, 4), t);
        clockWindow.Quartz_Timer();
    }
    EXPECT_EQ(sound.played, QStringList{QStringLiteral("ring.wav")});
}

} // namespace
