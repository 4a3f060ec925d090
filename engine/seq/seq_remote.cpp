#include "engine/seq/seq_remote.h"

#include <algorithm>
#include <initializer_list>

#include "core/params/access/param_access.h"
#include "core/params/settings/angle_bounds.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/service_flags.h"
#include "engine/run/seqsim_verify.h"
#include "engine/seq/seq_access.h"
#include "engine/seq/seq_internal.h"
#include "engine/seq/seq_limits.h"
#include "engine/seq/seq_setters.h"
#include "engine/seqsim/seqsim_mode.h"
#include "engine/seqsim/seqsim_saved_config.h"
#include "platform/stage/wiring_codes.h"

using namespace engine;

namespace {

struct Target {
    int phase;
    bool withL2;  // 1P3W: L2 takes L1's values
    int32_t step;
};

// The step and phase a remote write addresses, or false when a run is in progress without the step-0
// permission.
bool Select(Target& t) {
    if (SeqSimIsRunning()) {
        if (g_SeqSimScreen.remoteStep0.load(std::memory_order_acquire) == 0) return false;
        g_SeqSimBlock[0].curStep.store(0, std::memory_order_release);
    }
    t.withL2 = GetPhaseMode() == kWiring1P3W;
    const uint32_t sel = g_SeqSimRemoteSel[0].load(std::memory_order_acquire);
    t.phase = t.withL2 || sel > 2 ? 0 : static_cast<int>(sel);
    t.step = static_cast<int32_t>(SeqAbsStep());
    return true;
}

void Check(int mismatch) {
    SeqSimCheck(kEngineSeq, mismatch);
}

// A running step plays each value as it is written: its present ACV is held within the new waveform's
// limit until the new ACV follows, with the limit's message and read-back check.
void ClampPresentAcv(const Target& t, int p) {
    if (core::NvWritesDisabled() || !SeqClampAcvToMax(SeqGetAcv(p), p)) return;
    Check(SeqSimVerifyAcv(t.step, p, kEngineSeq));
    ShowMessage(2, "Voltage out of range\n(Setting Voltage Limited)");
}

// The duty of a remote write for its frequency: rounded in the high bands, -1 outside a band.
int32_t BandDuty(int32_t fset, int32_t duty) {
    if (fset > 99999) return duty < 100 || duty > 900 ? -1 : std::clamp((duty + 50) / 100 * 100, 100, 900);
    if (fset > 9999) return duty < 10 || duty > 990 ? -1 : std::clamp((duty + 5) / 10 * 10, 10, 990);
    return duty;
}

// Each write of the phase (and of L2 in 1P3W); the result is L1's (or the phase's).
template <typename F>
int32_t Both(const Target& t, F write) {
    const int32_t r = write(t.phase, false);
    if (t.withL2) write(1, true);
    return r;
}

void PhaseChecks(const Target& t) {
    const int32_t s = t.step;
    Check(SeqSimVerifyPhaseReg(s, t.phase, kEngineSeq));
    Check(SeqSimVerifyAcv(s, t.phase, kEngineSeq));
    Check(SeqSimVerifyFset(s, t.phase, kEngineSeq));
    // Only the angle this write sent: the other's register holds what an earlier write left there.
    if (t.phase == 1) Check(SeqSimVerifyBalance_L2(s, kEngineSeq));
    if (t.phase == 2) Check(SeqSimVerifyBalance_L3(s, kEngineSeq));
    Check(SeqSimVerifyDcv(s, t.phase, kEngineSeq));
}

struct PhaseValues {
    int32_t acv, acvType, dcv, dcvType, fset, fsetType, wave, duty, angle;
};

// A refusal code and whether its value is taken.
struct Verdict {
    bool taken;
    int32_t code;
};
int32_t FirstRefusal(std::initializer_list<Verdict> verdicts) {
    for (const Verdict& v : verdicts)
        if (!v.taken) return v.code;
    return 0;
}

// The code of the first value the writes below would refuse, in their order, or 0: every value is checked
// by its setter's rule before the first is written, so that a refused write leaves the step as it was. An
// idle step takes its DCV first, at the old waveform and at the ACV the AC+DC zeroing leaves, then its ACV
// at the new waveform and DCV; a running step takes its ACV at its present DCV and its DCV last, at the new
// ACV. In 1P3W L2 is held to its own limits, its DCV negated.
int32_t PhaseRefusal(const Target& t, const PhaseValues& v, bool running) {
    const uint32_t kind = SeqKind();
    const bool ac = KindHasAc(kind), dc = KindHasDc(kind);
    bool acvTaken = true, dcvTaken = true;
    for (int p : {t.phase, t.withL2 ? 1 : t.phase}) {
        const int32_t dcv = p != t.phase ? -v.dcv : v.dcv;
        const uint32_t oldWave = SeqRec(p).wave;
        const uint32_t wave = ac && v.wave >= 1 && v.wave <= 256 ? static_cast<uint32_t>(v.wave) : oldWave;
        const bool zeroed = kind == 0 && AcvTaken(0, oldWave, SeqSimAcvIsVpp(p) != 0, SeqGetDcv(p));
        const int32_t acvAtDcv = running ? (ac ? v.acv : SeqGetAcv(p)) : zeroed ? 0 : SeqGetAcv(p);
        const int32_t dcvAtAcv = running || !dc ? SeqGetDcv(p) : dcv;
        acvTaken &= !ac || AcvTaken(v.acv, wave, VppWave(wave), dcvAtAcv);
        dcvTaken &= !dc || DcvTaken(dcv, running ? wave : oldWave, acvAtDcv);
    }
    const bool fsetTaken = FsetTaken(v.fset);
    const bool angleTaken = (t.phase != 1 && t.phase != 2) || BalanceAngleTaken(v.angle);
    const int32_t duty = BandDuty(v.fset, v.duty);
    const bool dutyTaken = duty >= 1 && duty <= 999;
    if (running)
        return FirstRefusal(
            {{acvTaken, -101}, {fsetTaken, -105}, {angleTaken, -1}, {dutyTaken, -108}, {dcvTaken, -103}});
    return FirstRefusal(
        {{dcvTaken, -103}, {acvTaken, -101}, {fsetTaken, -105}, {angleTaken, -1}, {dutyTaken, -108}});
}

int32_t WriteDcv(const Target& t, const PhaseValues& v, bool zeroAcvFirst) {
    if (!KindHasDc(SeqKind())) return 0;
    if (zeroAcvFirst && SeqKind() == 0) Both(t, [](int p, bool) { return SeqSetAcv(0, p); });
    const int32_t r = Both(t, [&](int p, bool l2) { return SeqSetDcv(l2 ? -v.dcv : v.dcv, p); });
    if (r != v.dcv) return -103;
    Both(t, [&](int p, bool) { return static_cast<int32_t>(SeqSetDcvMode(v.dcvType, p)); });
    return 0;
}

int32_t WriteAcv(const Target& t, const PhaseValues& v) {
    if (SeqSetAcv(v.acv, t.phase) != v.acv) return -101;
    if (t.withL2) SeqSetAcv(v.acv, 1);
    Both(t, [&](int p, bool) { return static_cast<int32_t>(SeqSetAcvMode(v.acvType, p)); });
    return 0;
}

int32_t WriteFset(const Target& t, const PhaseValues& v) {
    if (Both(t, [&](int p, bool) { return SeqSetFset(v.fset, p); }) != v.fset) return -105;
    Both(t, [&](int p, bool) { return static_cast<int32_t>(SeqSetFsetMode(v.fsetType, p)); });
    return 0;
}

int32_t WriteAngleDuty(const Target& t, const PhaseValues& v) {
    if (t.phase == 1 && SeqSetBalance_L2(v.angle) != v.angle) return -1;
    if (t.phase == 2 && SeqSetBalance_L3(v.angle) != v.angle) return -1;
    const int32_t duty = BandDuty(v.fset, v.duty);
    if (Both(t, [&](int p, bool) { return SeqSetDuty(duty, p, 999, 1); }) != duty) return -108;
    return 0;
}

void Apply(const Target& t) {
    Both(t, [](int p, bool) {
        SeqApplyStep(p);
        return 0;
    });
}

int32_t PhaseIdle(const Target& t, const PhaseValues& v) {
    if (int32_t e = WriteDcv(t, v, true)) return e;
    if (KindHasAc(SeqKind())) {
        Both(t, [&](int p, bool) { return SeqSetWave(v.wave, p, 1); });
        if (int32_t e = WriteAcv(t, v)) return e;
    }
    if (int32_t e = WriteFset(t, v)) return e;
    if (int32_t e = WriteAngleDuty(t, v)) return e;
    Apply(t);
    PhaseChecks(t);
    return 0;
}

// Step 0 of a running program: the ACV, Fset and DCV failures still run the read-back checks.
int32_t PhaseRunning(const Target& t, const PhaseValues& v) {
    int32_t e = 0;
    if (KindHasAc(SeqKind())) {
        Both(t, [&](int p, bool) { return SeqSetWave(v.wave, p, 1); });
        Both(t, [&](int p, bool) {
            ClampPresentAcv(t, p);
            return 0;
        });
        e = WriteAcv(t, v);
    }
    if (e == 0) e = WriteFset(t, v);
    if (e == 0) {
        if (int32_t stop = WriteAngleDuty(t, v)) return stop;
        e = WriteDcv(t, v, false);
    }
    if (e == 0) Apply(t);
    PhaseChecks(t);
    return e;
}

}  // namespace

int32_t SeqSetStepPhaseParams(int32_t acv, int32_t acvType, int32_t dcv, int32_t dcvType, int32_t fset,
                              int32_t fsetType, int32_t wave, int32_t duty, int32_t phaseAngle) {
    Target t{};
    if (!Select(t)) return 0;
    const PhaseValues v{acv, acvType, dcv, dcvType, fset, fsetType, wave, duty, phaseAngle};
    const bool running = SeqSimIsRunning() != 0;
    if (const int32_t refused = PhaseRefusal(t, v, running)) return refused;
    const int32_t r = running ? PhaseRunning(t, v) : PhaseIdle(t, v);
    SeqSimSetDirty();
    return r;
}

namespace {

struct CommonValues {
    int32_t time, on, enOn, off, enOff, term, jumpto, enJumpto, jumpCnt, sync, b1, enB1, b2, enB2;
};

// A target setter refused on any step but 0, or on step 0 while running (where only 0 is taken).
bool TargetRefused(int32_t result, int32_t asked, const Target& t, bool running) {
    return result != asked && (t.step != 0 || running);
}
// The same rule for a target not yet written: a step other than 0 takes 0 .. max, a running step 0 only 0.
bool TargetTaken(int32_t asked, int32_t max, const Target& t, bool running) {
    return t.step != 0 ? asked >= 0 && asked <= max : !running || asked == 0;
}

// An ON or OFF phase as written: to whole degrees where the phase's frequency asks for them.
int32_t StepAngle(const Target& t, int32_t x) {
    const bool whole =
        settings::WholeDegreeAngles(SeqGetFset(t.phase)) && x <= settings::kAngleMaxWholeDegrees;
    return whole ? (x + 5) / 10 * 10 : x;
}

// The code of the first value CommonWrites would refuse, or 0, checked before any is written.
int32_t CommonRefusal(const Target& t, const CommonValues& v, bool running) {
    bool onTaken = true, offTaken = true;
    if (KindHasAc(SeqKind())) {
        for (int p : {t.phase, t.withL2 ? 1 : t.phase}) {
            const int32_t max = SeqGetOnOffPhaseMax(p);
            const int32_t on = StepAngle(t, v.on), off = StepAngle(t, v.off);
            onTaken &= on >= 0 && on <= max;
            offTaken &= off >= 0 && off <= max;
        }
    }
    const int32_t lastStep = SeqGetTargetStepMax();
    return FirstRefusal({{v.time >= SeqGetTimeMin() && v.time <= SeqGetTimeMax(), -101},
                         {onTaken, -102},
                         {offTaken, -104},
                         {TargetTaken(v.jumpto, lastStep, t, running), -107},
                         {TargetTaken(v.jumpCnt, SeqGetJumpCntMax(), t, running), -109},
                         {TargetTaken(v.b1, lastStep, t, running), -111},
                         {TargetTaken(v.b2, lastStep, t, running), -113}});
}

int32_t CommonWrites(const Target& t, const CommonValues& v, bool running) {
    // A refused time is answered with 0, so a requested 0 is refused by its bound, not by the comparison.
    if (v.time < SeqGetTimeMin() || SeqSetTime(v.time) != v.time) return -101;
    if (KindHasAc(SeqKind())) {
        const int32_t on = StepAngle(t, v.on), off = StepAngle(t, v.off);
        if (Both(t, [&](int p, bool) { return SeqSetOnPhase(on, p); }) != on) return -102;
        Both(t, [&](int p, bool) { return SeqSetEnOnPhaseVal(v.enOn, p); });
        if (Both(t, [&](int p, bool) { return SeqSetOffPhase(off, p); }) != off) return -104;
        Both(t, [&](int p, bool) { return SeqSetEnOffPhaseVal(v.enOff, p); });
    }
    SeqSetTerm(v.term);
    if (TargetRefused(SeqSetJumpto(v.jumpto), v.jumpto, t, running)) return -107;
    SeqSetEnJumpto(v.enJumpto);
    if (TargetRefused(SeqSetJumpCnt(v.jumpCnt), v.jumpCnt, t, running)) return -109;
    SeqSetSyncCode(v.sync);
    if (TargetRefused(SeqSetBranch1(v.b1), v.b1, t, running)) return -111;
    SeqSetEnBranch1(v.enB1);
    if (TargetRefused(SeqSetBranch2(v.b2), v.b2, t, running)) return -113;
    SeqSetEnBranch2(v.enB2);
    Apply(t);
    return 0;
}

void CommonChecks(const Target& t) {
    const int32_t s = t.step;
    const int p = t.phase;
    Check(SeqSimVerifyTime(s, kEngineSeq));
    Check(SeqSimVerifyOnPhase(s, p, kEngineSeq));
    Check(SeqSimVerifyOffPhase(s, p, kEngineSeq));
    Check(SeqSimVerifyStatusReg(s, kEngineSeq));
    Check(SeqSimVerifyPhaseReg(s, p, kEngineSeq));
    // Step 0 takes no targets, so this write sent none: their registers hold what the entry's download
    // wrote, or before that download the stage's start values, which need not be the step's record.
    if (s == 0) return;
    Check(SeqSimVerifyJumpto(s, kEngineSeq));
    Check(SeqVerifyJumpCnt(s));
    Check(SeqVerifyBranch1(s));
    Check(SeqVerifyBranch2(s));
}

}  // namespace

int32_t SeqSetStepCommonParams(int32_t time, int32_t onPhase, int32_t enOnPhase, int32_t offPhase,
                               int32_t enOffPhase, int32_t term, int32_t jumpto, int32_t enJumpto,
                               int32_t jumpCnt, int32_t syncCode, int32_t branch1, int32_t enBranch1,
                               int32_t branch2, int32_t enBranch2) {
    Target t{};
    if (!Select(t)) return 0;
    const bool running = SeqSimIsRunning() != 0;
    const CommonValues v{time,     onPhase, enOnPhase, offPhase, enOffPhase, term,    jumpto,
                         enJumpto, jumpCnt, syncCode,  branch1,  enBranch1,  branch2, enBranch2};
    if (const int32_t refused = CommonRefusal(t, v, running)) return refused;
    const int32_t r = CommonWrites(t, v, running);
    if (r == 0 || running) CommonChecks(t);
    SeqSimSetDirty();
    return r;
}
