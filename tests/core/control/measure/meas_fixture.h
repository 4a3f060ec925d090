#pragma once
// The measurement chain on the simulated stage: the periodic services stepped as the menu/control thread
// runs them, the display copy refreshed as the GUI thread does, and a loaded output to measure.
#include <cstdint>

#include "tests/core/ctrl_fixture.h"

namespace test {

// n passes of harmonics, measurement and control task, each followed by the display copy's refresh; the
// harmonic hold counts down as the timer thread would.
void ServicePasses(int n);
// AC-INT in the wiring, SIN at the frequency (0.01 Hz) and `volts` on every phase into `ohms`, output on,
// then enough passes for the records to show it. False when the output does not come on.
bool StartLoadedOutput(float volts, float ohms, uint32_t wiring = 0, int32_t freq = 5000);

}  // namespace test
