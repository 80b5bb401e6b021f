#pragma once

#include <QDialog>

// The program's dialogs: each opens centred on its screen, and neither Enter nor Escape
// presses one of its buttons or closes it.
class CentredDialog : public QDialog {
    Q_OBJECT
public:
    CentredDialog(QWidget* parent, Qt::WindowFlags flags);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
};
