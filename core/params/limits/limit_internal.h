#pragma once
// Helpers shared by the files of the setting limit checks.
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/params/param_ranges.h"
#include "core/params/param_rec.h"

namespace limits {

// Truncation toward zero, saturated to the 32-bit range (a non-number gives 0).
inline int32_t Trunc(double v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (v <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

// The edit applies to all phases together.
bool AllPhases();
// The phase that the panel edits.
uint32_t SelectedPhase();
// The last phase of the wiring: 3P4W 2, 1P2W 0, 1P3W 1.
uint32_t LastPhase();

// Of three limit values the one that binds: the smallest upper limit (want 0) or the largest lower limit
// (want 1); on ties the lower phase.
uint32_t BindingPhase(const int32_t values[3], int want);
inline constexpr int kSmallest = 0;
inline constexpr int kLargest = 1;

// A voltage-class record in the store, addressed as the explicit accessor does (ids 47 AC voltage, 51 DC
// voltage, 8 voltage limit, 10 and 11 peak voltage limits); DC-INT keeps its voltages under waveform 0 and
// its DC voltage in the rms set. Caller holds g_ParamLock.
ParamRec* VoltRec(uint32_t id, uint32_t mode, uint32_t area, uint32_t waveform, uint32_t set, uint32_t phase);

// Peak half-width of an AC setting: half of it in the Vpp set, times the waveform's peak factor in the rms
// set.
inline double PeakHalfWidth(int32_t acv, const ParamRec& acvRec, uint32_t set) {
    return set == 1 ? acv * 0.5 : acv * static_cast<double>(acvRec.peakFactor);
}
// The divisor that turns a peak half-width back into an AC setting; not positive when the waveform has no
// peak factor.
inline double PeakDivisor(const ParamRec& acvRec, uint32_t set) {
    return set == 1 ? 0.5 : static_cast<double>(acvRec.peakFactor);
}

// Inner forms of the public checks; caller holds g_ParamLock.
void AcvLimitClampWaveLocked(uint32_t area, uint32_t phase, uint32_t mode, uint32_t waveform, uint32_t set);
void VpkLimitClampWaveLocked(uint32_t area, uint32_t phase, uint32_t mode, uint32_t waveform);

}  // namespace limits
