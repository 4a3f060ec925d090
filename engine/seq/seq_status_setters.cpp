// The SEQ setters of the step's flags: types, waveform and ON/OFF enables (the control word of register
// 769 + phase) and the status-register bits (register 768).
#include "core/regbus/reg_step.h"
#include "engine/seq/seq_access.h"
#include "engine/seq/seq_internal.h"
#include "engine/seq/seq_setters.h"
#include "engine/seqsim/seqsim_mode.h"

using namespace engine;

namespace {

SeqSimBlock& Blk(int phase) {
    return g_SeqSimBlock[phase];
}
bool In(int32_t v, int32_t lo, int32_t hi) {
    return v >= lo && v <= hi;
}

// A type field: record bits at `shift` of word 0 (when the kind has the field), live modes at the same
// place, one-hot control bits at `ctrlShift`.
uint32_t SetType(int32_t type, int phase, uint32_t shift, uint32_t ctrlShift, bool kindHas) {
    if (!ValidPhase(phase)) return 0;
    SeqSimBlock& b = Blk(phase);
    if (In(type, 0, 2)) {
        if (kindHas) SeqRec(phase).flags = (SeqRec(phase).flags & ~(7u << shift)) | (uint32_t(type) << shift);
        if (type != kTypeKP || SeqAbsStep() != 0)
            b.liveModes = (b.liveModes & ~(7u << shift)) | (uint32_t(type) << shift);
    }
    const uint32_t live = TypeField(b.liveModes, shift);
    g_SeqSimOutCtrl[phase] = (g_SeqSimOutCtrl[phase] & ~(7u << ctrlShift)) | ((1u << live) << ctrlShift);
    return g_SeqSimOutCtrl[phase];
}

uint32_t SetEnable(int32_t value, int phase, uint32_t recBit, uint8_t liveBit, uint32_t ctrlBit) {
    if (!ValidPhase(phase)) return 0;
    SeqSimBlock& b = Blk(phase);
    if (In(value, 0, 1)) {
        if (KindHasAc(SeqKind()))
            SeqRec(phase).flags = value ? SeqRec(phase).flags | recBit : SeqRec(phase).flags & ~recBit;
        b.liveEnables = value ? (b.liveEnables | liveBit) : (b.liveEnables & ~liveBit);
    }
    const bool on = (b.liveEnables & liveBit) != 0;
    g_SeqSimOutCtrl[phase] = on ? (g_SeqSimOutCtrl[phase] | ctrlBit) : (g_SeqSimOutCtrl[phase] & ~ctrlBit);
    return g_SeqSimOutCtrl[phase];
}

// The stage's old word is not read back: the record holds every bit, also those a step-0 refusal keeps
// from being set (a stale word would lack the termination).
void ReadStatus() {
    g_SeqSimStatusShadow = SeqStatusWord();
}
uint16_t WriteStatus() {
    BusReg_SetStepStatus(g_SeqSimStatusShadow);
    return g_SeqSimStatusShadow;
}

// Step-global enable kept in L1's word 0 and the live enables, and its status bit.
void SetGlobalEnable(int32_t value, uint32_t recBit, uint8_t liveBit) {
    SeqSimBlock& b = Blk(0);
    if (In(value, 0, 1)) {
        SeqRec(0).flags = value ? SeqRec(0).flags | recBit : SeqRec(0).flags & ~recBit;
        b.liveEnables = value ? (b.liveEnables | liveBit) : (b.liveEnables & ~liveBit);
    }
    ReadStatus();
    WriteStatus();
}

void PutSync(uint32_t code) {
    g_SeqSimStatusShadow = static_cast<uint16_t>((g_SeqSimStatusShadow & ~kStatSyncMask) | (code & 3u));
}

}  // namespace

uint32_t SeqSetAcvMode(int32_t type, int phase) {
    return SetType(type, phase, kSeqAcvTypeShift, kCtrlAcvShift, KindHasAc(SeqKind()));
}
uint32_t SeqSetDcvMode(int32_t type, int phase) {
    return SetType(type, phase, kSeqDcvTypeShift, kCtrlDcvShift, KindHasDc(SeqKind()));
}
uint32_t SeqSetFsetMode(int32_t type, int phase) {
    return SetType(type, phase, kSeqFsetTypeShift, kCtrlFsetShift, KindHasAc(SeqKind()));
}

int32_t SeqSetWave(int32_t wave, int phase, int setDirty) {
    if (!ValidPhase(phase)) return 0;
    const bool valid = In(wave, 1, 256);
    const bool ac = KindHasAc(SeqKind());
    if (valid && ac) SeqRec(phase).wave = static_cast<uint32_t>(wave);
    Blk(phase).liveWave = valid && ac ? static_cast<uint32_t>(wave) : kWaveCodeSin;
    g_SeqSimOutCtrl[phase] =
        (g_SeqSimOutCtrl[phase] & ~kCtrlWaveMask) | (Blk(phase).liveWave << kCtrlWaveShift);
    if (setDirty == 1) SeqSimSetDirty();
    return static_cast<int32_t>(Blk(phase).liveWave);
}

uint32_t SeqSetEnOnPhase(int32_t value, int phase) {
    return SetEnable(value, phase, kSeqEnOnPhase, kLiveEnOn, kCtrlOnFixed);
}
uint32_t SeqSetEnOffPhase(int32_t value, int phase) {
    return SetEnable(value, phase, kSeqEnOffPhase, kLiveEnOff, kCtrlOffFixed);
}
int32_t SeqSetEnOnPhaseVal(int32_t value, int phase) {
    return (SeqSetEnOnPhase(value, phase) & kCtrlOnFixed) ? 1 : 0;
}
int32_t SeqSetEnOffPhaseVal(int32_t value, int phase) {
    return (SeqSetEnOffPhase(value, phase) & kCtrlOffFixed) ? 1 : 0;
}

uint16_t SeqSetEnJumpto(int32_t value) {
    if (SeqAbsStep() == 0) return 0;
    SetGlobalEnable(value, kSeqEnJumpto, kLiveEnJumpto);
    return g_SeqSimStatusShadow;
}
uint16_t SeqSetEnBranch1(int32_t value) {
    SetGlobalEnable(value, kSeqEnBranch1, kLiveEnBranch1);
    return g_SeqSimStatusShadow;
}
uint16_t SeqSetEnBranch2(int32_t value) {
    SetGlobalEnable(value, kSeqEnBranch2, kLiveEnBranch2);
    return g_SeqSimStatusShadow;
}

uint16_t SeqSetTerm(int32_t code) {
    if (SeqAbsStep() == 0) return 0;
    SeqSimBlock& b = Blk(0);
    if (In(code, 0, 2)) {
        SeqRec(0).flags = (SeqRec(0).flags & ~(7u << kSeqTermShift)) | (uint32_t(code) << kSeqTermShift);
        b.liveModes = (b.liveModes & ~(7u << kSeqTermShift)) | (uint32_t(code) << kSeqTermShift);
    }
    ReadStatus();
    return WriteStatus();
}

uint16_t SeqSetSyncCode(int32_t code) {
    SeqSetSyncCodeVal(code, 1);
    return g_SeqSimStatusShadow;
}

int32_t SeqSetSyncCodeVal(int32_t code, int reread) {
    if (In(code, 0, 3)) {
        SeqRec(0).syncCode = static_cast<uint32_t>(code);
        Blk(0).liveSync = static_cast<uint32_t>(code);
    }
    if (reread == 1) ReadStatus();
    PutSync(Blk(0).liveSync);
    WriteStatus();
    return static_cast<int32_t>(Blk(0).liveSync);
}

uint16_t SeqStatusWord() {
    const SeqStepRecord& r = SeqRec(0);
    const uint32_t term = TypeField(r.flags, kSeqTermShift);
    uint32_t word = r.syncCode & 3u;
    word |= (r.flags & kSeqEnJumpto) ? kStatJump : 0;
    word |= term == kTermEnd ? kStatEnd : term == kTermHold ? kStatHold : kStatConti;
    word |= (r.flags & kSeqEnBranch1) ? kStatBranch1 : 0;
    word |= (r.flags & kSeqEnBranch2) ? kStatBranch2 : 0;
    return static_cast<uint16_t>(word);
}

void SeqApplyStep(int phase) {
    if (!ValidPhase(phase)) return;
    SeqSetAcvMode(SeqGetAcvMode(phase), phase);
    SeqSetDcvMode(SeqGetDcvMode(phase), phase);
    SeqSetWave(SeqGetWave(phase), phase, 0);
    SeqSetFsetMode(SeqGetFsetMode(phase), phase);
    SeqSetEnOnPhase(SeqGetEnOnPhase(phase), phase);
    SeqSetEnOffPhase(SeqGetEnOffPhase(phase), phase);
    BusReg_SetStepCtrl(static_cast<int32_t>(g_SeqSimOutCtrl[phase]), regbus::Phase(phase));
}
