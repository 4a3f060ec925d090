#pragma once
// Whether the AC voltage of the selected line is shown in Vpp.
#include <cstdint>

// 1 when the waveform of the selected line shows its AC voltage in Vpp.
int IsAcvUnitVpp();
