#include "windows/DialogLook.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWidget>

namespace DialogLook {

QFont font(bool bold) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(11);
    f.setBold(bold);
    return f;
}

void fitWidth(QWidget& control) {
    const int needed = control.sizeHint().width();
    if (needed > control.width())
        control.resize(needed, control.height());
}

void drawFocusCue(QPainter& painter, const QWidget& control, const QRect& box) {
    if (!control.hasFocus())
        return;
    QStyleOptionFocusRect option;
    option.initFrom(&control);
    option.rect = box;
    control.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, &control);
}

void revealFocusCue(QWidget& control) {
    QWidget* window = control.window();
    if (window->testAttribute(Qt::WA_KeyboardFocusChange))
        return;
    window->setAttribute(Qt::WA_KeyboardFocusChange);
    control.update();
}

} // namespace DialogLook
