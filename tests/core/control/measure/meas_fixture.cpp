#include "tests/core/control/measure/meas_fixture.h"

#include <cmath>

#include "core/control/measure/harmonics.h"
#include "core/control/measure/meas_records.h"
#include "core/control/measure/measurement.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"

namespace test {

void ServicePasses(int n) {
    for (int i = 0; i < n; ++i) {
        Harm_Task();
        Meas_Service();
        CtrlTask_Poll();
        MeasDispCacheRefresh();
        uint32_t c = g_HarmCountdown.load();
        if (c > 0) g_HarmCountdown.store(c - 1);
    }
}

bool StartLoadedOutput(float volts, float ohms, uint32_t wiring, int32_t freq) {
    g_OutputModeIdx = kModeAcInt;
    g_PhaseMode = wiring;
    // Stored before the task starts, so that its first pass writes them all.
    for (uint32_t p = 0; p < 3; ++p) {
        paramPutValue(kParamAcv, static_cast<int32_t>(std::lround(volts * 100.0f)), p);
        paramPutValue(kParamFreq, freq, p);
        Stage().SetLoad(static_cast<int>(p), ohms);
    }
    RunUntilReady();
    SetOutputOnOff(1);
    // Long enough for the averages of the default count (8 pushes, one per 5 publications) to settle.
    ServicePasses(120);
    return OutputFlagTest(kOutFlagOutputOn);
}

}  // namespace test
