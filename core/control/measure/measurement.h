#pragma once
#include <atomic>
#include <cstdint>

// Measurement acquisition: the display-pacing tick (timer thread) and the measurement service (one
// call per pass of the menu/control thread's periodic services). The records are in meas_records.h.
void MeasUpdateRate_Tick();
void Meas_Service();

// Display pacing: index 0-8 of the update-rate choices "Fast|0.1s|0.25s|0.5s|1s|2s|5s|10s|20s"; any other
// index is Fast.
void MeasUpdateRate_Set(int32_t index);

// Bit 0: a refresh of the measurement display is due (raised by the pacing tick, cleared by the screens).
extern std::atomic<uint32_t> g_MeasRefreshFlags;
inline constexpr uint32_t kMeasRefreshDue = 1u << 0;

namespace core {
// Pacing back to Fast and no refresh due (tests).
// Part of MeasurementReset, the tests' clean start.
void MeasUpdateRateReset();
}  // namespace core
