#pragma once
// The supervisor loop of the main thread: RS232 polling, LAN restarts, starting and stopping the
// remote-interface threads, pending screen copies and the system state object.
#include <atomic>
#include <cstdint>

// One pass of the supervisor loop, its waits included.
void SupervisorPass();
// Runs passes until a stop (plat::StopRequested: the host's way to end the process on SIGINT or SIGTERM)
// or a reboot (plat::RestartRequested, once the reboot's save has run).
void SupervisorLoop();
// After the loop: the save of a restart, run by the menu thread as a power-off's would be, the
// supervisor's passes going on meanwhile. False when it was not done within timeoutMs.
bool SupervisorStopSave(uint32_t timeoutMs);

// The process's start-up, in order, up to the supervisor loop. False when a stop came before the threads
// were started (nothing to save then).
bool SystemStartup();

namespace core {
// The idle delay of a pass while the system object or the RS232 polling has work.
constexpr unsigned kSupervisorIdleUs = 1000;
// The longest rest after a pass with nothing to do; a system event ends it early.
constexpr unsigned kSupervisorRestUs = 10000;
}  // namespace core
