// The measurement snapshot: the live readings as one copy, taken under a lock so that a FETCh on one
// channel never reads a copy half written by a MEASure on another.
#include "scpi/handlers/measure/scpi_meas_snapshot.h"

#include "core/control/measure/meas_getters.h"

MeasSnapshot g_MeasSnapshot;

namespace {

using Getter = float (*)(char*, const char**, int, int);

// Value-only power getters in base units.
float Apparent(char* t, const char** u, int p, int) {
    return MeasGetApparent(t, u, p, 2, 1);
}
float Reactive(char* t, const char** u, int p, int) {
    return MeasGetReactive(t, u, p, 2, 1);
}
float Power(char* t, const char** u, int p, int) {
    return MeasGetPower(t, u, p, 2, 1);
}

// In command order: crest factor, current high, low, peak hold, rms, rms total, AC, average, frequency,
// line voltage rms, average, high, low, apparent power and total, power factor and total, reactive power
// and total, real power and total, voltage rms and total, AC, average, high, low.
constexpr Getter kGetters[scpi::kMeasScalars] = {
    MeasGetCF,         MeasGetImax,      MeasGetImin,          MeasGetIpkHold,
    MeasGetIrms,       MeasGetIrmsTotal, MeasGetIac,           MeasGetIavg,
    MeasGetFreq,       MeasGetVllRms,    MeasGetVllAvg,        MeasGetVllMax,
    MeasGetVllMin,     Apparent,         MeasValApparentTotal, MeasGetPF,
    MeasGetPFTotal,    Reactive,         MeasValReactiveTotal, Power,
    MeasValPowerTotal, MeasGetVrms,      MeasGetVrmsTotal,     MeasGetVac,
    MeasGetVavg,       MeasGetVmax,      MeasGetVmin,
};

}  // namespace

namespace scpi {

float LiveScalar(uint32_t quantity, int line) {
    if (quantity >= kMeasScalars) return 0.0f;
    char text[32];
    const char* unit = nullptr;
    return kGetters[quantity](text, &unit, line, 2);
}

void MeasSnapshotReset() {
    std::lock_guard<std::mutex> hold(g_MeasSnapshot.lock);
    g_MeasSnapshot.valid = false;
}

}  // namespace scpi

void MeasTakeSnapshot() {
    // Read outside the lock: the getters take their own, and a FETCh waits only for the copy.
    float scalar[scpi::kMeasScalars][3];
    for (uint32_t q = 0; q < scpi::kMeasScalars; ++q)
        for (int line = 0; line < 3; ++line)
            scalar[q][line] = scpi::LiveScalar(q, line);
    std::lock_guard<std::mutex> hold(g_MeasSnapshot.lock);
    for (uint32_t q = 0; q < scpi::kMeasScalars; ++q)
        for (int line = 0; line < 3; ++line)
            g_MeasSnapshot.scalar[q][line] = scalar[q][line];
    for (int line = 0; line < 3; ++line) {
        const HarmResult& h = g_HarmResult[line];
        for (uint32_t k = 0; k < scpi::kHarmValues; ++k) {
            g_MeasSnapshot.harm[0][line][k] = h.IMag[k].load(std::memory_order_relaxed);
            g_MeasSnapshot.harm[1][line][k] = h.IPct[k].load(std::memory_order_relaxed);
            g_MeasSnapshot.harm[2][line][k] = h.VMag[k].load(std::memory_order_relaxed);
            g_MeasSnapshot.harm[3][line][k] = h.VPct[k].load(std::memory_order_relaxed);
        }
    }
    g_MeasSnapshot.valid = true;
}
