#include "SaveSteps.h"
#include <CorePeer.h>

#include "hive/SqliteHive.h"
#include <FakeClockWindow.h>
#include <TestServices.h>

#include <algorithm>

namespace SaveSteps {

namespace {

const QString kSettings = QStringLiteral("Software\\Brambleton\\Vindrel");
const QString kAlarms = kSettings + QStringLiteral("\\Alarms");
const QString kGenerationPrefix = QStringLiteral("generation-");

void saveGeneration(VD_Core::Core& core, FakeClockWindow& window, int g) {
    window.left = g;
    window.top = -g;
    VD_Core::CorePeer::settings(core).HourSignal = static_cast<quint8>(g % 2);
    VD_Core::CorePeer::settings(core).AlarmEnabled = static_cast<quint8>((g + 1) % 2);
    VD_Core::CorePeer::settings(core).AlwaysOnTop = static_cast<quint8>(g % 2);
    VD_Core::CorePeer::settings(core).UsedSkinPath = kGenerationPrefix + QString::number(g);
    VD_Core::CorePeer::alarms(core).AlarmCount = VD_Core::Alarms::kCapacity;
    for (int n = 1; n <= VD_Core::Alarms::kCapacity; ++n) {
        const int v = g + n;
        VD_Core::CorePeer::alarms(core)[n] = {QStringLiteral("g%1-alarm%2").arg(g).arg(n),
                                              quint8(v % 24), quint8(v % 60), quint8(v % 8),
                                              quint8(v % 13)};
    }
    core.SaveSettings();
}

} // namespace

int generation(int step, int base) {
    return base + step / 2;
}

void apply(VD_Core::Core& core, FakeClockWindow& window, int step, int base) {
    if (step == kFirstRun)
        core.EnsureSettings();
    else if (step % 2 == 0)
        saveGeneration(core, window, generation(step, base));
    else
        core.RemoveAlarm(generation(step, base) % VD_Core::Alarms::kCapacity + 1);
}

QList<StoredValue> expectedAfter(int step, int base) {
    TestServices fakes;
    FakeClockWindow window;
    const auto hive = Hive::SqliteHive::inMemory();
    VD_Core::Core core(fakes.services(), *hive);
    core.attachWindow(&window);
    if (step >= kFirstRun)
        apply(core, window, kFirstRun, base);
    if (step >= 0)
        apply(core, window, step - step % 2, base);
    if (step >= 0 && step % 2 == 1)
        apply(core, window, step, base);
    return clockValues(*hive);
}

bool identify(Hive::Store& store, int& step, int& base) {
    const QList<StoredValue> stored = clockValues(store);
    base = 0;
    const auto skin = std::find_if(stored.begin(), stored.end(), [](const StoredValue& v) {
        return v.name == QStringLiteral("UsedSkinPath");
    });
    if (skin == stored.end()) {
        step = kNothing;
    } else if (!skin->data.startsWith(kGenerationPrefix.toLatin1())) {
        step = kFirstRun;
    } else {
        const int g = skin->data.mid(kGenerationPrefix.size()).chopped(1).toInt();
        base = g - g % kBaseSpacing;
        const bool removed = std::any_of(stored.begin(), stored.end(), [](const StoredValue& v) {
            return v.name == QStringLiteral("AlarmCount") && v.data.startsWith("19");
        });
        step = 2 * (g - base) + (removed ? 1 : 0);
    }
    return stored == expectedAfter(step, base);
}

} // namespace SaveSteps
