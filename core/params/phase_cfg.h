#pragma once
// 1 while the phase configuration is being changed: the SCPI channels stop parsing meanwhile.
#include <atomic>
#include <cstdint>

extern std::atomic<uint32_t> g_PhaseCfgChanging;
