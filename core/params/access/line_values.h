#pragma once
// The line (line-to-line) settings of the panel's LINE view, kept in step with the phase settings.
#include <cstdint>

// The phase with the largest setting: kind 0 the AC voltages, kind 1 the magnitudes of the DC voltages.
// 1P2W: 0; 1P3W: 1 when L2 is strictly larger than L1, else 0; 3P4W: the largest, ties to the lower phase.
int GetLargestPhase(int kind);
// Recomputes the limits of the line record (id 50 line AC voltage, id 57 line DC voltage) from the phase
// records; other ids change nothing.
void UpdateLineValueFromPhases(uint32_t state);
// Writes a line value back to the phases: id 50 the AC voltage of every phase (value / sqrt(3) in 3P4W,
// value / 2 otherwise), id 57 the DC voltage (each phase the value in balanced 3P4W AC+DC editing of all
// phases, else the two halves of 1P3W on L1 and L2); each phase takes a copy of L1's record with the new
// value, and the line group is marked changed. Other ids change nothing.
void SetPhaseValuesFromLine(uint32_t state, int32_t value);
