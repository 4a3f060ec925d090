#pragma once
// Operations of the access layer that the store's builders use.
#include <cstdint>

// Zeroes the AC and DC voltages of every waveform, both record sets, of the current mode and voltage area
// for L1-L3, with their output shadow words.
void ZeroAllVoltages();
// The peak factor of a waveform number (0 for numbers above 255).
float GetWaveCrestFactor(uint32_t waveform);

namespace core {
// Sets the peak factor of a waveform: the per-waveform table and word 11 of every AC voltage record of
// that waveform.
void ParamSetWaveFactor(uint32_t waveform, float factor);
}  // namespace core
