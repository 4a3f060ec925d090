#pragma once
// The stage's waveform capture: armed through register 2454, it records one period of each phase's output
// in 1024 samples into capture registers 0-2 (and the parallel system's copies 3-5), each sample one word
// with the voltage in its upper and the current in its lower signed 16 bits, counted in the stage's
// capture units, and then raises the phases' ready bits in 2092.
#include <cstdint>

#include "platform/stage/power_stage_load.h"
#include "platform/stage/register_file.h"

namespace plat {

constexpr uint32_t kCaptureSamples = kShapePoints;
constexpr uint32_t kCaptureOrders = 100;  // highest settable harmonic order

// Volts and amperes per count: the voltage by range, the current by range and the module's VA class.
double CaptureVoltScale(bool highRange);
double CaptureCurrentScale(bool highRange, uint32_t vaClass);

// One period of each phase's played waveform (its drive with the current limit applied, LimitDrives),
// voltage and current. harmonicPct[k]: a sine of order k added
// at that percentage of the played rms times the square root of 2 (k 2-100; the rms stays that of the
// played waveform), for tests of the analysis. Phases whose output is off capture zeros.
void FillCapture(RegisterFile& regs, const PhaseDrive (&drive)[3],
                 const float (&harmonicPct)[kCaptureOrders + 1], bool outputOn, bool highRange,
                 uint32_t vaClass);

}  // namespace plat
