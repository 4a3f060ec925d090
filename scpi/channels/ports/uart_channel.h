#pragma once
#include <termios.h>

#include <atomic>
#include <cstdint>

#include "scpi/channels/remote_port.h"

// The RS232 SCPI channel: its start-up, the supervisor's poll step and the restart request.
int32_t UartInterfaceInit();
// One step of the channel; it never sleeps (its pauses are deadlines against the platform clock), so
// the supervisor loop that calls it is never held up.
int32_t UartPollStep();
void UartChannelRestart();

// The RS232 poll state: 0 wait for the interface to be enabled, 1 start, 2 restart requested, 3 running.
// Set by the restart request on other threads.
extern std::atomic<int32_t> g_UartPollState;

namespace scpi {
// Tests read the serial port's poll state and port through these.
int32_t UartPollState();

// The terminal settings the RS232 port opens with, built from the five RS232 setting bytes; a code out
// of range takes that field's default (9600 baud, 8 bits, no parity, 1 stop bit), said once per field.
void UartBuildTermios(termios* t);
// The RS232 channel's port (its terminal settings in use, its descriptor).
const RemotePort* UartPort();
}  // namespace scpi
