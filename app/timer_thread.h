#pragma once
// The timer thread: a 2 ms tick that drives the 4 ms, 20 ms, 40 ms, 200 ms, 400 ms and 2 s steps of
// the background state objects.
#include <atomic>
#include <cstdint>

void* TimerThread(void* arg);
// One 2 ms pass (without its sleep).
void TimerThread_Pass();

// Returns 1 and closes the start-up window when it is still open, else 0: the shifted ']' key works as
// a factory-default key only within about the first 4 s, and only once.
int32_t CheckOnceFlag();

namespace core {
// The start-up window word: 10 at start, counted down by the 400 ms step while positive.
extern std::atomic<int32_t> g_StartupWindow;
// Puts the pass counters and the start-up window back to their state at process start (tests).
// Tests start each case from a clean state through it.
void TimerReset();
}  // namespace core
