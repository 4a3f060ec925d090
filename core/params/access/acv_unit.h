#pragma once
// The AC voltage in Vpp units: whether a line shows it so, and the peak-to-peak ceiling that the panel and
// the control task hold it to.
#include <cstdint>

// 1 when the waveform of the selected line shows its AC voltage in Vpp.
int IsAcvUnitVpp();
// 1 when the AC voltage unit is Vpp and the phase's waveform is neither SIN nor SQU.
int IsAcvUnitVppOfPhase(int phase);
// The largest AC voltage in Vpp units (0.01 V) for the phase's waveform: 175.00 Vrms in the 100 V range,
// 350.00 Vrms otherwise, as peak-to-peak by the waveform's peak factor (0 for a phase out of 0-2).
int32_t AcvPhaseCeilingVpp(int phase);
// The same as the panel edits it: in the line AC voltage edit state (50) the line value of that (x sqrt 3
// in 3P4W, x 2 in 1P3W).
int32_t GetAcvMaxVppOfPhase(int phase);
// 1 when the value is above the Vpp ceiling and the AC voltage is shown in Vpp.
int IsAcvOverVppLimitOfPhase(int32_t value, int phase);
// 1 when the value is above the phase's rms voltage limit and the AC voltage is not shown in Vpp.
int AcvExceedsMax(int32_t v, int phase);
