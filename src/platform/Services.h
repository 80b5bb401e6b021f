#pragma once

#include "platform/CpuClock.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/Processes.h"
#include "platform/Shell.h"
#include "platform/SoundPlayer.h"
#include "platform/SystemClock.h"

namespace Platform {

// The desktop's services the core runs on, one of each: the machine's own, made by the
// program's main, or doubles in tests. Each outlives the core it is given to.
struct Services {
    SystemClock& clock;
    CpuClock& cpu;
    SoundPlayer& sound;
    Shell& shell;
    FileSystem& fileSystem;
    Processes& processes;
    Desktop& desktop;
};

} // namespace Platform
