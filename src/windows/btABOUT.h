#pragma once

#include "windows/CentredDialog.h"
#include "windows/PictureBox.h"
#include "windows/PictureButton.h"

#include "core/VD_Core.h"

#include <QLabel>
#include <QLine>

#include <array>

class LinkLabel;

// The About box: the makers' logo, a credit line, their mail and web links (underlined under
// the pointer, opened by the desktop), a notice line, and a close picture. Shown modal, with the
// focus on the close picture; Tab reaches the links.
class btABOUT : public CentredDialog {
    Q_OBJECT
public:
    explicit btABOUT(VD_Core::Core& core, QWidget* parent = nullptr);

    // The pointer moved over the background, or over the label `index`; the rest is unused.
    void Form_MouseMove(int button, int shift, float x, float y);
    void lblINFO_MouseMove(int index, int button, int shift, float x, float y);
    void lblINFO_Click(int index);
    void btnEND_Click();

    QWidget* face = nullptr;
    PictureBox* imgBRAMBLE = nullptr;
    PictureButton* btnEND = nullptr;
    std::array<QLabel*, 4> lblINFO{};
    std::array<QLine, 2> lnDIV{}; // in the face's pixels

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void createControls();
    void createLabels();
    LinkLabel* makeLink(int index, const QString& text);
    void setLinkUnderline(int index, bool on);

    VD_Core::Core& core_;
};
