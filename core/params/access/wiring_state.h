#pragma once
// The output's wiring and the edit-all-phases mode: the words that the setters of the access layer and
// the limit checks both read.
#include <atomic>
#include <cstdint>

// Wiring: 0 3P4W, 1 1P2W, 2 1P3W.
extern std::atomic<uint32_t> g_PhaseMode;
// 1: an edited setting applies to all phases together.
extern std::atomic<uint8_t> g_EditAllPhases;

namespace core {
// The last phase the wiring uses: 3P4W 2, 1P2W 0, 1P3W 1.
int LastPhaseOfWiring(uint32_t phaseMode);
}  // namespace core
