#pragma once
#include <cstdint>

// The crest factor of a waveform slot: 1.414 SIN (16), 1.0 SQU (17), 1.732 TRI (18); for a stored waveform
// the crest factor it has when scaled to a full-scale peak (0.0 when its largest sample is below 1).
float WaveCrestFactor(uint32_t slot);
