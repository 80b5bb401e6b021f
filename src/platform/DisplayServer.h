#pragma once

namespace Platform {

// Under a Wayland session, asks Qt for the X11 platform (XWayland) when it is there, since only
// X11 lets the clock place itself and stay on top. Call before the application object exists.
void preferX11Display();

// Asks Qt to send the window's pixels over the X connection rather than through shared memory.
// With shared memory Qt waits for the server to have read the
// last image before it paints again: a round trip that wakes two threads every second, for a
// window whose changed pixels fit in a few kilobytes. Call before the application object exists.
void preferImagesOverConnection();

} // namespace Platform
