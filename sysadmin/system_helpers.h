#pragma once
// Small system services: the external web server, the key beep.
#include <atomic>
#include <cstdint>

// Stops the external web-server process: 0 when it is gone afterwards, -1 when none ran or it still runs.
int32_t WebServerStop();

// Beep state: a request sounds the speaker from one service step to the next.
void BeepRequest();
// The 20 ms beep step.
void BeepService();

namespace sysadmin {
// Bits 1 (sounding) and 2 (pending) of the beep flag byte.
extern std::atomic<uint8_t> g_BeepFlags;
}  // namespace sysadmin
