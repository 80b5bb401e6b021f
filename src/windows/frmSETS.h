#pragma once

#include "windows/CentredDialog.h"
#include "windows/SelectedList.h"

#include "core/VD_Core.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <array>

// The Options dialog: the three switches, the alarm list with its New, Edit and Delete
// buttons, the skin list with its previews, and the About box. Shown modeless; "&Ok" saves and
// closes, the close box just closes.
class frmSETS : public CentredDialog {
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
    void SkinListRefresh();
    void lstSKIN_Click();
    void btnSKIN_Click(int index);

    // Slot 0 is the built-in look; slot k belongs to the skin on line k of lstSKIN. A refresh
    // overwrites the slots it uses and clears none.
    QStringList SkinAuthors;
    QStringList SkinPaths;

    std::array<QGroupBox*, 2> corDISP{};
    QCheckBox* chkALM = nullptr;
    SelectedList* lstALM = nullptr;
    std::array<QPushButton*, 3> btnALM{};
    QCheckBox* chkSIG = nullptr;
    QCheckBox* chkONTOP = nullptr;
    SelectedList* lstSKIN = nullptr;
    QLabel* lblAUTHOR = nullptr;
    std::array<QPushButton*, 3> btnSKIN{};
    std::array<QPushButton*, 2> btnCOM{};

private:
    void createControls();
    void createAlarmGroup();
    void createSkinGroup();
    void connectHandlers();
    void Form_Load();
    void openEditor(int entry);
    void takeBackTheFocus();

    VD_Core::Core& core_;
};
