#pragma once
// The fields of a SEQUENCE step as the panel walks them: the menu state that selects each field of each
// phase and the one that edits it, the order the knob visits them, which of them the current wiring,
// output kind and step show, and the value a state's entry loads. The screen paints its rows from the same
// order and rule.
#include <cstddef>
#include <cstdint>

#include "core/system/state/menu_state_ids.h"

inline constexpr uint32_t kSeqFieldStateFirst = kMenuSeqSetStepIndex;
inline constexpr uint32_t kSeqFieldStateLast = kMenuSeqEditDuty + 2;  // 432

// What a state of 333-432 stands for: its field, its phase (0 for a single field), whether it edits
// (else it selects), its selection state and its edit state.
enum class SeqField : uint8_t {
    kNone,
    kStepIndex,
    kTime,
    kEnJumpto,
    kJumpto,
    kJumpCnt,
    kEnBranch1,
    kBranch1,
    kEnBranch2,
    kBranch2,
    kTerm,
    kSync,
    kAcv,
    kAcvType,
    kDcv,
    kDcvType,
    kFset,
    kFsetType,
    kWave,
    kDuty,
    kEnOnPhase,
    kOnPhase,
    kEnOffPhase,
    kOffPhase,
    kBalanceL2,
    kBalanceL3,
};
struct SeqStateInfo {
    SeqField field;
    uint8_t phase;
    bool edit;
    uint16_t select;
    uint16_t editState;
};
// The field of a state; field kNone for a state outside 333-432 and for 379/380.
SeqStateInfo SeqStateOf(uint32_t state);

// The selection states in the order the knob visits them (next = down the list).
inline constexpr uint16_t kSeqKnobOrder[] = {
    kMenuSeqSetStepIndex,
    kMenuSeqSetTimeStep,
    kMenuSeqEnJumpto,
    kMenuSeqSetJumpto,
    kMenuSeqSetJumpCnt,
    kMenuSeqEnBranch1,
    kMenuSeqSetBranch1,
    kMenuSeqEnBranch2,
    kMenuSeqSetBranch2,
    kMenuSeqSetStepterm,
    kMenuSeqSetSyncCode,
    // per phase: the value, then its mode (wave, then duty; enable, then angle)
    kMenuSeqSetACV,
    kMenuSeqSetACVType,
    kMenuSeqSetACV + 1,
    kMenuSeqSetACVType + 1,
    kMenuSeqSetACV + 2,
    kMenuSeqSetACVType + 2,
    kMenuSeqSetDCV,
    kMenuSeqSetDCVType,
    kMenuSeqSetDCV + 1,
    kMenuSeqSetDCVType + 1,
    kMenuSeqSetDCV + 2,
    kMenuSeqSetDCVType + 2,
    kMenuSeqSetFset,
    kMenuSeqSetFsetType,
    kMenuSeqSetFset + 1,
    kMenuSeqSetFsetType + 1,
    kMenuSeqSetFset + 2,
    kMenuSeqSetFsetType + 2,
    kMenuSeqSetWave,
    kMenuSeqSetDuty,
    kMenuSeqSetWave + 1,
    kMenuSeqSetDuty + 1,
    kMenuSeqSetWave + 2,
    kMenuSeqSetDuty + 2,
    kMenuSeqEnOnPhase,
    kMenuSeqSetOnPhase,
    kMenuSeqEnOnPhase + 1,
    kMenuSeqSetOnPhase + 1,
    kMenuSeqEnOnPhase + 2,
    kMenuSeqSetOnPhase + 2,
    kMenuSeqEnOffPhase,
    kMenuSeqSetOffPhase,
    kMenuSeqEnOffPhase + 1,
    kMenuSeqSetOffPhase + 1,
    kMenuSeqEnOffPhase + 2,
    kMenuSeqSetOffPhase + 2,
    kMenuSeqBalanceL2,
    kMenuSeqBalanceL3,
};
inline constexpr size_t kSeqKnobOrderCount = sizeof kSeqKnobOrder / sizeof kSeqKnobOrder[0];

// Whether the field of the state (selection or edit) is shown on the current step for the current
// wiring and output kind; false for a state that is no field.
bool SeqFieldShown(uint32_t state);
// The next (delta above 0) or previous shown field from a selection state in the knob's order; 0 at either
// end and for a state that is not in the order.
uint32_t SeqKnobNeighbour(uint32_t state, int32_t delta);
// The value a state's entry loads into the edit words.
int32_t SeqFieldEntryValue(uint32_t state);
