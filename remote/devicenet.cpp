#include "remote/devicenet.h"

DnetState g_DnetState{};

void DnetPollTimerArm() {
    uint16_t rate = g_DnetState.pollRate.load(std::memory_order_relaxed);
    if (rate != 0) {
        g_DnetState.pollCountdown.store(rate, std::memory_order_relaxed);
        g_DnetState.flags.fetch_or(kDnetFlagPollArmed, std::memory_order_relaxed);
    } else {
        g_DnetState.flags.fetch_and(static_cast<uint8_t>(~kDnetFlagPollArmed), std::memory_order_relaxed);
    }
}

// The DeviceNet slave runs only on a CAN card, which this machine does not have: nothing is sent.
void DnetPollSend() {}
void DnetStartupStep() {}
