#pragma once

#include "Spinner.h"

#include <VD_Core.h>

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <array>

class frmSETS;

// The alarm editor: name, hour and minute spinners, day and month. The opener sets the caption
// ("New Alarm" or "Edit Alarm"), in edit mode the Tag and the presets, then shows it modal.
class frmALM : public QDialog {
    Q_OBJECT
public:
    // Creates the controls and runs Form_Load; "&Ok" refreshes the alarm list of `options`.
    frmALM(VD_Core::Core& core, frmSETS& options, QWidget* parent = nullptr);

    // The edited entry's number as decimal text, in edit mode.
    QString Tag;

    void txtNAME_Change();
    void vsbHOUR_Change();
    void vsbMINS_Change();
    void btnCOM_Click(int index);

    std::array<QLabel*, 2> lblDISP{};
    QLineEdit* txtNAME = nullptr;
    QLineEdit* txtHOUR = nullptr;
    Spinner* vsbHOUR = nullptr;
    QLineEdit* txtMINS = nullptr;
    Spinner* vsbMINS = nullptr;
    QComboBox* cbxDAY = nullptr;
    QComboBox* cbxMONTH = nullptr;
    std::array<QPushButton*, 2> btnCOM{};

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createTimeControls();
    void connectHandlers();
    void Form_Load();
    void fieldTyped(QLineEdit* field, QScrollBar* spinner, int last);
    int targetEntry();

    VD_Core::Core& core_;
    frmSETS& options_;
};
