#pragma once
#include <atomic>
#include <cstdint>

// Remote state of the panel: bit 1 remote, bit 2 remote with lock.
extern std::atomic<uint32_t> g_RemoteState;
