#include "core/wave_voltage.h"

// The re-derivation comes with the line values and the waveform spread; until then every phase keeps the
// voltage record it has, which the setters already hold within its limits.
void WaveVoltageRecheck() {}
