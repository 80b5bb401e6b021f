#include "TopMost.h"

#include <QWindow>

namespace Platform {

bool setTopmost(QWindow* window, bool on) {
    if (window == nullptr)
        return false;
    // QWindow::setFlag updates the native window in place (on X11 it sends the window manager a
    // _NET_WM_STATE_ABOVE change); QWidget::setWindowFlags would hide and re-create the window.
    window->setFlag(Qt::WindowStaysOnTopHint, on);
    return true;
}

} // namespace Platform
