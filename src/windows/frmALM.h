#pragma once

#include "CentredDialog.h"
#include "Spinner.h"

#include <VD_Core.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <array>
#include <optional>

// The alarm editor: name, hour and minute spinners, day and month. The opener sets the caption
// ("New Alarm" or "Edit Alarm"), in edit mode the Tag and the presets, then shows it modal.
class frmALM : public CentredDialog {
    Q_OBJECT
public:
    // Creates the controls and runs Form_Load.
    explicit frmALM(VD_Core::Core& core, QWidget* parent = nullptr);

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

signals:
    // "&Ok" stored the alarm as entry n of the table and saved it.
    void alarmStored(int n);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createTimeControls();
    void connectHandlers();
    void Form_Load();
    void fieldTyped(QLineEdit* field, QScrollBar* spinner, int last);
    std::optional<int> targetEntry() const;

    VD_Core::Core& core_;
};
