// The builder's apply operations: store the ripple or LF-ring wave and set the output up to play it.
#include <cstdint>

#include "core/params/limits/limit_checks.h"
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/output_flags.h"
#include "engine/arb/arb_builder.h"

namespace {

constexpr int32_t kMsgStoredVLimit = 66;
constexpr int32_t kMsgStoredVFreqLimit = 67;

bool RefusedWhileOutputOn() {
    if (!OutputFlagTest(kOutFlagOutputOn)) return false;
    ShowMessage(2, "Invalid with Output ON, \nTurn OFF the Output First");
    return true;
}

int32_t TargetWaveform() {
    const int32_t n = ArbBuild_GetArbNo();
    return n <= 16 ? n - 1 : n + 2;
}

// The setting's record opened to the widest value its limits allow.
void WidenTo(uint32_t id, bool toMax) {
    ParamRec rec{};
    paramGetRecord(id, &rec, 0);
    rec.value = toMax ? rec.max : rec.min;
    paramPutRecord(id, &rec, 0);
}

// The phase, or in edit-all mode every phase of the wiring.
template <typename Fn>
void ForPhases(int phase, Fn fn) {
    if (g_EditAllPhases.load(std::memory_order_relaxed) != 1) return fn(phase);
    const int last = core::LastPhaseOfWiring(GetPhaseMode());
    for (int p = 0; p <= last; ++p)
        fn(p);
}

void SelectWave(int phase) {
    WidenTo(kParamVpkMax, true);
    WidenTo(kParamVpkMin, false);
    const int32_t wave = TargetWaveform();
    ForPhases(phase, [wave](int p) { SetWaveform(wave, p); });
    SetAcvUnit(1);  // Vpp
}

uint32_t Area() {
    return core::VoltAreaOfRange(GetVoltRangeCode());
}

}  // namespace

int32_t ArbBuild_ApplyRipple(int phase) {
    if (phase < 0 || phase > 2 || RefusedWhileOutputOn()) return 0;
    ArbBuild_SetMsg(kMsgStoredVLimit);
    if (ArbBuild_Store() < 0) return -1;
    SetOutputMode(0);  // AC+DC-INT
    SelectWave(phase);
    // The ripple ACV and the DC voltage are worked out in 0.1 V; the voltage records hold 0.01 V.
    const int32_t acv = ArbBuild_CalcRippleAcv() * 10;
    const int32_t dcv = ArbBuild_GetRippleVDC() * 100;
    ForPhases(phase, [acv, dcv](int p) {
        SetAcv(acv, p);
        SetDcv(dcv, p);
    });
    VoltSettingCheckAll(GetOutputMode(), Area());
    g_OutputRefresh.store(1, std::memory_order_relaxed);
    return 1;
}

int32_t ArbBuild_ApplyLFRing(int phase) {
    if (phase < 0 || phase > 2 || RefusedWhileOutputOn()) return 0;
    const int32_t ratio = g_LFRingActualAmp.load(std::memory_order_relaxed);
    const float peak =
        static_cast<float>(ArbBuild_GetLFRingACV()) * 1.414f * 2.0f * static_cast<float>(ratio) / 100.0f +
        0.5f;
    ParamRec acvRec{};
    const uint32_t code = GetVoltRangeCode();
    paramAccess(Access::kRead, kParamAcv, &acvRec,
                {.mode = GetOutputMode(),
                 .rangeCode = code,
                 .waveform = static_cast<uint32_t>(TargetWaveform()),
                 .variant = code});
    if (ratio > 999 || static_cast<float>(acvRec.max) < peak) {
        MsgQueue_PostId(kMsgVoltageLimited);
        return 0;
    }
    ArbBuild_SetMsg(kMsgStoredVFreqLimit);
    if (ArbBuild_Store() < 0) return -1;
    SetOutputMode(0);
    SetVoltRange(RangeUserToCode(static_cast<uint32_t>(GetVoltRange())));
    SelectWave(phase);
    const int32_t acv = static_cast<int32_t>(peak);
    const int32_t freq = ArbBuild_GetLFRingBaseFreq() * 10;
    ForPhases(phase, [acv, freq](int p) {
        SetAcv(acv, p);
        SetDcv(0, p);
        SetFrequencyPhase(freq, p);
    });
    const uint32_t mode = GetOutputMode();
    VoltSettingCheckAll(mode, Area());
    WidenTo(kParamFreqLimitHi, true);
    WidenTo(kParamFreqLimitLo, false);
    FreqLimitCheck(mode);
    return 1;
}
