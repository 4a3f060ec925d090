#pragma once
// Preset save and recall between the parameter store and the preset store.
#include <cstdint>

// save 1: stores the present settings into preset `index` (0-9); save 0: recalls the preset, holding every
// value within the present limits. Returns 0, or -1 when nothing was moved.
int PresetRangeCheckRun(uint32_t save, uint32_t index);
