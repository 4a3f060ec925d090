#include "core/control/trig_act.h"

#include "core/control/output_request.h"
#include "core/control/preset_output.h"
#include "core/params/access/param_access.h"

using namespace core;

TrigActState g_TrigAct;

namespace core {
TrigRecallFn g_TrigMemoryRecall = PresetRunForOutput;

void TrigActReset() {
    g_TrigAct.armed.store(0, std::memory_order_relaxed);
    g_TrigAct.kind.store(0, std::memory_order_relaxed);
    for (auto& word : g_TrigAct.source)
        word.store(0, std::memory_order_relaxed);
    for (auto& word : g_TrigAct.value)
        word.store(0, std::memory_order_relaxed);
    g_TrigAct.spare.store(0, std::memory_order_relaxed);
    g_TrigMemoryRecall = PresetRunForOutput;
}
}  // namespace core

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

std::atomic<uint32_t>& SourceWord(uint32_t kind) {
    return kind >= 1 && kind <= 3 ? g_TrigAct.source[kind - 1] : g_TrigAct.spare;
}

std::atomic<uint32_t>& ValueWord(uint32_t index) {
    return index <= 3 ? g_TrigAct.value[index] : g_TrigAct.spare;
}

int32_t Access(uint32_t dir, std::atomic<uint32_t>& word, uint32_t* p) {
    if (p == nullptr) return 0;
    if (dir == 0)
        *p = word.load(kRelaxed);
    else if (dir == 1)
        word.store(*p, kRelaxed);
    return 0;
}

// Each action disarms first, so a trigger fires it once. An output request that is not posted, or a recall
// that is refused (a calibration in progress, a preset that cannot be read), makes the trigger fail:
// answered as done, the remote controller would wait for an output that never comes.
int32_t RunAction(uint32_t kind) {
    g_TrigAct.armed.store(0, kRelaxed);
    switch (kind) {
        case kTrigKindTrigger:
            SetAcv(static_cast<int32_t>(g_TrigAct.value[kTrigValVoltage].load(kRelaxed)), 0);
            SetFrequency(static_cast<int32_t>(g_TrigAct.value[kTrigValFrequency].load(kRelaxed)));
            break;
        case kTrigKindOutput:
            if (SetOutputOnOff(static_cast<int32_t>(g_TrigAct.value[kTrigValOutput].load(kRelaxed))) < 0)
                return kTrigErrExecution;
            break;
        case kTrigKindMemory:
            if (g_TrigMemoryRecall != nullptr &&
                g_TrigMemoryRecall(0, g_TrigAct.value[kTrigValMemory].load(kRelaxed)) != 0)
                return kTrigErrExecution;
            break;
        default:
            break;
    }
    return 0;
}

}  // namespace

void TrigAct_Abort() {
    g_TrigAct.armed.store(0, kRelaxed);
}

int32_t TrigAct_SourceAccess(uint32_t dir, uint32_t kind, uint32_t* source) {
    return Access(dir, SourceWord(kind), source);
}

int32_t TrigAct_ValueAccess(uint32_t dir, uint32_t index, uint32_t* value) {
    return Access(dir, ValueWord(index), value);
}

int32_t TrigAct_Initiate(uint32_t kind) {
    if (kind < kTrigKindTrigger || kind > kTrigKindMemory) return kTrigErrTriggerIgnored;
    g_TrigAct.kind.store(kind, kRelaxed);
    switch (SourceWord(kind).load(kRelaxed)) {
        case kTrigSrcBus:
        case kTrigSrcTri1:
        case kTrigSrcTri2:
            // The kind before the arming: a trigger on another thread reads them the other way round.
            g_TrigAct.armed.store(1, std::memory_order_release);
            return 0;
        case kTrigSrcImm:
            return RunAction(kind);
        default:
            return kTrigErrInitIgnored;
    }
}

int32_t TrigAct_BusTrigger(uint32_t kind) {
    const uint32_t selected = g_TrigAct.kind.load(kRelaxed);
    if (kind == kTrigKindSelected) kind = selected;
    if (kind < kTrigKindTrigger || kind > kTrigKindMemory || kind != selected) return kTrigErrTriggerIgnored;
    switch (SourceWord(kind).load(kRelaxed)) {
        case kTrigSrcBus:
            // Taken in one step: a trigger input on the control task may fire the same arming.
            if (g_TrigAct.armed.exchange(0, std::memory_order_acquire) == 0) return kTrigErrTriggerIgnored;
            return RunAction(kind);
        case kTrigSrcImm:
            return 0;
        default:
            return kTrigErrTriggerIgnored;
    }
}

void TrigAct_Input(int input) {
    if (g_TrigAct.armed.load(std::memory_order_acquire) == 0) return;
    const uint32_t kind = g_TrigAct.kind.load(kRelaxed);
    if (kind < kTrigKindTrigger || kind > kTrigKindMemory) return;
    const uint32_t source = SourceWord(kind).load(kRelaxed);
    if ((input == 0 && source == kTrigSrcTri1) || (input == 1 && source == kTrigSrcTri2)) {
        if (g_TrigAct.armed.exchange(0, std::memory_order_acquire) != 0) RunAction(kind);
    }
}
