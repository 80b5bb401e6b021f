#pragma once

#include "FakeClock.h"
#include "FakeSoundPlayer.h"

#include <VD_Core.h>

#include <QTemporaryDir>

// The core with fake services, for tests to inherit beside ::testing::Test. Its program folder
// is an empty temporary folder, so no test sees a Skins folder it did not make.
struct TestCore {
    QTemporaryDir programFolder;
    FakeClock clock;
    FakeSoundPlayer sound;
    VD_Core::Core core{clock, sound, programFolder.path()};
};
