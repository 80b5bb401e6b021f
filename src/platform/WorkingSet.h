#pragma once

#include <QtGlobal>

namespace Platform {

// Gives back to the system the pages of program, library and font files that are mapped into the
// process but were only used to start it (or to show a dialog now closed); whatever the clock
// goes on using is mapped again from the system's file cache on its next use. Returns how many
// bytes were let go, for the log.
qint64 releaseUnusedFilePages();

} // namespace Platform
