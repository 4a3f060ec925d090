#pragma once
#include <atomic>
#include <cstdint>

// The DeviceNet words the timer thread counts: the flag byte (bit 0 time-out, bit 4 the 400 ms tick,
// bit 6 poll timer armed), the established-state word, the 2 ms connection countdown, the poll
// countdown and its rate, and the start-up sequence's active byte.
struct DnetState {
    std::atomic<uint8_t> flags;
    std::atomic<uint16_t> established;
    std::atomic<uint32_t> connCountdown;
    std::atomic<uint16_t> pollCountdown;
    std::atomic<uint16_t> pollRate;  // expected packet rate; 0 = no polling
    std::atomic<uint8_t> startupActive;
};
extern DnetState g_DnetState;

constexpr uint8_t kDnetFlagTimeout = 1u << 0;
constexpr uint8_t kDnetFlag400ms = 1u << 4;
constexpr uint8_t kDnetFlagPollArmed = 1u << 6;

void DnetPollTimerArm();
void DnetPollSend();
void DnetStartupStep();
