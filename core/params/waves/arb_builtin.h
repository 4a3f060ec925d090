#pragma once
// The three built-in shapes that the bring-up puts into slots 16-18 and the factory reset of ARB1-ARB16
// starts from: sine, square and triangle, one period of 4096 samples at full scale +-32767.
#include <array>
#include <cstdint>

#include "core/params/waves/arb_mem.h"

namespace core {

using ArbShape = std::array<int16_t, kArbSamples>;

// round(32767 sin(2 pi i / 4096)).
extern const ArbShape kArbBuiltinSine;
// +32767 for the first half period, -32767 for the second.
extern const ArbShape kArbBuiltinSquare;
// 0 at i = 0, +32767 at 1024, -32767 at 3072, back toward 0; halves rounded upward.
extern const ArbShape kArbBuiltinTriangle;

}  // namespace core
