#pragma once

#include "windows/CentredDialog.h"
#include "windows/Spinner.h"

#include "core/VD_Core.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <array>
#include <optional>

// The alarm editor: name, hour and minute spinners, day and month. "New Alarm" makes an entry;
// "Edit Alarm" is preset from the entry it edits and stores over it. The opener shows it modal.
class frmALM : public CentredDialog {
    Q_OBJECT
public:
    // Creates the controls and runs Form_Load; for a new alarm when `entry` is empty, else for
    // alarm `entry` (1 to AlarmCount).
    frmALM(VD_Core::Core& core, std::optional<int> entry, QWidget* parent = nullptr);

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
    void presetFrom(const VD_Core::AlarmEntry& entry);
    void fieldTyped(QLineEdit* field, QScrollBar* spinner, int last);

    VD_Core::Core& core_;
    // The entry "&Ok" stores over; empty for a new one.
    std::optional<int> entry_;
};
