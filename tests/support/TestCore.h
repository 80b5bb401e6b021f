#pragma once

#include "FakeClock.h"
#include "FakeSoundPlayer.h"

#include <VD_Core.h>

// The core with fake services, for tests to inherit beside ::testing::Test.
struct TestCore {
    FakeClock clock;
    FakeSoundPlayer sound;
    VD_Core::Core core{clock, sound};
};
