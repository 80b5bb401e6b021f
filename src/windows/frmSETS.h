#pragma once

#include <VD_Core.h>

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>

#include <array>

// The Options dialog: the three switches, the alarm list with its New, Edit and Delete
// buttons, and the About box. Shown modeless; "&Ok" saves and closes, the close box just closes.
class frmSETS : public QDialog {
    Q_OBJECT
public:
    // Creates the controls and runs Form_Load.
    explicit frmSETS(VD_Core::Core& core, QWidget* parent = nullptr);

    void AlmEnabler();
    void AlmListRefresh();
    void chkALM_Click();
    void chkSIG_Click();
    void chkONTOP_Click();
    void btnALM_Click(int index);
    void btnCOM_Click(int index);

    std::array<QGroupBox*, 1> corDISP{};
    QCheckBox* chkALM = nullptr;
    QListWidget* lstALM = nullptr;
    std::array<QPushButton*, 3> btnALM{};
    QCheckBox* chkSIG = nullptr;
    QCheckBox* chkONTOP = nullptr;
    std::array<QPushButton*, 2> btnCOM{};

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void createAlarmGroup();
    void connectHandlers();
    void Form_Load();
    void openEditor(int entry);

    VD_Core::Core& core_;
};
