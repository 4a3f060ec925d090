#pragma once
// Trigger actions: one action (set voltage and frequency, switch the output, recall a memory) prepared by a
// remote controller, armed, and fired by a software trigger, at once, or by one of two trigger inputs.
// Results are rows of the SCPI error table (0 no error, the rest below), which lives in the SCPI layer above
// this one; its trigger handlers check at compile time that the rows agree.
#include <atomic>
#include <cstdint>

struct TrigActState {
    std::atomic<uint32_t> armed{0};
    std::atomic<uint32_t> kind{0};      // selected action: 1 TRIGger, 2 OUTPut, 3 MEMory
    std::atomic<uint32_t> source[3]{};  // of kinds 1-3: 0 BUS, 1 IMM, 2 TRI1, 3 TRI2
    std::atomic<uint32_t> value[4]{};   // 0 voltage, 1 frequency, 2 output state, 3 memory number
    std::atomic<uint32_t> spare{0};     // takes every access with a kind or index outside these
};
extern TrigActState g_TrigAct;

void TrigAct_Abort();
// dir 0 get, 1 set; returns 0.
int32_t TrigAct_SourceAccess(uint32_t dir, uint32_t kind, uint32_t* source);
int32_t TrigAct_ValueAccess(uint32_t dir, uint32_t index, uint32_t* value);
// Selects the kind and arms it (BUS, TRI1, TRI2) or runs it at once (IMM).
int32_t TrigAct_Initiate(uint32_t kind);
// Software trigger of kind 1-3, or 4 for the selected kind.
int32_t TrigAct_BusTrigger(uint32_t kind);
// A completed pulse on trigger input 0 or 1: runs the armed action when its source is that input.
void TrigAct_Input(int input);

namespace core {

enum TrigActKind : uint32_t {
    kTrigKindTrigger = 1,
    kTrigKindOutput = 2,
    kTrigKindMemory = 3,
    kTrigKindSelected = 4
};
enum TrigActSource : uint32_t { kTrigSrcBus = 0, kTrigSrcImm = 1, kTrigSrcTri1 = 2, kTrigSrcTri2 = 3 };
enum TrigActValue : uint32_t {
    kTrigValVoltage = 0,
    kTrigValFrequency = 1,
    kTrigValOutput = 2,
    kTrigValMemory = 3
};
inline constexpr int32_t kTrigErrExecution = 41;       // "Execution error": the output request was not taken,
                                                      // or the recall was refused
inline constexpr int32_t kTrigErrTriggerIgnored = 46;  // "Trigger ignored"
inline constexpr int32_t kTrigErrInitIgnored = 48;     // "Init ignored"

// The preset recall the MEMory action runs (save 0, preset index); the recall that reaches the output.
using TrigRecallFn = int (*)(uint32_t save, uint32_t index);
extern TrigRecallFn g_TrigMemoryRecall;

// Nothing selected or armed, every word 0 and the preset recall in place, as at start (tests).
// Tests start each case from a clean state through it.
void TrigActReset();

}  // namespace core
