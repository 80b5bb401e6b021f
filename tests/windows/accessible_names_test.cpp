#include "windows/btABOUT.h"
#include "windows/frmALM.h"
#include "windows/frmSETS.h"
#include "windows/frmVINDREL.h"
#include <TestCore.h>

#include <QAccessible>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The four windows, as a screen reader finds them; the clock loads with alarms switched on.
class ReaderTest : public ::testing::Test, protected TestCore {
protected:
    std::unique_ptr<frmVINDREL> clockWindow;
    std::unique_ptr<frmSETS> options;
    std::unique_ptr<frmALM> editor;
    std::unique_ptr<btABOUT> about;

    void SetUp() override {
        core.EnsureSettings();
        core.SetAlarmsEnabled(true);
        core.SaveSettings();
        clockWindow = std::make_unique<frmVINDREL>(core);
        options = std::make_unique<frmSETS>(core);
        editor = std::make_unique<frmALM>(core, std::nullopt);
        about = std::make_unique<btABOUT>(core);
    }

    QList<QWidget*> windows() const {
        return {clockWindow.get(), options.get(), editor.get(), about.get()};
    }

    QWidget* window(const std::string& name) const {
        for (QWidget* w : windows())
            if (w->objectName().toStdString() == name)
                return w;
        return nullptr;
    }
};

TEST_F(ReaderTest, EveryControlTheKeyboardReachesHasAName) {
    int reached = 0;
    for (QWidget* w : windows()) {
        for (QWidget* control : w->findChildren<QWidget*>()) {
            if ((control->focusPolicy() & Qt::TabFocus) == 0)
                continue;
            ++reached;
            QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(control);
            ASSERT_NE(reader, nullptr) << control->objectName().toStdString();
            EXPECT_FALSE(reader->text(QAccessible::Name).isEmpty())
                << w->objectName().toStdString() << " " << control->objectName().toStdString();
        }
    }
    // The title strip, 13 in the Options dialog, 9 in the editor and 3 in the About box.
    EXPECT_EQ(reached, 26);
}

struct ReaderCase {
    const char* window;
    const char* control;
    QAccessible::Role role;
    const char* name;
    const char* described; // a part of the description, or nullptr for none
};

class ReaderNameTest : public ReaderTest, public ::testing::WithParamInterface<ReaderCase> {};

TEST_P(ReaderNameTest, NameRoleAndDescription) {
    const ReaderCase& c = GetParam();
    QWidget* w = window(c.window);
    ASSERT_NE(w, nullptr);
    auto* control = w->findChild<QWidget*>(QString::fromLatin1(c.control));
    ASSERT_NE(control, nullptr);
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(control);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->role(), c.role);
    EXPECT_EQ(reader->text(QAccessible::Name), QString::fromUtf8(c.name));
    const QString description = reader->text(QAccessible::Description);
    if (c.described == nullptr)
        EXPECT_TRUE(description.isEmpty()) << description.toStdString();
    else
        EXPECT_TRUE(description.contains(QString::fromUtf8(c.described)))
            << description.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Controls, ReaderNameTest,
    ::testing::Values(
        ReaderCase{"frmVINDREL", "btLogo", QAccessible::Client, "Vindrel", "Shift+F10"},
        ReaderCase{"frmVINDREL", "imgALM", QAccessible::Client, "Alarms enabled", nullptr},
        ReaderCase{"frmSETS", "corDISP0", QAccessible::Grouping, "Alarms", nullptr},
        ReaderCase{"frmSETS", "lstALM", QAccessible::List, "Alarms", "Enable Alarm"},
        ReaderCase{"frmSETS", "lstSKIN", QAccessible::List, "Skins", "at once"},
        ReaderCase{"frmALM", "txtHOUR", QAccessible::EditableText, "Hour", nullptr},
        ReaderCase{"frmALM", "vsbHOUR", QAccessible::SpinBox, "Hour", nullptr},
        ReaderCase{"frmALM", "vsbMINS", QAccessible::SpinBox, "Minutes", nullptr},
        ReaderCase{"btABOUT", "btnEND", QAccessible::Button, "Close", "Closes"},
        ReaderCase{"btABOUT", "lblINFO1", QAccessible::Link, "vindrel@example.org", "mail"},
        ReaderCase{"btABOUT", "lblINFO2", QAccessible::Link, "https://example.org/vindrel",
                   "web browser"}),
    [](const auto& info) {
        return std::string(info.param.window) + "_" + std::string(info.param.control);
    });

} // namespace
