#pragma once
// Keeping the AC voltage in force across a change of the AC voltage unit.
#include <cstdint>

// Mode 1, before the unit is written: takes each phase's AC voltage in force and holds it in both units
// (rms and Vpp by the waveform's peak factor). Any other mode, once the unit has changed: writes the held
// values into both record sets of each phase's present waveform, which the re-check reads, so that the set
// the new unit selects gives the same output. 1 when held values were written, 0 when none were held (a
// unit changed without a capture keeps the stored values).
int AcvUnitConvertAll(int mode);
