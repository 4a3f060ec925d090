#pragma once
// Preset save and recall between the parameter store and the preset store.
#include <cstdint>

// save 1: stores the present settings of the phases in use into preset `index` (0-9); save 0: recalls
// the phases of the preset's own phase mode, holding frequencies and current limits within what the
// present model allows (one message per group names what was limited) and every other value within its
// default limits; then the frequency and voltage limits are derived again. Returns 0, or -1 for an index
// outside 0-9 (nothing moved).
int PresetRangeCheckRun(uint32_t save, uint32_t index);
