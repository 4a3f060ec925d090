// The harmonic task: its states as a table of steps.
#include "core/control/measure/harmonics.h"

#include <iterator>

#include "core/control/measure/harm_internal.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/regbus/reg_read.h"
#include "core/regbus/reg_write.h"
#include "platform/stage/wiring_codes.h"

std::atomic<uint32_t> g_HarmCountdown{0};
std::atomic<uint16_t> g_HarmValid{0};
HarmResult g_HarmResult[3];

namespace harm {

Work g_Work;

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr uint32_t kArmAllPhases = 7;
constexpr uint32_t kReadyFault = 7;   // ready bits above this are a capture fault
constexpr uint32_t kHoldTicks = 100;  // 4 ms steps until the next capture
constexpr int32_t kAnalysedFreqs[] = {5000, 6000};

enum State : uint32_t { kAlloc, kIdle, kWaitReady, kReadV, kAnalyseV, kReadI, kAnalyseI, kHold };

// Also published as the analysis-active flag, which the screens read beside the tables.
bool CaptureActive() {
    const bool active = IsAcIntNoSeqSim() != 0 && (core::g_OutputStatusMirror.load(kRelaxed) & 1u) != 0;
    if (active)
        g_ParamFlags.fetch_or(core::kFlagHarmActive, kRelaxed);
    else
        g_ParamFlags.fetch_and(~core::kFlagHarmActive, kRelaxed);
    return active;
}

void ClearAll() {
    for (int p = 0; p < 3; ++p)
        if (!g_Work.cleared[p]) ClearTables(p);
}

// In 1P2W L2 and L3 feed no output of their own: their records' frequencies describe nothing measured.
uint32_t AnalysedPhases() {
    uint32_t mask = 0;
    for (int p = 0; p < 3; ++p) {
        const int32_t f = GetFrequency(p);
        for (int32_t a : kAnalysedFreqs)
            if (f == a) mask |= 1u << p;
    }
    return GetPhaseMode() == kWiring1P2W ? mask & 1u : mask;
}

// Every pass, whatever the step: a phase that is no longer analysed (its frequency left 50 or 60 Hz, the
// output went off, another mode) reads 0 from this pass on, not the lists of the output it had before, and
// an analysis under way leaves it alone.
void DropUnanalysed() {
    const uint32_t analysed = CaptureActive() ? AnalysedPhases() : 0;
    g_Work.captureMask &= analysed;
    g_HarmValid.fetch_and(static_cast<uint16_t>(analysed), kRelaxed);
    for (int p = 0; p < 3; ++p)
        if ((analysed & (1u << p)) == 0 && !g_Work.cleared[p]) ClearTables(p);
}

uint32_t Alloc() {
    if (!FftReady()) return kAlloc;
    ClearAll();
    return kIdle;
}

uint32_t Idle() {
    if (!CaptureActive()) return kIdle;
    BusReg_SetHarmCapture(kArmAllPhases);
    g_HarmValid.store(0, kRelaxed);
    return kWaitReady;
}

uint32_t WaitReady() {
    // Output off or another mode: no capture will come (DropUnanalysed has cleared the tables).
    if (!CaptureActive()) return kIdle;
    const uint32_t valid = AnalysedPhases();
    g_HarmValid.store(static_cast<uint16_t>(valid), kRelaxed);
    const uint32_t ready = BusReg_GetHarmStatus();
    if (ready == 0) return kWaitReady;
    if (ready > kReadyFault) return kIdle;
    if (valid != 0 && (ready & valid) == valid) {
        g_Work.captureMask = valid;
        g_Work.sampleCounter = 0;
        return kReadV;
    }
    return kWaitReady;
}

uint32_t ReadV() {
    Harm_ReadSamples(0, &g_Work.sampleCounter, g_Work.captureMask);
    return g_Work.sampleCounter >= kHarmSamples ? kAnalyseV : kReadV;
}

uint32_t AnalyseV() {
    Harm_Analyse(0, g_Work.captureMask);
    g_Work.sampleCounter = 0;
    return kReadI;
}

uint32_t ReadI() {
    Harm_ReadSamples(1, &g_Work.sampleCounter, g_Work.captureMask);
    return g_Work.sampleCounter >= kHarmSamples ? kAnalyseI : kReadI;
}

uint32_t AnalyseI() {
    Harm_Analyse(1, g_Work.captureMask);
    g_HarmCountdown.store(kHoldTicks, kRelaxed);
    return kHold;
}

uint32_t Hold() {
    return g_HarmCountdown.load(kRelaxed) == 0 ? kIdle : kHold;
}

using Step = uint32_t (*)();
constexpr Step kSteps[] = {Alloc, Idle, WaitReady, ReadV, AnalyseV, ReadI, AnalyseI, Hold};

}  // namespace

void ClearTables(int phase) {
    HarmResult& h = g_HarmResult[phase];
    for (int k = 0; k <= kHarmOrders; ++k) {
        h.VMag[k].store(0.0f, kRelaxed);
        h.VPct[k].store(0.0f, kRelaxed);
        h.IMag[k].store(0.0f, kRelaxed);
        h.IPct[k].store(0.0f, kRelaxed);
    }
    h.VInvalid.store(1, kRelaxed);
    h.IInvalid.store(1, kRelaxed);
    h.reserved.store(0, kRelaxed);
    g_Work.cleared[phase] = true;
}

}  // namespace harm

int Harm_AnalysisActive() {
    return (g_ParamFlags.load(std::memory_order_relaxed) & core::kFlagHarmActive) != 0 ? 1 : 0;
}

void Harm_Task() {
    using harm::g_Work;
    if (g_Work.state >= std::size(harm::kSteps)) g_Work.state = harm::kIdle;
    if (g_Work.state != harm::kAlloc) harm::DropUnanalysed();
    g_Work.state = harm::kSteps[g_Work.state]();
}

namespace core {
void HarmonicsReset() {
    harm::g_Work.state = harm::kAlloc;
    harm::g_Work.captureMask = 0;
    harm::g_Work.sampleCounter = 0;
    for (int p = 0; p < 3; ++p)
        harm::ClearTables(p);
    g_HarmValid.store(0);
    g_HarmCountdown.store(0);
    g_ParamFlags.fetch_and(~core::kFlagHarmActive);
}
}  // namespace core
