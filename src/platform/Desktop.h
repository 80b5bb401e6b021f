#pragma once

#include <QtGlobal>

#include <memory>

class QWindow;

namespace Platform {

// What the clock asks of the desktop for its window and its process.
class Desktop {
public:
    virtual ~Desktop() = default;

    // Puts the window above all ordinary windows, or back among them, without moving, resizing,
    // re-creating or redrawing it: on Windows by its topmost flag, elsewhere by Qt's flag and,
    // for a window shown on X11, a request to the window manager. Returns whether the window
    // system took the request; false without a window.
    virtual bool setTopmost(QWindow* window, bool on) = 0;

    // Gives back to the system the pages of program, library and font files that are mapped
    // into the process but were only used to start it (or to show a dialog now closed); what is
    // used again is mapped again from the system's file cache. Returns how many bytes were let
    // go, for the log: 0 when none or the mappings cannot be read, and on Windows, which trims
    // the whole working set instead.
    virtual qint64 releaseUnusedFilePages() = 0;
};

// The machine's own.
std::unique_ptr<Desktop> makeDesktop();

} // namespace Platform
