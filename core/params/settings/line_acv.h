#pragma once
// The line AC voltage and the phase AC voltage it is made of: x sqrt 3 in 3P4W, x 2 in the split-phase
// wiring. The line record's maximum, the line value shown and written, and the line value put back to the
// phases all convert here.
#include <cstdint>
#include <limits>

namespace settings {

inline constexpr double kSqrt3 = 1.7320508075688772;

// A phase value (or maximum) as the line value, rounded to the nearest step and held to the i32 range.
constexpr int32_t LineAcvOfPhase(int32_t phase, bool threePhase) {
    const double line = threePhase ? static_cast<double>(phase) * kSqrt3 + 0.5 : static_cast<double>(phase) * 2.0;
    if (line >= static_cast<double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    if (line <= static_cast<double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(line);
}

// A line value as each phase's value: / sqrt 3 rounded in 3P4W, halved otherwise.
constexpr int32_t PhaseAcvOfLine(int32_t line, bool threePhase) {
    return threePhase ? static_cast<int32_t>(line / kSqrt3 + 0.5) : line / 2;
}

static_assert(LineAcvOfPhase(10000, true) == 17321 && LineAcvOfPhase(10000, false) == 20000 &&
              PhaseAcvOfLine(17321, true) == 10000 && PhaseAcvOfLine(20001, false) == 10000);

}  // namespace settings
