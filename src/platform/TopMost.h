#pragma once

class QWindow;

namespace Platform {

// Puts the window above all ordinary windows, or back among them, without moving, resizing,
// re-creating or redrawing it. Returns whether the window system took the request.
bool setTopmost(QWindow* window, bool on);

} // namespace Platform
