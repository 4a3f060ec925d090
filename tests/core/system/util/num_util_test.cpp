#include "core/system/util/num_util.h"

#include <gtest/gtest.h>

#include <climits>

TEST(NumUtil, EditValueStepLimits) {
    // {value, digit, delta, max, min, result}
    const int32_t cases[][6] = {
        {95, 1, 1, 100, 0, 100},
        {5, 0, -10, 100, 0, 0},
        {50, 0, 1, 10, 20, 20},  // max below min: min wins
        {1234, 2, 3, 9999, 0, 1534},
        {0, 9, 1, INT_MAX, INT_MIN, 1000000000},
        // Steps that leave the 32-bit range are limited, not wrapped.
        {2147483000, 3, 1, INT_MAX, 0, INT_MAX},
        {-2147483000, 3, -1, 100, INT_MIN, INT_MIN},
        {0, 9, 3, INT_MAX, INT_MIN, INT_MAX},
        {0, 9, INT_MAX, INT_MAX, INT_MIN, INT_MAX},
        // A digit outside 0..9 steps by nothing; the value is still limited.
        {50, 10, 1, 100, 0, 50},
        {150, -1, 1, 100, 0, 100},
    };
    for (const auto& [value, digit, delta, max, min, result] : cases)
        EXPECT_EQ(EditValueStep(value, digit, delta, max, min), result)
            << value << " " << digit << " " << delta;
}

TEST(NumUtil, WrapIndex) {
    // {index, delta, n, result}
    const int32_t cases[][4] = {
        {0, -3, 5, 4},
        {4, 1, 5, 0},
        {2, 1, -1, 0},
        {1, 1, 5, 2},
        {3, 7, 5, 0},
        {2, -9, 5, 4},              // every step below 0 lands on the last entry
        {3, 1, 0, 0},               // an empty list has only index 0
        {INT_MAX, 1, 5, 3},         // no overflow of index + delta
        {-1, 0, INT_MIN, INT_MAX},  // nor of n - 1 (wraps, does not trap)
    };
    for (const auto& [index, delta, n, result] : cases)
        EXPECT_EQ(WrapIndex(index, delta, n), result) << index << " " << delta << " " << n;
}
