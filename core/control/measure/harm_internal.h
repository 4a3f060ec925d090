#pragma once
// The harmonic task's working state, shared by its files; only the menu/control thread touches it.
#include <cstdint>

#include "core/control/measure/harm_sizes.h"

namespace harm {

struct Work {
    uint32_t state = 0;
    uint32_t captureMask = 0;  // bits 0-2: L1-L3
    uint32_t sampleCounter = 0;
    int32_t samples[3][kHarmSamples] = {};
    int32_t bins[3][kHarmBins][2] = {};
    // The phase's tables hold zeros since ClearTables: the idle task need not zero them on every pass.
    bool cleared[3] = {};
};
extern Work g_Work;

// The FFT configuration, made once; false when it cannot be made.
bool FftReady();
// Zeroes the phase's four tables and marks both kinds invalid.
void ClearTables(int phase);

}  // namespace harm
