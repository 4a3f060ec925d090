#include "core/system/util/num_util.h"

#include <algorithm>
#include <limits>

namespace {

int64_t DigitStep(int32_t digit, int32_t delta) {
    if (digit < 0 || digit > 9) return 0;
    return static_cast<int64_t>(delta) * core::kPowerTable[digit];
}

int32_t SaturateToI32(int64_t v) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

}  // namespace

int32_t EditValueStep(int32_t value, int32_t digit, int32_t delta, int32_t max, int32_t min) {
    int64_t v = value + DigitStep(digit, delta);
    if (v > max) v = max;
    if (v < min) v = min;
    return SaturateToI32(v);
}

int32_t SelectIfPositive(int32_t n, int32_t a, int32_t b) {
    return n >= 1 ? a : b;
}

int32_t WrapIndex(int32_t index, int32_t delta, int32_t n) {
    if (n == -1 || n == 0) return 0;
    // The remainder keeps the sign of the dividend, as the list code expects.
    int64_t r = (static_cast<int64_t>(index) + delta) % n;
    // n - 1 in 64 bits: no overflow for the most negative n (no list has that size; it only must not trap).
    if (r < 0) return static_cast<int32_t>(static_cast<int64_t>(n) - 1);
    return static_cast<int32_t>(r);
}
