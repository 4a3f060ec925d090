#pragma once
// The alarm words of the power stage as the alarm monitor keeps them, the copies of the slaves' words
// that a parallel master receives, the monitor's flag byte, and the message hold and clear countdown
// that the alarm object and its monitor pass share.
#include <atomic>
#include <cstdint>

struct AlarmSlaveCopy {
    std::atomic<uint32_t> phase[3]{};  // the slave's phase alarm words (link items 3-8)
    std::atomic<uint32_t> system{0};   // the slave's system alarm word (items 9 and 10)
};

struct AlarmState {
    std::atomic<uint32_t> summary{0};  // OR of the three phase alarm words
    std::atomic<uint32_t> phase[3]{};  // registers 2086-2088
    std::atomic<uint32_t> system{0};   // register 2091, the second alarm word; bit 21: slave copies present
    std::atomic<uint8_t> flags{0};     // bit 0 monitor on, bit 5 alarm beep sounding, bit 6 acknowledged
    AlarmSlaveCopy slave[6];           // index 1-5 = slaves; 0 unused
    std::atomic<uint32_t> outputStatus{0};   // mirror of register 2085
    std::atomic<uint32_t> backupRequest{0};  // 1: the monitor saves every setting to non-volatile memory
};
extern AlarmState g_AlarmState;

namespace core {
// No alarm, monitor off, as at start (tests).
// Tests start each case from a clean state through it.
void AlarmStateReset();
// Nonzero when any slave copy holds an alarm.
bool SlaveAlarmPresent();
}  // namespace core

constexpr uint8_t kAlarmFlagMonitorOn = 1u << 0;
constexpr uint8_t kAlarmFlagBeepSounding = 1u << 5;
constexpr uint8_t kAlarmFlagBeepAcked = 1u << 6;

// Message hold: 0 lets error messages be shown; counted down by the 400 ms step of the timer thread.
extern std::atomic<uint32_t> g_AlarmMsgHold;

namespace core {
// Clear countdown: bit 15 running, bits 0-14 the monitor passes left until the alarm words are zeroed.
extern std::atomic<uint32_t> g_AlarmClearCountdown;
constexpr uint32_t kAlarmClearStart = 0x8000u | 60u;
}  // namespace core

// Stops the alarm beep when it sounds; the monitor and the panel's keys both ask.
void AlarmBeepStop();
