#pragma once
#include <cstdint>

// The RS232 SCPI channel: its start-up, the supervisor's poll step and the restart request.
int32_t UartInterfaceInit();
int32_t UartPollStep();
void UartChannelRestart();

namespace scpi {
// The RS232 poll state: 0 wait for the interface to be enabled, 2 restart requested.
int32_t UartPollState();
}  // namespace scpi
