#pragma once
// Moving one phase's settings between the parameter store and a preset record (the preset store's own
// users: saving, resetting and recalling presets).
#include <cstdint>

namespace presets {

// What a recall had to limit: per group the first and the second quantity's name, nullptr when none.
struct LimitNames {
    const char* first = nullptr;
    const char* second = nullptr;
};
struct RecallLimits {
    LimitNames freq;  // "Freq", "Freq Limit_Hi"
    LimitNames curr;  // "IRMS", "IPK"
};

}  // namespace presets

// One phase in one direction. save 1: fills record (index, phase) from the present settings of the
// phase; save 0: copies the record into the phase, holding each value within what the present model
// allows and naming in *limits what had to be limited. index and phase are in range.
void PresetPhaseTransfer(uint32_t save, uint32_t index, uint32_t phase, presets::RecallLimits* limits);
