#pragma once
// The built-in waveforms by number, in the two numberings the instrument uses. The waveform number counts
// the shapes from 0 (0-15 ARB1-ARB16, 16 SIN, 17 SQU, 18 TRI, 19-255 ARB17-ARB253): the parameter store's
// per-waveform records, the waveform setting and the waveform memory's slots. The wave code counts them
// from 1 (the number + 1): the stage's waveform register and the waveform of SEQ and SIM steps.
#include <cstdint>

inline constexpr uint32_t kWaveSin = 16;
inline constexpr uint32_t kWaveSqu = 17;
inline constexpr uint32_t kWaveTri = 18;

inline constexpr int kWaveCodeSin = 17;
inline constexpr int kWaveCodeSqu = 18;
inline constexpr int kWaveCodeTri = 19;
