#include "DialogLook.h"

#include <QScreen>
#include <QWidget>

namespace DialogLook {

QFont font(bool bold) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(11);
    f.setBold(bold);
    return f;
}

bool isDialogKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

void fitWidth(QWidget& control) {
    const int needed = control.sizeHint().width();
    if (needed > control.width())
        control.resize(needed, control.height());
}

void centreOnScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    if (screen == nullptr)
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

} // namespace DialogLook
