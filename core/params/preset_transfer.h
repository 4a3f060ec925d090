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

// Fills record (n, p) from the present settings of phase p, or with `defaults` from their default
// values. n and p are in range.
void PhaseStore(uint32_t n, uint32_t p, bool defaults);
// Copies record (n, p) into phase p, holding each value within what the present model allows and naming
// in *limits what had to be limited. n and p are in range.
void PhaseRecall(uint32_t n, uint32_t p, RecallLimits* limits);

}  // namespace presets
