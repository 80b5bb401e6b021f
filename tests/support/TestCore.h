#pragma once

#include "FakeClock.h"
#include "FakeShell.h"
#include "FakeSoundPlayer.h"

#include <VD_Core.h>

// The core with fake services, for tests to inherit beside ::testing::Test.
struct TestCore {
    FakeClock clock;
    FakeSoundPlayer sound;
    FakeShell shell;
    VD_Core::Core core{clock, sound, shell};
};
