#pragma once
// Number helpers shared by the value editors of the front panel: digit-wise stepping of a value between
// limits and the wrapping of list and cursor indices.
#include <cstdint>

namespace core {
// Powers of ten by digit position 0..9.
inline constexpr int32_t kPowerTable[10] = {1,      10,      100,      1000,      10000,
                                            100000, 1000000, 10000000, 100000000, 1000000000};
}  // namespace core

// value + delta x 10^digit, limited to max and after that raised to min (min wins when max < min).
// A digit outside 0..9 steps by nothing. Computed in 64 bits, so no step can wrap around.
int32_t EditValueStep(int32_t value, int32_t digit, int32_t delta, int32_t max, int32_t min);
// a when n >= 1, else b.
int32_t SelectIfPositive(int32_t n, int32_t a, int32_t b);
// (index + delta) mod n; any step below 0 lands on the last entry (n - 1). 0 for n = -1 and for n = 0.
int32_t WrapIndex(int32_t index, int32_t delta, int32_t n);
