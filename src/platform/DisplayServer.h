#pragma once

#include <QByteArray>

#include <vector>

namespace Platform {

// Environment variables set for Qt's start alone: restore() takes them back once the
// application object exists, so the programs the clock starts (the About box's links) get the
// environment the clock was started with.
class StartupEnvironment {
public:
    // Sets the variable, remembering whether and how it was set before.
    void set(const char* name, const QByteArray& value);
    // Puts back every variable set here as it was when the program started.
    void restore();

private:
    struct Saved {
        const char* name;
        bool wasSet;
        QByteArray value;
    };
    std::vector<Saved> saved_;
};

// Under a Wayland session, asks Qt for the X11 platform (XWayland) when it is there, since only
// X11 lets the clock place itself and stay on top. Call before the application object exists.
void preferX11Display(StartupEnvironment& environment);

// Asks Qt to send the window's pixels over the X connection rather than through shared memory.
// With shared memory Qt waits for the server to have read the
// last image before it paints again: a round trip that wakes two threads every second, for a
// window whose changed pixels fit in a few kilobytes. Call before the application object exists.
void preferImagesOverConnection(StartupEnvironment& environment);

// Asks Qt for its own event loop rather than GLib's: the clock waits on nothing that only GLib's
// loop serves, and Qt's own does less on each of its two wake-ups a second. Call before the
// application object exists.
void preferQtEventLoop(StartupEnvironment& environment);

} // namespace Platform
