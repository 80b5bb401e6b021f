#pragma once

#include "core/VD_Core.h"
#include <HiveContents.h>

class FakeClockWindow;

// A fixed sequence of saves for the storage fault tests, so that any stored state names the
// one step that made it. Step -1 is the first run's defaults. From step 0 on, generation
// g = base + step / 2: an even step saves all twenty alarms and every setting drawn from g
// (two consecutive generations differ in every value); the odd step after it removes alarm
// g % 20 + 1 with the removal sequence.
namespace SaveSteps {

constexpr int kFirstRun = -1;
constexpr int kNothing = -2; // the store before the first run
// Writers saving side by side take bases that are multiples of this.
constexpr int kBaseSpacing = 1000000;

int generation(int step, int base);

// Runs step `step` on the core, whose memory holds the state of the step before.
void apply(VD_Core::Core& core, FakeClockWindow& window, int step, int base);

// The contents of a store that went through steps kNothing to `step` without interruption.
QList<StoredValue> expectedAfter(int step, int base);

// The step, and the base, that made the stored contents; false when no step could.
bool identify(Hive::Store& store, int& step, int& base);

} // namespace SaveSteps
