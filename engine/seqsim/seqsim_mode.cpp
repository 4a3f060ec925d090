#include "engine/seqsim/seqsim_mode.h"

#include "core/control/alarms/alarms.h"
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "engine/seqsim/seqsim_data.h"
#include "storage/image_hold.h"

namespace {

constexpr uint32_t kKindShift = 1, kStateShift = 9;
SeqSimBlock& L1() {
    return g_SeqSimBlock[0];
}
uint32_t RunState() {
    return (L1().runWord.load(std::memory_order_acquire) >> kStateShift) & 0xFFFFu;
}

}  // namespace

uint32_t SeqSimGetMode() {
    return g_SeqSimMode.load(std::memory_order_acquire);
}
int SeqIsActiveMode() {
    return SeqSimGetMode() == kSeqSimSeq ? 1 : 0;
}
int SimIsActiveMode() {
    return SeqSimGetMode() == kSeqSimSim ? 1 : 0;
}

void SeqSimSyncSavedConfig() {
    const storage::ImageHold held(g_SeqSimSavedLock);
    if (!held.owns_lock()) return;
    SeqSimBlock& b = g_SeqSimBlock[0];
    const uint32_t out = GetOutputMode();
    if (IsIntMode(out) && out != b.seqSaved.kind) {
        b.seqSaved.kind = out;
        b.kindChanged.store(1, std::memory_order_release);
    }
    const int32_t range = GetVoltRange();
    const uint32_t unit = GetAcvUnit() == 1 ? 1 : 0;
    if (range == kUserRange100V || range == kUserRange200V) {
        b.seqSaved.range = static_cast<uint32_t>(range);
        b.simSaved.range = static_cast<uint32_t>(range);
    }
    b.seqSaved.acvUnit = unit;
    b.simSaved.acvUnit = unit;
}

int32_t SeqSimSetMode(uint32_t mode) {
    SeqSimSyncSavedConfig();
    const uint32_t out = GetOutputMode();
    if (mode > kSeqSimSim) return -1;
    if (mode == kSeqSimOff || (mode == kSeqSimSeq && IsIntMode(out)) ||
        (mode == kSeqSimSim && out == kModeAcDcInt)) {
        g_SeqSimMode.store(mode, std::memory_order_release);
        if (mode != kSeqSimOff) AlarmMonitorOn();
    }
    return static_cast<int32_t>(SeqSimGetMode());
}

uint32_t SeqSimGetEngineKind() {
    return (L1().runWord.load(std::memory_order_acquire) >> kKindShift) & 0xFFu;
}
int SeqSimIsRunning() {
    return (L1().flags.load(std::memory_order_acquire) & kRunFlagRunning) ? 1 : 0;
}
int SeqSimIsPaused() {
    return (L1().flags.load(std::memory_order_acquire) & kRunFlagPaused) ? 1 : 0;
}
int SeqSimRunStateIsStop() {
    return RunState() == kRunReady ? 1 : 0;
}
int SeqSimIsDirty() {
    return L1().dirty.load(std::memory_order_acquire) & 1u;
}
void SeqSimSetDirty() {
    L1().dirty.fetch_or(1u, std::memory_order_release);
}
void SeqSimClearDirty() {
    L1().dirty.fetch_and(static_cast<uint8_t>(~1u), std::memory_order_release);
}

uint32_t SeqSimGetSaveSlot() {
    uint32_t kind = SeqSimGetEngineKind();
    return kind == kEngineSeq ? L1().seqSaveSlot : kind == kEngineSim ? L1().simSaveSlot : 0;
}
uint32_t SeqSimGetRecallSlot() {
    uint32_t kind = SeqSimGetEngineKind();
    return kind == kEngineSeq ? L1().seqRecallSlot : kind == kEngineSim ? L1().simRecallSlot : 0;
}
uint32_t SeqSimSetSaveSlot(uint32_t slot) {
    uint32_t kind = SeqSimGetEngineKind();
    if (kind == kEngineSeq) L1().seqSaveSlot = slot;
    if (kind == kEngineSim) L1().simSaveSlot = slot;
    return kind;
}
uint32_t SeqSimSetRecallSlot(uint32_t slot) {
    uint32_t kind = SeqSimGetEngineKind();
    if (kind == kEngineSeq) L1().seqRecallSlot = slot;
    if (kind == kEngineSim) L1().simRecallSlot = slot;
    return kind;
}
uint32_t SeqSimGetRunHours() {
    return L1().runHours;
}
uint32_t SeqSimGetRunMinutes() {
    return L1().runMinutes;
}
uint32_t SeqSimGetRunSeconds() {
    return L1().runSeconds;
}
uint32_t SeqSimGetCurStep() {
    return L1().curStep.load(std::memory_order_acquire);
}

bool SeqSimPreparationPending() {
    const uint32_t mode = SeqSimGetMode();
    if (mode != kSeqSimSeq && mode != kSeqSimSim) return false;
    if (RunState() == kRunPrepare) return true;
    if (mode == kSeqSimSeq) return SeqPrepStage.load(std::memory_order_acquire) != kSeqPrepIdle;
    return SimPrepRequest.load(std::memory_order_acquire) != 0;
}

void SeqSimRequestStop() {
    uint32_t word = L1().runWord.load(std::memory_order_relaxed);
    while (!L1().runWord.compare_exchange_weak(word, (word & 0x1FFu) | (kRunStop << kStateShift),
                                               std::memory_order_acq_rel)) {
    }
}

void SeqSimResetEngine(uint32_t kind) {
    L1().curStep.store(0, std::memory_order_release);
    L1().runWord.store(((kind & 0xFFu) << kKindShift) | (kRunPrepare << kStateShift),
                       std::memory_order_release);
}

void SeqSimSelectTables() {
    const uint32_t range = GetVoltRange() == kUserRange100V ? 0 : 1;
    for (int p = 0; p < kSeqSlices; ++p) {
        for (uint32_t kind = 0; kind < 3; ++kind)
            g_SeqSimBlock[p].seqTable[kind] = g_SeqStepTable[SeqTableIndex(kind, range)][p];
        g_SeqSimBlock[p].simSet = g_SimStepTable[range == 0 ? 1 : 0][p];
    }
}
