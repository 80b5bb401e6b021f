#include "DialogLook.h"

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

} // namespace DialogLook
