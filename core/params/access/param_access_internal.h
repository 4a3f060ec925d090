#pragma once
// Helpers shared by the files of the parameter access layer.
#include <cstdint>

#include "core/params/param_rec.h"

namespace core {

inline constexpr int kNoShadow = -1;

// Reads the record of id for the phase; false (and an all-zero record) for a phase outside 0-2.
bool ReadPhaseRecord(uint32_t id, int phase, ParamRec* rec);
// One word of the phase's record (0 for a phase outside 0-2).
int32_t PhaseValue(uint32_t id, int phase);
int32_t PhaseMax(uint32_t id, int phase);
int32_t PhaseMin(uint32_t id, int phase);
// Stores value when it lies within the record's limits and posts value + 1 into the phase's shadow word
// (none for kNoShadow); returns the record's value after the call.
int32_t SetWithinLimits(uint32_t id, int32_t value, int phase, int shadowWord);

inline bool ValidPhase(int phase) {
    return phase >= 0 && phase <= 2;
}

}  // namespace core
