#pragma once

#include "TestServices.h"
#include "TestStore.h"
#include <CorePeer.h>

#include "core/VD_Core.h"

#include <QTemporaryDir>

#include <memory>

// The core on the test services (TestServices.h) over a test store (TestStore.h), for tests to
// inherit beside ::testing::Test. Its program folder and the user's folder of its data are empty
// temporary folders, so no test sees a Skins folder it did not make.
struct TestCore : TestServices {
    QTemporaryDir programFolder;
    QTemporaryDir userFolder;
    std::unique_ptr<TestStore> hive = std::make_unique<TestStore>();
    VD_Core::Core core{services(), *hive, programFolder.path(), userFolder.path()};

    // Appends an alarm named after its number ("a1", "a2", ...) without saving; returns the
    // number.
    int addAlarm(int hour, int mins, int day = 0, int month = 0) {
        const int n = core.alarms().AlarmCount + 1;
        return VD_Core::CorePeer::alarms(core).append(
            {QStringLiteral("a%1").arg(n), quint8(hour), quint8(mins), quint8(day), quint8(month)});
    }
};
