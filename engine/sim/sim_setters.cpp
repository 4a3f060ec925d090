#include "engine/sim/sim_setters.h"

#include <algorithm>

#include "core/params/settings/angle_bounds.h"
#include "core/regbus/bus_transfer.h"
#include "core/regbus/reg_step.h"
#include "engine/seq/seq_internal.h"
#include "engine/seqsim/seqsim_mode.h"
#include "engine/seqsim/seqsim_saved_config.h"
#include "engine/sim/sim_access.h"
#include "platform/stage/reg_map.h"

using namespace engine;

namespace {

SeqSimBlock& Blk(int phase) {
    return g_SeqSimBlock[phase];
}
bool In(int32_t v, int32_t lo, int32_t hi) {
    return v >= lo && v <= hi;
}
void SetBit(uint32_t& word, uint32_t bit, bool on) {
    word = on ? (word | bit) : (word & ~bit);
}

// Runs `work` with "Normal 2" as the current state, then goes back; away from "Normal 2" the shadow's
// bit 2 (repeat enable) is cleared again.
template <typename Work>
void OnNormal2(Work work) {
    const uint32_t back = SimState();
    SimSelectState(kSimNormal2);
    work();
    SimSelectState(back);
    if (back != kSimNormal2) g_SeqSimStatusShadow = static_cast<uint16_t>(g_SeqSimStatusShadow & ~kStatJump);
}

}  // namespace

void SeqSimSetCurStep(int32_t state) {
    if (SeqSimIsRunning() || !In(state, 0, kSimNormal2)) return;
    SimSelectState(static_cast<uint32_t>(state));
    SeqSimSetDirty();
}

int32_t SimSetTime(int32_t value) {
    const uint32_t s = SimState();
    if (!In(value, SimGetTimeMin(), SimGetTimeMax())) return 0;
    SimRec(0).time = static_cast<uint32_t>(value);
    Blk(0).liveTime = static_cast<uint32_t>(value);
    if (s == kSimTrans1) SetBit(SimRecAt(kSimNormal1, 0).flags, kSimSkip, value == 0);
    if (s == kSimTrans2) SetBit(SimRecAt(kSimAbnormal, 0).flags, kSimSkip, value == 0);
    BusReg_SetStepTime(value);
    return value;
}

int32_t SimSetAcv(int32_t value, int phase) {
    if (!ValidPhase(phase)) return 0;
    const bool vpp = SeqSimAcvIsVpp(phase) != 0;
    const int32_t max = vpp ? SimGetAcvVppMax() : SimGetAcvMax();
    return PhaseField(SimRec,
        value, phase, In(value, SimGetAcvMin(), max), &SeqSimBlock::liveAcv,
        [&](SimStepRecord& r) { (vpp ? r.acvVpp : r.acv) = static_cast<uint32_t>(value); },
        BusReg_SetStepAcv);
}

void SimWriteEndAcv(int phase) {
    if (!ValidPhase(phase)) return;
    const uint32_t back = SimState();
    SimSelectState(kSimNoState);
    SimSetAcv(SimGetAcv(phase), phase);  // the end state reads its voltage from Initial
    SimSelectState(back);
}

int32_t SimSetOnpha(int32_t value, int phase) {
    if (!ValidPhase(phase)) return 0;
    return PhaseField(SimRec,
        value, phase, In(value, 0, SimGetOnOffPhaseMax(phase)), &SeqSimBlock::liveOnPhase,
        [&](SimStepRecord& r) { r.onPhase = static_cast<uint32_t>(value); }, BusReg_SetStepOnPhase);
}

int32_t SimSetOffpha(int32_t value, int phase) {
    if (!ValidPhase(phase)) return 0;
    return PhaseField(SimRec,
        value, phase, In(value, 0, SimGetOnOffPhaseMax(phase)), &SeqSimBlock::liveOffPhase,
        [&](SimStepRecord& r) { r.offPhase = static_cast<uint32_t>(value); }, BusReg_SetStepOffPhase);
}

int32_t SimSetFreq(int32_t value, int phase) {
    if (!ValidPhase(phase)) return 0;
    if (In(value, SimGetFreqMin(), SimGetFreqMax())) {
        SimRec(phase).freq = static_cast<uint32_t>(value);
        Blk(phase).liveFset = static_cast<uint32_t>(value);
    }
    const int32_t f = static_cast<int32_t>(Blk(phase).liveFset);
    // The stored angles may come from a file and hold any 32-bit value: the rounding is done in 64 bits.
    int64_t on = SimGetOnpha(phase), off = SimGetOffpha(phase);
    if (settings::WholeDegreeAngles(f)) {
        on = std::min<int64_t>((on + 5) / 10 * 10, settings::kAngleMaxWholeDegrees);
        off = std::min<int64_t>((off + 5) / 10 * 10, settings::kAngleMaxWholeDegrees);
    }
    SimSetOnpha(static_cast<int32_t>(on), phase);
    SimSetOffpha(static_cast<int32_t>(off), phase);
    BusReg_SetStepFreq(f, regbus::Phase(phase));
    return f;
}

uint32_t SimCtrlWord(uint32_t state, int phase) {
    const uint32_t type = state == kSimTrans1 || state == kSimTrans2 ? kTypeSP : kTypeCT;
    const uint32_t flags = state < kSimNoState && ValidPhase(phase) ? SimRecAt(state, phase).flags : 0;
    return (1u << kCtrlDcvShift) | ((1u << type) << kCtrlAcvShift) | (uint32_t{kWaveCodeSin} << kCtrlWaveShift) |
           ((1u << type) << kCtrlFsetShift) | ((flags & kSimEnOnPhase) ? uint32_t{kCtrlOnFixed} : 0u) |
           ((flags & kSimEnOffPhase) ? uint32_t{kCtrlOffFixed} : 0u);
}

void SimApplyStatePhase(int phase, uint32_t state) {
    if (!ValidPhase(phase)) return;
    SeqSimBlock& b = Blk(phase);
    const uint32_t type = state == kSimTrans1 || state == kSimTrans2 ? kTypeSP : kTypeCT;
    b.liveModes = (b.liveModes & ~0x1FFu) | (type << kSeqAcvTypeShift) | (type << kSeqFsetTypeShift);
    b.liveWave = kWaveCodeSin;
    g_SeqSimOutCtrl[phase] = SimCtrlWord(state, phase);
    b.liveEnables = static_cast<uint8_t>((b.liveEnables & ~(kLiveEnOn | kLiveEnOff)) |
                                         ((g_SeqSimOutCtrl[phase] & kCtrlOnFixed) ? kLiveEnOn : 0) |
                                         ((g_SeqSimOutCtrl[phase] & kCtrlOffFixed) ? kLiveEnOff : 0));
    BusReg_SetStepCtrl(static_cast<int32_t>(g_SeqSimOutCtrl[phase]), regbus::Phase(phase));
}

namespace {

int32_t SetEnable(int32_t value, int phase, uint32_t recBit, uint8_t liveBit, uint32_t ctrlBit) {
    if (!ValidPhase(phase)) return 0;
    SeqSimBlock& b = Blk(phase);
    if (In(value, 0, 1)) {
        SetBit(SimRec(phase).flags, recBit, value == 1);
        b.liveEnables = static_cast<uint8_t>(value ? (b.liveEnables | liveBit) : (b.liveEnables & ~liveBit));
    }
    SetBit(g_SeqSimOutCtrl[phase], ctrlBit, (b.liveEnables & liveBit) != 0);
    BusReg_SetStepCtrl(static_cast<int32_t>(g_SeqSimOutCtrl[phase]), regbus::Phase(phase));
    return (b.liveEnables & liveBit) ? 1 : 0;
}

}  // namespace

int32_t SimSetEnOnpha(int32_t value, int phase) {
    return SetEnable(value, phase, kSimEnOnPhase, kLiveEnOn, kCtrlOnFixed);
}
int32_t SimSetEnOffpha(int32_t value, int phase) {
    return SetEnable(value, phase, kSimEnOffPhase, kLiveEnOff, kCtrlOffFixed);
}

int32_t SimSetWave(int32_t wave, int phase) {
    if (!ValidPhase(phase)) return 0;
    const uint32_t code = In(wave, 1, 256) ? static_cast<uint32_t>(wave) : kWaveCodeSin;
    SimRec(phase).wave = code;
    Blk(phase).liveWave = code;
    g_SeqSimOutCtrl[phase] = (g_SeqSimOutCtrl[phase] & ~kCtrlWaveMask) | (code << kCtrlWaveShift);
    BusReg_SetStepCtrl(static_cast<int32_t>(g_SeqSimOutCtrl[phase]), regbus::Phase(phase));
    return static_cast<int32_t>(code);
}

uint16_t SimSetSyncCode(int32_t code) {
    if (In(code, 0, 3)) {
        SimRec(0).syncCode = static_cast<uint32_t>(code);
        Blk(0).liveSync = static_cast<uint32_t>(code);
    }
    g_SeqSimStatusShadow = static_cast<uint16_t>(BusReg_ReadStepWord(0, regmap::kStepStatus) & 0xFFFFu);
    g_SeqSimStatusShadow =
        static_cast<uint16_t>((g_SeqSimStatusShadow & ~kStatSyncMask) | (Blk(0).liveSync & 3u));
    BusReg_SetStepStatus(g_SeqSimStatusShadow);
    return g_SeqSimStatusShadow;
}

int32_t SimSetEnRepeat(int32_t value) {
    OnNormal2([&] {
        SeqSimBlock& b = Blk(0);
        if (In(value, 0, 1)) {
            SetBit(SimRec(0).flags, kSimEnRepeat, value == 1);
            b.simOptions = static_cast<uint8_t>(value ? (b.simOptions | kSimOptRepeat)
                                                      : (b.simOptions & ~kSimOptRepeat));
        }
        g_SeqSimStatusShadow = static_cast<uint16_t>(BusReg_ReadStepWord(0, regmap::kStepStatus) & 0xFFFFu);
        g_SeqSimStatusShadow =
            static_cast<uint16_t>((b.simOptions & kSimOptRepeat) ? (g_SeqSimStatusShadow | kStatJump)
                                                                 : (g_SeqSimStatusShadow & ~kStatJump));
        BusReg_SetStepStatus(g_SeqSimStatusShadow);
    });
    return (Blk(0).simOptions & kSimOptRepeat) ? 1 : 0;
}

int32_t SimSetRepeat(int32_t count) {
    OnNormal2([&] {
        if (In(count, 0, 9999)) {
            SimRec(0).repeat = static_cast<uint32_t>(count);
            Blk(0).liveJumpCnt = static_cast<uint32_t>(count);
        }
        BusReg_SetStepJumpCount(static_cast<int32_t>(Blk(0).liveJumpCnt));
    });
    return static_cast<int32_t>(Blk(0).liveJumpCnt);
}

int32_t SimSetBalance_L2(int32_t value) {
    return SetBalanceAngle(SimRec(0).angleL2, Blk(0).liveAngleL2, value, BusReg_SetStepPhaseL2);
}
int32_t SimSetBalance_L3(int32_t value) {
    return SetBalanceAngle(SimRec(0).angleL3, Blk(0).liveAngleL3, value, BusReg_SetStepPhaseL3);
}

uint16_t SimStatusWord(uint32_t state) {
    const uint32_t s = state < kSimNoState ? state : kSimInitial;
    uint32_t word = SimRecAt(s, 0).syncCode & 3u;
    const uint32_t flags = SimRecAt(s, 0).flags;
    if (state == kSimNormal1 || state == kSimAbnormal) word |= (flags & kSimSkip) ? kStatJump : 0;
    if (state == kSimNormal2) word |= (flags & kSimEnRepeat) ? kStatJump : 0;
    word |= state >= kSimNoState ? kStatEnd : kStatConti;
    return static_cast<uint16_t>(word);
}
