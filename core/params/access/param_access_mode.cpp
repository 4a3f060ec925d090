// Mode, range, wiring, waveform, duty and the ON/OFF phase enable states.
#include "core/params/access/param_access.h"
#include "core/params/access/param_access_internal.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/params/settings/duty_band.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/ctrl_words.h"
#include "platform/stage/wiring_codes.h"

using namespace core;

namespace {

bool HasInternalWaveform(uint32_t mode) {
    return mode != kModeDcInt && mode != kModeAcDcExt && mode != kModeAcExt;
}

// The phase-enable state setters: id 64 (ON) or 68 (OFF).
int32_t SetPhaseEnableState(uint32_t id, int shadowWord, int32_t enable, int phase) {
    ParamRec rec;
    if (!ReadPhaseRecord(id, phase, &rec)) return 0;
    if (enable != 0 && enable != 1) return rec.state;
    bool changed = rec.state != enable;
    if (!changed && g_EditAllPhases.load(std::memory_order_relaxed) == 1) {
        // The split-phase wirings follow L1's enable, so only 3P4W looks beyond it.
        const int last = g_PhaseMode.load(std::memory_order_relaxed) == kWiring3P4W ? 2 : 0;
        for (int p = 0; p <= last && !changed; ++p) {
            ParamRec other;
            ReadPhaseRecord(id, p, &other);
            changed = other.state != enable;
        }
    }
    if (changed) {
        rec.state = enable;
        g_OutputShadow[phase][shadowWord] = static_cast<uint32_t>(enable) + 1;
        paramPutRecord(id, &rec, static_cast<uint32_t>(phase));
    }
    return rec.state;
}

// The voltage in force goes with a waveform change. The control task takes the new waveform with the
// voltage stored for it, a pass or more later: the records of the new waveform take the AC and DC voltage
// of the one it replaces now, so that a voltage set just before the change is the one taken, and one set
// after it lands in the records the task reads. In Vpp the voltage goes within its record set only: the
// waveforms shown in Vpp share one voltage, the sine and the square theirs in Vrms.
void CarryVoltageInForce(uint32_t from, uint32_t to, uint32_t phase) {
    const int set = IsAcvVpp(static_cast<int32_t>(from));
    if (from == to || set != IsAcvVpp(static_cast<int32_t>(to))) return;
    const ParamPlace fromPlace{.mode = GetOutputMode(),
                               .area = VoltAreaOfRange(CurrentRangeCode()),
                               .waveform = from,
                               .set = static_cast<uint32_t>(set),
                               .unit = phase};
    ParamPlace toPlace = fromPlace;
    toPlace.waveform = to;
    for (const uint32_t id : {uint32_t{kParamAcv}, uint32_t{kParamDcv}}) {
        ParamRec rec;
        paramAccessByUnit(Access::kRead, id, &rec, fromPlace);
        const int32_t inForce = rec.value;
        paramAccessByUnit(Access::kRead, id, &rec, toPlace);
        rec.value = inForce;
        paramAccessByUnit(Access::kWrite, id, &rec, toPlace);
    }
}

int32_t StoreWaveform(int32_t w, int phase) {
    ParamRec rec;
    if (!ReadPhaseRecord(kParamWaveShape, phase, &rec)) return 0;
    CarryVoltageInForce(static_cast<uint32_t>(rec.value), static_cast<uint32_t>(w),
                        static_cast<uint32_t>(phase));
    rec.value = w;
    g_OutputShadow[phase][kShwWaveform] = static_cast<uint32_t>(w) + 1;
    paramPutRecord(kParamWaveShape, &rec, static_cast<uint32_t>(phase));
    return w;
}

// The waveform limits are those of L1's record (0-255).
bool WaveformWithinLimits(int32_t w) {
    ParamRec l1;
    ReadPhaseRecord(kParamWaveShape, 0, &l1);
    return w >= l1.min && w <= l1.max;
}

}  // namespace

namespace core {

uint32_t RangeCodeForWiring(uint32_t code, uint32_t phaseMode) {
    if (phaseMode == kWiring1P2W) {
        if (code == kRangeAuto3P) return kRangeAuto1P2W;
        if (code == 0 || code == 1) return code + 2;
        return code;
    }
    if (code == kRangeAuto1P2W) return kRangeAuto3P;
    if (code == 2 || code == 3) return code - 2;
    return code;
}

int32_t UserRangeOfCode(uint32_t code, uint32_t phaseMode) {
    const int32_t c = static_cast<int32_t>(code);
    if (phaseMode == kWiring1P2W) return c > 5 ? c - 4 : c - 2;
    return c < 4 ? c : c - 2;
}

}  // namespace core

int32_t SetOnPhaseState(int32_t state, int phase) {
    return SetPhaseEnableState(kParamOnPhase, kShwOnEnable, state, phase);
}

int32_t SetOffPhaseState(int32_t state, int phase) {
    return SetPhaseEnableState(kParamOffPhase, kShwOffEnable, state, phase);
}

int32_t SetPhaseBalanceMode(int32_t v) {
    if (v == 0 || v == 1) paramPutValue(kParamBalanceMode, v, 0);
    return PhaseValue(kParamBalanceMode, 0);
}

uint32_t GetOutputMode() {
    return g_OutputModeIdx.load(std::memory_order_relaxed);
}

uint32_t SetOutputMode(uint32_t mode) {
    if (mode < kModes) {
        g_OutputModeIdx.store(mode, std::memory_order_relaxed);
        g_OutputShadow[0][kShwMode] = mode + 1;
    }
    return GetOutputMode();
}

uint32_t GetVoltRangeCode() {
    return CurrentRangeCode();
}

uint32_t SetVoltRange(uint32_t code) {
    const uint32_t phaseMode = g_PhaseMode.load(std::memory_order_relaxed);
    code = RangeCodeForWiring(code, phaseMode);
    const uint32_t mode = ClampMode(GetOutputMode());
    const bool is1P2W = phaseMode == kWiring1P2W;
    const uint32_t autoCode = is1P2W ? kRangeAuto1P2W : kRangeAuto3P;
    if (code == autoCode && mode >= kModeAcDcExt && mode <= kModeAcAdd) return GetVoltRangeCode();
    const bool valid = is1P2W ? (code == 2 || code == 3 || code == 6) : (code == 0 || code == 1 || code == 4);
    if (valid) {
        g_ParamStore.rangeCode[mode].store(code, std::memory_order_relaxed);
        g_OutputShadow[0][kShwRange] = code + 1;
    }
    g_OutputRefresh.store(1, std::memory_order_relaxed);
    return GetVoltRangeCode();
}

int32_t GetVoltRange() {
    return UserRangeOfCode(GetVoltRangeCode(), g_PhaseMode.load(std::memory_order_relaxed));
}

uint32_t RangeUserToCode(uint32_t userRange) {
    const bool is1P2W = g_PhaseMode.load(std::memory_order_relaxed) == kWiring1P2W;
    static constexpr uint32_t k3P[] = {0, 1, 4};
    static constexpr uint32_t k1P2W[] = {2, 3, 6};
    if (userRange > 2) return userRange;
    return is1P2W ? k1P2W[userRange] : k3P[userRange];
}

uint32_t SetPhaseMode(uint32_t v) {
    if (v <= 2) g_PhaseMode.store(v, std::memory_order_relaxed);
    return GetPhaseMode();
}

uint32_t GetPhaseMode() {
    return g_PhaseMode.load(std::memory_order_relaxed);
}

int32_t SetWaveformSel(int32_t w) {
    return SetWaveform(w, static_cast<int>(SelectedPhase()));
}

int32_t SetWaveform(int32_t w, int phase) {
    if (!ValidPhase(phase)) return 0;
    if (WaveformWithinLimits(w) && HasInternalWaveform(GetOutputMode())) return StoreWaveform(w, phase);
    return GetWaveform(phase);
}

int32_t SetWaveform_L1(int32_t w) {
    const uint32_t mode = GetOutputMode();
    if (WaveformWithinLimits(w) && mode != kModeAcDcExt && mode != kModeAcExt) return StoreWaveform(w, 0);
    return GetWaveform(0);
}

int32_t GetWaveformSel() {
    return GetWaveform(static_cast<int>(SelectedPhase()));
}

int32_t GetWaveform(int phase) {
    return PhaseValue(kParamWaveShape, phase);
}

int32_t SetWaveDuty(int32_t duty, int phase, int32_t max, int32_t min) {
    ParamRec rec;
    if (!ReadPhaseRecord(kParamWaveDuty, phase, &rec)) return 0;
    if (duty < min || duty > max || !HasInternalWaveform(GetOutputMode())) {
        MsgQueue_PostId(kMsgDutyLimited);
        return rec.value;
    }
    rec.value = duty;
    g_OutputShadow[phase][kShwDuty] = static_cast<uint32_t>(duty) + 1;
    paramPutRecord(kParamWaveDuty, &rec, static_cast<uint32_t>(phase));
    return duty;
}

int32_t GetWaveDutySel() {
    return GetWaveDuty(static_cast<int>(SelectedPhase()));
}

int32_t GetWaveDuty(int phase) {
    return PhaseValue(kParamWaveDuty, phase);
}

int32_t GetDutyForFreq(int32_t freq, int phase) {
    int32_t duty = GetWaveDuty(phase);
    const int32_t digits = settings::DutyDigitsOfFreq(freq);
    if (digits == settings::kDutyFineDigits) return duty;
    const settings::DutyBand band = settings::DutyBandOfDigits(digits);
    duty = (duty + band.step / 2) / band.step * band.step;
    return duty < band.lo ? band.lo : duty > band.hi ? band.hi : duty;
}

void PeakClearRequest() {
    g_OutputShadow[0][kShwPeakClear] = 1;
}
