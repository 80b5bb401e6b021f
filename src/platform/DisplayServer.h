#pragma once

namespace Platform {

// Under a Wayland session, asks Qt for the X11 platform (XWayland) when it is there, since only
// X11 lets the clock place itself and stay on top. Call before the application object exists.
void preferX11Display();

} // namespace Platform
