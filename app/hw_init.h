#pragma once
// The power-stage bring-up, once per process start before any thread runs.
#include <cstdint>

// 0, or -1 when a stop came during the start-up self-test (the waveform memory is then left as it is).
int32_t HwInit();
// Loads the FPGA configuration image into the configuration device; 0, or -1 when the image is
// missing, memory is short or the image cannot be read whole.
int32_t FpgaConfigLoad();
// The waveform memory at power-up: the built-in shapes into slots 16-18, every user wave from its file
// (or its default, written again), the "ARB Data Error" popup when the resets show damaged files, then all
// 256 tables to the power stage and the update strobe. Returns the number of waves reset.
int32_t ArbMemInit();
// The resets of a first start: every user wave above ARB16 (ARB1-ARB16 come with the root).
inline constexpr int32_t kArbUserWavesAbove16 = 237;
