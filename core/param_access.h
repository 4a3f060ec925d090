#pragma once
// The parameter access layer: named getters and setters of the output settings, on the parameter store.
//
// So far only those that the register bus and the store's own build need. A setter stores a value only
// within the limits of the setting's record and then posts value + 1 into its output shadow word.
#include <cstdint>

// Output mode 0-9 (AC+DC-INT ... AC-VCA), kept in g_OutputModeIdx.
uint32_t GetOutputMode();
uint32_t SetOutputMode(uint32_t mode);

// Synchronisation phase, 0.1 degree (parameter 89).
int32_t GetSyncPhase();
int32_t SetSyncPhase(int32_t value);

// External signal selection of L1 (parameter 81); 3 takes the frequency from the synchronisation input.
int32_t GetMainSig();
int32_t SetMainSig(int32_t value, int phase);

// Entry w of the per-waveform factor table (the float table the power stage keeps at register 104); 0 for
// a number outside 0-255.
float GetWaveCrestFactor(int waveform);

// Zeroes the AC and DC voltages of every waveform, both record sets, of the current mode and voltage area
// for L1-L3, with their output shadow words.
void ZeroAllVoltages();

namespace core {
// Sets the peak factor of a waveform: the per-waveform table and word 11 of every AC voltage record of
// that waveform.
void ParamSetWaveFactor(uint32_t waveform, float factor);
}  // namespace core
