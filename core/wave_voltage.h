#pragma once
// Keeping the voltage records of the waveforms consistent with the voltage in force.

// Takes the voltage of each phase's present waveform again after a waveform table or the AC voltage
// unit changed, limited to what that waveform allows.
void WaveVoltageRecheck();
