#pragma once
// The fields of a SIMULATE state as the panel selects and edits them: per field its selection and edit
// states, how many phases it has, the engine getter that loads it, and which redraw request its entries
// raise. The table is the one place that ties a menu state to its field.
#include <cstdint>

#include "core/system/state/menu_state_ids.h"

enum class SimField : uint8_t {
    kStep,
    kTime,
    kSyncCode,
    kEnRepeat,
    kRepeat,
    kWave,
    kAcv,
    kFreq,
    kEnOnpha,
    kOnpha,
    kEnOffpha,
    kOffpha,
    kBalanceL2,
    kBalanceL3,
};

struct SimFieldRow {
    SimField field;
    uint32_t select;  // selection state of L1 (or of the field)
    uint32_t edit;    // edit state of L1 (or of the field)
    uint8_t phases;   // 1, or 3 for a triple
    int32_t (*load)(int phase);
    uint8_t editRedraw;  // the redraw request word (0 or 1) the edit entry raises; selection entries raise 1
    bool exitReloads;    // 'T' in the selection state enters it again, loading the value afresh
};

inline constexpr uint32_t kSimFieldCount = 14;
extern const SimFieldRow g_SimFields[kSimFieldCount];

// The row of a field.
const SimFieldRow& SimFieldOf(SimField field);
// The row whose selection or edit states hold the state, and the phase the state stands for; null for a
// state that is neither.
const SimFieldRow* SimFieldOfState(uint32_t state, int* phase);
// True for a selection state (440-464, 466 without 465), false for an edit state or any other.
bool SimIsSelectState(uint32_t state);
