#include "scpi/channels/uart_channel.h"

#include <atomic>

namespace {
std::atomic<int32_t> g_uartPollState{0};
}

int32_t UartInterfaceInit() {
    // The RS232 port layer does not exist yet, so the channel cannot be opened and stays inactive
    // (the RS232-active running word stays 0).
    return 0;
}

int32_t UartPollStep() {
    return 0;
}

void UartChannelRestart() {
    g_uartPollState.store(2);
}

namespace scpi {
int32_t UartPollState() {
    return g_uartPollState.load();
}
}  // namespace scpi
