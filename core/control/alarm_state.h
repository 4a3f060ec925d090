#pragma once
// The alarm words of the power stage as the alarm monitor keeps them, and its flag byte.
#include <atomic>
#include <cstdint>

struct AlarmState {
    std::atomic<uint32_t> summary{0};  // OR of the three phase alarm words
    std::atomic<uint32_t> phase[3]{};  // registers 2086-2088
    std::atomic<uint32_t> system{0};   // register 2091, the second alarm word
    std::atomic<uint8_t> flags{0};     // bit 0 monitor on, bit 5 alarm beep sounding, bit 6 acknowledged
};
extern AlarmState g_AlarmState;

namespace core {
// No alarm, monitor off, as at start (tests).
void AlarmStateReset();
}  // namespace core

constexpr uint8_t kAlarmFlagBeepSounding = 1u << 5;
