#include "engine/run/seqsim_run.h"

#include "core/control/hooks/screen_request.h"
#include "core/control/output_request.h"
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/regbus/reg_read.h"
#include "core/regbus/reg_write.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/output_flags.h"
#include "engine/seq/seq_internal.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mode.h"
#include "engine/seqsim/seqsim_validate.h"
#include "platform/host/clock.h"
#include "storage/image_hold.h"

namespace {

constexpr auto kAcq = std::memory_order_acquire;
constexpr auto kRel = std::memory_order_release;
constexpr uint32_t kKindShift = 1, kStateShift = 9;
constexpr int32_t kStageRunning = 2, kStageHeld = 3;
constexpr uint32_t kHoldSettleMs = 15;
constexpr int kFileVersion = 5;

SeqSimBlock& L1() {
    return g_SeqSimBlock[0];
}
uint32_t RunState() {
    return (L1().runWord.load(kAcq) >> kStateShift) & 0xFFFFu;
}
void SetRunState(uint32_t state) {
    uint32_t word = L1().runWord.load(std::memory_order_relaxed);
    while (!L1().runWord.compare_exchange_weak(word, (word & 0x1FFu) | (state << kStateShift),
                                               std::memory_order_acq_rel)) {
    }
}
bool SeqEngine() {
    return ((L1().runWord.load(kAcq) >> kKindShift) & 0xFFu) == kEngineSeq;
}

// A step the stage or a branch names: SEQ 0-999, SIM 0-6; anything else is ignored.
bool StepInRange(int64_t step) {
    return step >= 0 && step < (SeqEngine() ? kSeqSteps : kSimSlots);
}

// The L1 record of a step of the current kind's table; SIM runs have none.
const SeqStepRecord* RunRecord(uint32_t step) {
    if (!SeqEngine() || step >= kSeqSteps) return nullptr;
    const SeqStepRecord* table = L1().seqTable[engine::SeqKind()];
    return table != nullptr ? &table[step] : nullptr;
}
void PointAtCurrentStep() {
    L1().runStep.store(RunRecord(L1().curStep.load(kAcq)), kRel);
}

// RUN refuses a table that fails validation: the download writes the records as they are.
bool TableInUseValid() {
    const uint32_t range = GetVoltRange() == kUserRange100V ? 0 : 1;
    if (SeqEngine()) return SeqValidateTable(SeqTableIndex(engine::SeqKind(), range), kFileVersion) == 1;
    return SimValidateSet(range == 0 ? 1 : 0) == 1;
}

// The entry that asked for the preparation put the current step at 0: a step a remote client selected
// since then stays.
void Prepare() {
    SeqSimBlock& b = L1();
    const uint32_t wiring = GetPhaseMode();
    const storage::ImageHold held(g_SeqSimSavedLock);
    if (SeqIsActiveMode()) {
        if (SeqValidateAll(kFileVersion) != 1) g_SeqSimErrors.seqInvalid.store(2, kRel);
        if (held.owns_lock() && b.seqSaved.wiring != wiring) b.kindChanged.store(1, kRel);
        if (held.owns_lock()) b.seqSaved.wiring = wiring;
    } else {
        if (SimValidateAll(4) != 1) g_SeqSimErrors.simInvalid.store(2, kRel);
        if (held.owns_lock()) b.simSaved.wiring = wiring;
    }
    SeqSimSelectTables();
    SetRunState(kRunReset);
}
void ClearRunFlags() {
    L1().flags.fetch_and(
        static_cast<uint8_t>(~(kRunFlagRunning | kRunFlagPaused | kRunFlagBranch1 | kRunFlagBranch2)),
        std::memory_order_acq_rel);
}
// The stage's sequencer is told to stop as well: a program left stepping behind an output that is off
// would go on to its end, and the next poll would take the run up again. The run is over at once: a stop
// carried out after the function was left never reaches the reset, and a run still marked would make the
// next output-off request a stop request that nothing carries out.
void Stop() {
    SetOutputOnOff(0);
    BusReg_SeqSimStop();
    ClearRunFlags();
    SetRunState(kRunReset);
}
void ResetFlags() {
    ClearRunFlags();
    SeqSimClearDirty();
    SetRunState(kRunReady);
}

struct RunStateRow {
    uint32_t state;
    void (*handler)();
};
constexpr RunStateRow kRunStates[] = {
    {kRunPrepare, Prepare},      {kRunReady, SeqSimRunPoll}, {kRunStop, Stop},
    {kRunPause, SeqSimRunPause}, {kRunReset, ResetFlags},
};

int32_t Word(int index) {
    const SeqStepRecord* r = L1().runStep.load(kAcq);
    if (r == nullptr) return 0;
    const uint32_t words[5] = {r->flags, r->acv, static_cast<uint32_t>(r->dcv), r->fset, r->wave};
    return static_cast<int32_t>(words[index]);
}

}  // namespace

int32_t SeqSimEnterMode(uint32_t mode) {
    if (mode != kSeqSimSeq && mode != kSeqSimSim) return -1;
    if (OutputFlagTest(kOutFlagOutputOn))
        return ShowMessage(2, "Invalid with Output ON, \nTurn OFF the Output First");
    if (GetVoltRange() == kUserRangeAuto) return ShowMessage(2, "Invalid For Auto Range");
    SeqSimSetMode(mode);
    L1().panelFlags.fetch_and(static_cast<uint8_t>(~(kSeqPanelRecallOpen | kSeqPanelSaveOpen)));
    ScreenRequest_Ask(SeqSimGetMode() == kSeqSimSeq ? ScreenRequest::kSeqEnter : ScreenRequest::kSimEnter);
    return 0;
}

int32_t SeqSimRunStopToggle() {
    SeqSimBlock& b = L1();
    if (SeqSimIsRunning()) {
        SetRunState(kRunReady);
        BusReg_SeqSimStop();
        b.flags.fetch_and(static_cast<uint8_t>(~kRunFlagPaused), std::memory_order_acq_rel);
        b.curStep.store(0, kRel);
        return 0;
    }
    if (!OutputFlagTest(kOutFlagOutputOn)) {
        ShowMessage(2, "Invalid with Output OFF, \nTurn ON the Output First");
        return -1;
    }
    if (!TableInUseValid()) {
        ShowMessage(2, "Data Out of Range!\nRUN Refused");
        return -1;
    }
    b.stepBeforeRun = b.curStep.load(kAcq);
    b.flags.fetch_or(kRunFlagRunning, std::memory_order_acq_rel);
    b.curStep.store(0, kRel);
    BusReg_SeqSimRun();
    PointAtCurrentStep();
    return 0;
}

int32_t SeqSimTriggerBranch(int32_t n) {
    if (n == 1) {
        L1().flags.fetch_or(kRunFlagBranch1, std::memory_order_acq_rel);
        return BusReg_SeqSimBranch1();
    }
    if (n == 2) {
        L1().flags.fetch_or(kRunFlagBranch2, std::memory_order_acq_rel);
        return BusReg_SeqSimBranch2();
    }
    return n;
}

uint32_t SeqSimTogglePause() {
    SeqSimBlock& b = L1();
    if (SeqSimIsRunning()) {
        const uint8_t before = b.flags.fetch_xor(kRunFlagPaused, std::memory_order_acq_rel);
        if ((before & kRunFlagPaused) == 0) {
            SetRunState(kRunPause);
            BusReg_SeqSimHold();
            plat::SleepMs(kHoldSettleMs);
            const int32_t step = BusReg_GetRunStep();
            if (StepInRange(step)) b.curStep.store(static_cast<uint32_t>(step), kRel);
            b.flags.fetch_or(kRunFlagPaused, std::memory_order_acq_rel);
        } else {
            SetRunState(kRunReady);
            BusReg_SeqSimRun();
        }
    }
    PointAtCurrentStep();
    return GetOutputMode();
}

int32_t SeqRunGetFset() {
    return Word(3);
}
int32_t SeqRunGetAcv() {
    return Word(1);
}
int32_t SeqRunGetDcv() {
    return Word(2);
}
int32_t SeqRunGetWave() {
    return Word(4);
}

void SeqSimSetPanelState(uint32_t value) {
    L1().panelState.store(value, kRel);
}

int32_t SeqSimRunControl() {
    // The pass selects, validates and points at the step tables the menu/control thread edits; one that
    // cannot have them now leaves the run state as it is and runs on the next tick.
    const storage::ImageHold tables(g_SeqSimTableLock, kSeqSimRunnerTableWaitMs);
    if (!tables.owns_lock()) return -2;
    // A stop asked for before the function was left still switches the output off.
    if (RunState() == kRunStop) {
        Stop();
        return 0;
    }
    if (SeqSimGetMode() != kSeqSimSeq && SeqSimGetMode() != kSeqSimSim) {
        SetRunState(kRunPrepare);
        return -1;
    }
    uint32_t state = RunState();
    // An output switched off by any path (OUTPUT key, key lock, alarm, parallel link) ends a run in
    // progress.
    if ((state == kRunReady || state == kRunPause) && SeqSimIsRunning() &&
        !OutputFlagTest(kOutFlagOutputOn)) {
        state = kRunStop;
        SetRunState(state);
    }
    for (const auto& row : kRunStates) {
        if (row.state == state) row.handler();
    }
    return 0;
}

void SeqSimRunPoll() {
    SeqSimBlock& b = L1();
    const int32_t s = BusReg_GetRunState();
    if (s != kStageRunning && s != kStageHeld) {
        b.flags.fetch_and(static_cast<uint8_t>(~kRunFlagRunning), std::memory_order_acq_rel);
    } else {
        b.flags.fetch_or(kRunFlagRunning, std::memory_order_acq_rel);
        if (s == kStageHeld) {
            b.flags.fetch_or(kRunFlagPaused, std::memory_order_acq_rel);
        } else {
            b.flags.fetch_and(static_cast<uint8_t>(~kRunFlagPaused), std::memory_order_acq_rel);
        }
    }
    if (SeqSimIsRunning()) {
        const int32_t step = BusReg_GetRunStep();
        if (StepInRange(step)) b.curStep.store(static_cast<uint32_t>(step), kRel);
        SeqSimUpdateElapsed();
        const uint32_t cur = b.curStep.load(kAcq);
        bool counted = false;
        if (SeqEngine()) {
            const SeqStepRecord* r = RunRecord(cur);
            counted = r != nullptr && (r->flags & kSeqEnJumpto) != 0;
        } else if (b.simSet != nullptr) {
            counted = cur == kSimNormal2 && (b.simSet[kSimNormal2].flags & kSimEnRepeat) != 0;
        }
        if (counted) b.jumpCounter.store(static_cast<uint32_t>(BusReg_GetRepeatCount()), kRel);
    }
    PointAtCurrentStep();
}

void SeqSimRunPause() {
    SeqSimBlock& b = L1();
    const SeqStepRecord* r = b.runStep.load(kAcq);
    if (r == nullptr) return;
    struct Branch {
        uint32_t enable;
        uint8_t pending;
        uint32_t target;
    };
    const Branch branches[2] = {{kSeqEnBranch1, kRunFlagBranch1, r->branch1},
                                {kSeqEnBranch2, kRunFlagBranch2, r->branch2}};
    for (const Branch& br : branches) {
        if ((r->flags & br.enable) == 0 || (b.flags.load(kAcq) & br.pending) == 0) continue;
        if (!StepInRange(br.target)) continue;
        b.curStep.store(br.target, kRel);
        SetRunState(kRunReady);
        b.flags.fetch_and(static_cast<uint8_t>(~(br.pending | kRunFlagPaused)), std::memory_order_acq_rel);
    }
}

void SeqSimUpdateElapsed() {
    const uint32_t t = static_cast<uint32_t>(BusReg_GetRunTime());
    uint32_t hours = 0, minutes = 0, seconds = t / 100000;
    if (seconds > 59) {
        minutes = seconds / 60;
        seconds %= 60;
    }
    if (minutes >= 60) {
        hours = minutes / 60;
        minutes %= 60;
    }
    SeqSimBlock& b = L1();
    b.runHours.store(hours, std::memory_order_relaxed);
    b.runMinutes.store(minutes, std::memory_order_relaxed);
    b.runSeconds.store(seconds, std::memory_order_relaxed);
}
