#include "engine/seq/seq_setters.h"

#include <algorithm>

#include "core/params/access/param_access.h"
#include "core/params/settings/angle_bounds.h"
#include "core/regbus/reg_step.h"
#include "engine/seq/seq_access.h"
#include "engine/seq/seq_internal.h"
#include "engine/seq/seq_limits.h"
#include "engine/seqsim/seqsim_mode.h"
#include "engine/seqsim/seqsim_saved_config.h"

using namespace engine;

namespace {

SeqSimBlock& Blk(int phase) {
    return g_SeqSimBlock[phase];
}
bool In(int32_t v, int32_t lo, int32_t hi) {
    return v >= lo && v <= hi;
}

// The common rule of a step-global field with the step-0 refusal.
int32_t GlobalField(int32_t v, bool inside, uint32_t SeqStepRecord::*field, uint32_t SeqSimBlock::*live,
                    int (*send)(int32_t)) {
    if (SeqAbsStep() == 0) return 0;
    if (inside) {
        SeqRec(0).*field = static_cast<uint32_t>(v);
        Blk(0).*live = static_cast<uint32_t>(v);
        send(v);
    }
    return static_cast<int32_t>(Blk(0).*live);
}

}  // namespace

void SeqSetCurStep(int32_t step) {
    if (SeqSimIsRunning() || !In(step, 0, kSeqSteps - 1)) return;
    Blk(0).curStep.store(static_cast<uint32_t>(step), std::memory_order_release);
    SeqSimSetDirty();
}

int32_t SeqSetTime(int32_t value) {
    if (!In(value, SeqGetTimeMin(), SeqGetTimeMax())) return 0;
    SeqRec(0).time = static_cast<uint32_t>(value);
    Blk(0).liveTime = static_cast<uint32_t>(value);
    BusReg_SetStepTime(value);
    return value;
}

int32_t SeqSetAcv(int32_t value, int phase) {
    if (!ValidPhase(phase)) return 0;
    const bool vpp = SeqSimAcvIsVpp(phase) != 0;
    const bool inside = AcvTaken(value, SeqRec(phase).wave, vpp, SeqGetDcv(phase));
    const bool ac = KindHasAc(SeqKind());
    return PhaseField(SeqRec,
        value, phase, inside, &SeqSimBlock::liveAcv,
        [&](SeqStepRecord& r) {
            if (ac) (vpp ? r.acvVpp : r.acv) = static_cast<uint32_t>(value);
        },
        BusReg_SetStepAcv);
}

int32_t SeqSetDcv(int32_t value, int phase) {
    if (!ValidPhase(phase)) return 0;
    const bool inside = DcvTaken(value, SeqRec(phase).wave, SeqGetAcv(phase));
    const bool dc = KindHasDc(SeqKind());
    return PhaseField(SeqRec,
        value, phase, inside, &SeqSimBlock::liveDcv,
        [&](SeqStepRecord& r) {
            if (dc) r.dcv = value;
        },
        BusReg_SetStepDcv);
}

void SeqStoreAcv(int32_t value, int phase) {
    if (!ValidPhase(phase) || !KindHasAc(SeqKind())) return;
    SeqStepRecord& r = SeqRec(phase);
    (SeqVppAt(SeqAbsStep(), phase) ? r.acvVpp : r.acv) = static_cast<uint32_t>(value);
}

void SeqStoreDcv(int32_t value, int phase) {
    if (!ValidPhase(phase) || !KindHasDc(SeqKind())) return;
    SeqRec(phase).dcv = value;
}

int32_t SeqSetDuty(int32_t value, int phase, int32_t max, int32_t min) {
    const bool ac = KindHasAc(SeqKind());
    return PhaseField(SeqRec,
        value, phase, In(value, min, max), &SeqSimBlock::liveDuty,
        [&](SeqStepRecord& r) {
            if (ac) r.duty = static_cast<uint32_t>(value);
        },
        BusReg_SetStepDuty);
}

int32_t SeqSetOnPhase(int32_t value, int phase) {
    if (!ValidPhase(phase)) return 0;
    const bool ac = KindHasAc(SeqKind());
    return PhaseField(SeqRec,
        value, phase, In(value, 0, SeqGetOnOffPhaseMax(phase)), &SeqSimBlock::liveOnPhase,
        [&](SeqStepRecord& r) {
            if (ac) r.onPhase = static_cast<uint32_t>(value);
        },
        BusReg_SetStepOnPhase);
}

int32_t SeqSetOffPhase(int32_t value, int phase) {
    if (!ValidPhase(phase)) return 0;
    const bool ac = KindHasAc(SeqKind());
    return PhaseField(SeqRec,
        value, phase, In(value, 0, SeqGetOnOffPhaseMax(phase)), &SeqSimBlock::liveOffPhase,
        [&](SeqStepRecord& r) {
            if (ac) r.offPhase = static_cast<uint32_t>(value);
        },
        BusReg_SetStepOffPhase);
}

int32_t SeqSetFset(int32_t value, int phase) {
    if (!ValidPhase(phase)) return 0;
    const bool inside = FsetTaken(value);
    const bool ac = KindHasAc(SeqKind());
    if (inside) {
        if (ac) SeqRec(phase).fset = static_cast<uint32_t>(value);
        Blk(phase).liveFset = static_cast<uint32_t>(value);
    }
    const int32_t f = static_cast<int32_t>(Blk(phase).liveFset);
    // The stored words may come from a file and hold any 32-bit value: the rounding is done in 64 bits.
    int64_t duty = SeqGetDuty(phase);
    if (f > 99999) {
        duty = std::clamp<int64_t>((duty + 50) / 100 * 100, 100, 900);
    } else if (f > 9999) {
        duty = std::clamp<int64_t>((duty + 5) / 10 * 10, 10, 990);
    }
    SeqSetDuty(static_cast<int32_t>(duty), phase, 999, 1);
    int64_t on = SeqGetOnPhase(phase), off = SeqGetOffPhase(phase);
    if (settings::WholeDegreeAngles(f)) {
        on = std::min<int64_t>((on + 5) / 10 * 10, settings::kAngleMaxWholeDegrees);
        off = std::min<int64_t>((off + 5) / 10 * 10, settings::kAngleMaxWholeDegrees);
    }
    SeqSetOnPhase(static_cast<int32_t>(on), phase);
    SeqSetOffPhase(static_cast<int32_t>(off), phase);
    BusReg_SetStepFreq(f, regbus::Phase(phase));
    return f;
}

int32_t SeqSetJumpto(int32_t step) {
    return GlobalField(step, In(step, 0, kSeqSteps - 1), &SeqStepRecord::jumpTo, &SeqSimBlock::liveJumpto,
                       BusReg_SetStepJumpTo);
}
int32_t SeqSetJumpCnt(int32_t count) {
    return GlobalField(count, In(count, 0, SeqGetJumpCntMax()), &SeqStepRecord::jumpCnt,
                       &SeqSimBlock::liveJumpCnt, BusReg_SetStepJumpCount);
}
int32_t SeqSetBranch1(int32_t step) {
    return GlobalField(step, In(step, 0, kSeqSteps - 1), &SeqStepRecord::branch1, &SeqSimBlock::liveBranch1,
                       BusReg_SetStepBranch1);
}
int32_t SeqSetBranch2(int32_t step) {
    return GlobalField(step, In(step, 0, kSeqSteps - 1), &SeqStepRecord::branch2, &SeqSimBlock::liveBranch2,
                       BusReg_SetStepBranch2);
}

int32_t SeqSetBalance_L2(int32_t value) {
    return SetBalanceAngle(SeqRec(0).angleL2, Blk(0).liveAngleL2, value, BusReg_SetStepPhaseL2);
}
int32_t SeqSetBalance_L3(int32_t value) {
    return SetBalanceAngle(SeqRec(0).angleL3, Blk(0).liveAngleL3, value, BusReg_SetStepPhaseL3);
}

int SeqClampAcvToMax(int32_t value, int phase) {
    const int32_t max = SeqGetStepAcvMax(phase);
    if (!ValidPhase(phase) || max >= value || GetAcvUnit() != 0) return 0;
    SeqSetAcv(max, phase);
    return 1;
}
