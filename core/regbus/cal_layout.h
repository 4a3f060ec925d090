#pragma once
// Calibration pages: one page of 256 16-bit words per phase, exchanged with the power stage at register
// regmap::kCalPage + page. Words 0-253 are data, word 254 their checksum (the 16-bit sum of words 0-253,
// which must also be nonzero); word 255 is never transferred.
#include <cstdint>

namespace regbus {

constexpr int kCalPageCount = 3;  // L1, L2, L3
constexpr int kCalPageWords = 256;
constexpr int kCalChecksumWord = 254;

constexpr bool CalPageValid(int page) {
    return page >= 0 && page < kCalPageCount;
}
constexpr bool CalWordValid(int word) {
    return word >= 0 && word < kCalPageWords;
}

}  // namespace regbus
