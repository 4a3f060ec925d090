#pragma once
// The phase angles' bounds (ON/OFF phase, synchronisation phase, balance angles, the SEQUENCE and SIMULATE
// angles), for every holder alike. Angles are kept in tenths of a degree.
#include <cstdint>

namespace settings {

inline constexpr int32_t kAngleMax = 3599;              // 359.9 degrees: the largest angle in tenths
inline constexpr int32_t kAngleMaxWholeDegrees = 3590;  // 359 degrees: the largest in whole degrees
inline constexpr int32_t kAngleTurn = 3600;             // a full turn, where an angle wraps to 0

// Above 500.00 Hz (frequencies in 0.01 Hz) the ON/OFF angles are set in whole degrees.
inline constexpr int32_t kFineAngleFreqTop = 50000;

constexpr bool WholeDegreeAngles(int32_t freq) {
    return freq > kFineAngleFreqTop;
}
// The largest ON/OFF angle at a frequency.
constexpr int32_t AngleMaxAtFreq(int32_t freq) {
    return WholeDegreeAngles(freq) ? kAngleMaxWholeDegrees : kAngleMax;
}
// The largest angle of a record by the decimals its frequency gave it (0: whole degrees).
constexpr int32_t AngleMaxOfDecimals(int32_t decimals) {
    return decimals == 0 ? kAngleMaxWholeDegrees : kAngleMax;
}

static_assert(AngleMaxAtFreq(50000) == 3599 && AngleMaxAtFreq(50001) == 3590 && kAngleMax == kAngleTurn - 1);

}  // namespace settings
