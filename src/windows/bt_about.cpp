#include "windows/btABOUT.h"

#include "windows/DialogLook.h"
#include "windows/LinkLabel.h"
#include "windows/MouseArguments.h"
#include "windows/Twips.h"

#include "core/Maker.h"
#include "resources/BuiltinPictures.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kFrame = 3; // the dialog frame around the client area, in pixels
const QColor kGreen(0x00, 0xc0, 0x00);
const QColor kLightGreen(0x80, 0xff, 0x80);

bool isLink(int index) {
    return index == 1 || index == 2;
}

QLine twipsLine(int x1, int y1, int x2, int y2) {
    return {Twips::toPixels(x1), Twips::toPixels(y1), Twips::toPixels(x2), Twips::toPixels(y2)};
}

// The face paints the black client area and the two white divider lines.
class AboutFace : public QWidget {
public:
    AboutFace(std::array<QLine, 2> lines, QWidget* parent) : QWidget(parent), lines_(lines) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::black);
        p.setPen(Qt::white);
        for (const QLine& line : lines_)
            p.drawLine(line);
    }

private:
    std::array<QLine, 2> lines_;
};

} // namespace

btABOUT::btABOUT(VD_Core::Core& core, QWidget* parent)
    : CentredDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), core_(core) {
    setObjectName(QStringLiteral("btABOUT"));
    setWindowTitle(QStringLiteral("About Vindrel"));
    const QSize client = Twips::size(4290, 2475);
    setFixedSize(client + QSize(2 * kFrame, 2 * kFrame));
    createControls();
}

void btABOUT::createControls() {
    lnDIV = {twipsLine(120, 1080, 4200, 1080), twipsLine(120, 2040, 4200, 2040)};
    face = new AboutFace(lnDIV, this);
    face->setObjectName(QStringLiteral("face"));
    face->setGeometry(kFrame, kFrame, width() - 2 * kFrame, height() - 2 * kFrame);
    face->installEventFilter(this);

    imgBRAMBLE = new PictureBox(face);
    imgBRAMBLE->setObjectName(QStringLiteral("imgBRAMBLE"));
    imgBRAMBLE->setPicture(Builtin::aboutLogo());
    Twips::place(imgBRAMBLE, 120, 0, 1800, 960);

    btnEND = new PictureButton(face);
    btnEND->setObjectName(QStringLiteral("btnEND"));
    btnEND->setPicture(Builtin::closePicture());
    btnEND->setAccessibleName(QStringLiteral("Close"));
    btnEND->setAccessibleDescription(QStringLiteral("Closes the About box"));
    Twips::place(btnEND, 3480, 0, 810, 795);
    connect(btnEND, &PictureButton::clicked, this, &btABOUT::btnEND_Click);

    createLabels();
    // Nothing else closes the box, so the keyboard starts where it can.
    setTabOrder(btnEND, lblINFO[1]);
    setTabOrder(lblINFO[1], lblINFO[2]);
    btnEND->setFocus();
}

void btABOUT::createLabels() {
    using namespace VD_Core;
    const QString texts[] = {Maker::kCreditLine, QStringLiteral("> ") + Maker::kMail,
                             QStringLiteral("> ") + Maker::kWeb, Maker::kNotice};
    for (int i = 0; i < 4; ++i) {
        QLabel* label = isLink(i) ? makeLink(i, texts[i]) : new QLabel(texts[i], face);
        label->setObjectName(QStringLiteral("lblINFO%1").arg(i));
        label->setTextFormat(Qt::PlainText);
        label->setFont(DialogLook::font());
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, isLink(i) ? kLightGreen : kGreen);
        label->setPalette(palette);
        label->setAlignment((i == 3 ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
        Twips::place(label, 120, 1200 + 240 * i + (i == 3 ? 240 : 0), 4095, 255);
        label->setMouseTracking(true);
        label->installEventFilter(this);
        if (isLink(i))
            label->setCursor(Builtin::pointingHand());
        lblINFO[i] = label;
    }
}

// The keyboard opens a link as a click does; a screen reader is told where it leads.
LinkLabel* btABOUT::makeLink(int index, const QString& text) {
    using namespace VD_Core;
    auto* link = new LinkLabel(text, face);
    link->setAccessibleName(index == 1 ? Maker::kMail : Maker::kWeb);
    link->setAccessibleDescription(
        index == 1 ? QStringLiteral("Opens a new mail to it in your mail program")
                   : QStringLiteral("Opens it in your web browser"));
    connect(link, &LinkLabel::activated, this, [this, index] { lblINFO_Click(index); });
    return link;
}

void btABOUT::setLinkUnderline(int index, bool on) {
    QFont font = lblINFO[index]->font();
    if (font.underline() == on)
        return;
    font.setUnderline(on);
    lblINFO[index]->setFont(font);
}

void btABOUT::Form_MouseMove(int, int, float, float) {
    setLinkUnderline(1, false);
    setLinkUnderline(2, false);
}

void btABOUT::lblINFO_MouseMove(int index, int button, int shift, float x, float y) {
    Form_MouseMove(button, shift, x, y);
    if (isLink(index))
        setLinkUnderline(index, true);
}

void btABOUT::lblINFO_Click(int index) {
    if (index == 1)
        core_.shell().open(VD_Core::Maker::mailTarget());
    else if (index == 2)
        core_.shell().open(VD_Core::Maker::kWeb);
}

void btABOUT::btnEND_Click() {
    accept();
}

bool btABOUT::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return CentredDialog::eventFilter(watched, event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const MouseArguments m = mouseArguments(*mouse);
    if (watched == face && type == QEvent::MouseMove)
        Form_MouseMove(m.button, m.shift, m.x, m.y);
    for (int i = 0; i < 4; ++i) {
        if (watched != lblINFO[i])
            continue;
        if (type == QEvent::MouseMove)
            lblINFO_MouseMove(i, m.button, m.shift, m.x, m.y);
        else if (mouse->button() == Qt::LeftButton &&
                 lblINFO[i]->rect().contains(mouse->position().toPoint()))
            lblINFO_Click(i);
        // Handled here: passed on, the move would reach the background and undo the underline.
        return true;
    }
    return CentredDialog::eventFilter(watched, event);
}

void btABOUT::closeEvent(QCloseEvent* event) {
    // A close asked by the window manager (Alt+F4, a taskbar): only the close picture closes.
    event->ignore();
}

void btABOUT::paintEvent(QPaintEvent*) {
    // A raised dialog frame: light on the top and left, shadow on the bottom and right.
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, QColor(0xc0, 0xc0, 0xc0));
    p.setPen(QColor(0xff, 0xff, 0xff));
    p.drawLine(r.topLeft() + QPoint(1, 1), r.topRight() + QPoint(-1, 1));
    p.drawLine(r.topLeft() + QPoint(1, 1), r.bottomLeft() + QPoint(1, -1));
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}
