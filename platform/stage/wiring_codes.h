#pragma once
// The wiring codes: the value of the stage's wiring register (regmap::kPhaseMode), of the wiring
// setting and of the wiring byte of stored settings, SEQ/SIM files and presets. The numbers never change.
#include <cstdint>

inline constexpr uint32_t kWiring3P4W = 0;  // three phases, four wires
inline constexpr uint32_t kWiring1P2W = 1;  // one output fed by the three modules
inline constexpr uint32_t kWiring1P3W = 2;  // L1 and L2 in opposition, L3 idle
inline constexpr uint32_t kWirings = 3;

// The output phases of a wiring (its L1..Ln); 0 for a code that is none.
constexpr uint32_t PhasesOfWiring(uint32_t wiring) {
    constexpr uint32_t kPhases[kWirings] = {3, 1, 2};
    return wiring < kWirings ? kPhases[wiring] : 0;
}
