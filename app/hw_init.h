#pragma once
// The power-stage bring-up, once per process start before any thread runs.
#include <cstdint>

int32_t HwInit();
// Loads the FPGA configuration image into the configuration device; 0, or -1 when the image is
// missing, memory is short or the image cannot be read whole.
int32_t FpgaConfigLoad();
