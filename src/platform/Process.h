#pragma once

#include <QtGlobal>

namespace Platform {

// Whether a process with this id is running now.
bool processRunning(qint64 id);

} // namespace Platform
