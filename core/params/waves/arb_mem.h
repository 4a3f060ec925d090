#pragma once
// The waveform memory: 256 slots of one period of 4096 signed samples (full scale +-32767). Slots 0-15 hold
// ARB1-ARB16, 16-18 the built-in sine, square and triangle, 19-255 ARB17-ARB253; slot = waveform number.
#include <cstdint>

inline constexpr int kArbSlots = 256;
inline constexpr int kArbSamples = 4096;

extern int16_t g_ArbMem[kArbSlots][kArbSamples];
