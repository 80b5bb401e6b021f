#pragma once

#include "FakeClock.h"
#include "FakeDesktop.h"
#include "FakeShell.h"
#include "FakeSoundPlayer.h"
#include "FaultyFileSystem.h"
#include "ProcessTable.h"
#include "SteppedCpuClock.h"

#include "platform/Services.h"

// The services a core runs on in the tests, the benchmarks and the screenshot tool: fakes that
// the caller sets and reads, and the machine's processor clock, files and processes, with a
// fault on request.
struct TestServices {
    FakeClock clock;
    SteppedCpuClock cpu;
    FakeSoundPlayer sound;
    FakeShell shell;
    FaultyFileSystem fileSystem;
    ProcessTable processes;
    FakeDesktop desktop;

    Platform::Services services() { return services(sound); }
    // The same with another sound player: the real one, or one that counts or fails.
    Platform::Services services(Platform::SoundPlayer& player) {
        return {clock, cpu, player, shell, fileSystem, processes, desktop};
    }
};
