#pragma once
#include <atomic>
#include <cstdint>

// 1 after any failed start-up test (read by the alarm handling).
extern std::atomic<uint32_t> g_StartupFailed;
// The power stage's start-up status word (register 2090, raw), as the self-test last read it.
extern std::atomic<uint32_t> g_StartupStatusWord;

// The start-up self-test: the power-stage link (loop-back) and its firmware start, then the modules and
// the phase check. A stop (plat::StopRequested) ends it within a round, with no verdict. Returns 0.
int32_t StartupScreen(int32_t x0, int32_t y0);
