#pragma once
// The square-wave duty's bounds rule of the setting rows (setting_rows.h), for the remote handler, the
// panel's field editors and the frequency change alike.
#include <cstdint>

namespace settings {

// The square-wave duty (0.1 %) by the digits it shows, which follow the frequency (0.01 Hz): one digit
// from 1000.00 Hz (10-90 % in steps of 10 %), two from 100.00 Hz (1-99 % in steps of 1 %), three below.
struct DutyBand {
    int32_t lo;
    int32_t hi;
    int32_t step;
};
inline constexpr int32_t kDutyFineDigits = 3;

constexpr int32_t DutyDigitsOfFreq(int32_t freq) {
    return freq >= 100000 ? 1 : freq >= 10000 ? 2 : kDutyFineDigits;
}

// Below 100.00 Hz the panel holds the duty to 0.1-99.9 %; a remote set keeps to the record's own limits
// there (DutyBandOfDigits is not asked).
constexpr DutyBand DutyBandOfDigits(int32_t digits) {
    return digits == 1 ? DutyBand{100, 900, 100} : digits == 2 ? DutyBand{10, 990, 10} : DutyBand{1, 999, 1};
}

static_assert(DutyBandOfDigits(DutyDigitsOfFreq(99999)).hi == 990 &&
              DutyBandOfDigits(DutyDigitsOfFreq(100000)).lo == 100 &&
              DutyDigitsOfFreq(9999) == kDutyFineDigits);

}  // namespace settings
