#pragma once
// The voltage checks of a SEQUENCE step's ACV and DCV modes: the order in which a run visits the steps
// (following Jump To), the level a KP or SP step starts from, and whether the (ACV, DCV) pair the step
// would start from fits the output limits. Menu/control thread, with the step tables held.
#include <cstdint>

inline constexpr int16_t kSeqNotVisited = -1;
struct SeqStepOrderTable {
    int16_t index[1000];  // visit index of each step, kSeqNotVisited for a step the walk never reaches
    uint32_t loopFlag;    // 1: the walk came back to a step already visited
    uint32_t loopStep;    // the step it came back to
    uint32_t lastIndex;   // the visit index given to the last step visited
};
extern SeqStepOrderTable SeqStepOrder;

// Walks the L1 table of the current output kind from step 0: each step gets the next visit index until an
// END step, a step visited before (the loop) or the end of the table.
void SeqBuildStepOrder();
// The level (0.01 V) the current step of phase 0-2 starts from when its mode keeps or sweeps from the
// previous one: the step before it (past KP steps), then the steps visited before it, then, in a loop,
// the last steps of the loop; the largest positive candidate, 0 when none. Rebuilds SeqStepOrder.
int32_t SeqPrevAcvLevel(int phase);
int32_t SeqPrevDcvLevel(int phase);
int32_t SeqCurAcv(int phase);
int32_t SeqCurDcv(int phase);
// Modes 0 CT, 1 KP, 2 SP. 1 when the pair the current step would start from with these modes does not fit
// the output limits of the phase's waveform (AC+DC only; equal modes always fit), else 0.
int SeqModePairOutOfLimits(int32_t acvMode, int32_t dcvMode, int phase);
