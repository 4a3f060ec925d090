#pragma once
// The program ends on SIGINT or SIGTERM. The signals are blocked in every thread and taken by a
// waiting thread, so no handler runs in the middle of instrument code.
#include <cstdint>

namespace plat {

// Blocks SIGINT and SIGTERM (and the waiter's own end, SIGUSR2) in the calling thread; threads created
// afterwards inherit the block. Call before the first thread is started.
void BlockStopSignals();

// Starts the thread that takes SIGINT and SIGTERM and makes each a stop (RequestStop).
void StopWaiterStart();
// Ends that thread, waiting at most ms for it. From then on a stop signal stays blocked and pending, as
// it does across an exec, and a stop the waiter took before is in StopRequested. False when it did not end.
bool StopWaiterEnd(uint32_t ms);

// The stop, once a signal was taken: the start-up and the supervisor watch it. The first signal's
// number is kept; a later one changes nothing. RequestStop also ends every StopWaitMs under way.
void RequestStop(int signal);
bool StopRequested();
int StopSignalNumber();  // 0 before a stop
// Sleeps ms of instrument time, or until a stop comes. True when a stop ended (or came before) it.
bool StopWaitMs(uint32_t ms);
// A reboot of the unit, asked once its save has run: the supervisor loop ends as for a stop, and the
// program starts again instead of ending (ReExecSelf). A stop that comes as well wins.
void RequestRestart();
bool RestartRequested();
// Forgets the stop and the restart (tests).
// Tests start each case from a clean state through it.
void StopReset();

}  // namespace plat
