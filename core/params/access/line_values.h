#pragma once
// The line (line-to-line) settings of the panel's LINE view, kept in step with the phase settings.
#include <cstdint>

// The phase with the largest setting: kind 0 the AC voltages, kind 1 the magnitudes of the DC voltages.
// 1P2W: 0; 1P3W: 1 when L2 is strictly larger than L1, else 0; 3P4W: the largest, ties to the lower phase.
int GetLargestPhase(int kind);
// Recomputes the limits of the line record (id 50 line AC voltage, id 57 line DC voltage) from the phase
// records; other ids change nothing.
void UpdateLineValueFromPhases(uint32_t state);
