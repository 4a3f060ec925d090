#pragma once
#include <atomic>
#include <cstdint>

#include "core/system/state/stage_status.h"

// The power stage's start-up status word (register 2090, raw), as the self-test last read it.
extern std::atomic<uint32_t> g_StartupStatusWord;

// The start-up self-test: the power-stage link (loop-back) and its firmware start, then the modules and
// the phase check. A stop (plat::StopRequested) ends it within a round, with no verdict. Returns 0.
int32_t StartupScreen(int32_t x0, int32_t y0);
