#include "platform/TopMost.h"

#include <QWindow>

#include <windows.h>

namespace Platform {

bool setTopmost(QWindow* window, bool on) {
    const auto hwnd = window != nullptr ? reinterpret_cast<HWND>(window->winId()) : nullptr;
    const HWND insertAfter = on ? HWND_TOPMOST : HWND_NOTOPMOST;
    return SetWindowPos(hwnd, insertAfter, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW) != 0;
}

} // namespace Platform
