#pragma once
// The program ends on SIGINT or SIGTERM. The signals are blocked in every thread and taken by a
// waiting thread, so no handler runs in the middle of instrument code.
namespace plat {

// Blocks SIGINT and SIGTERM in the calling thread; threads created afterwards inherit the block.
// Call before the first thread is started.
void BlockStopSignals();

// Waits for SIGINT or SIGTERM and returns its number.
int WaitStopSignal();

}  // namespace plat
