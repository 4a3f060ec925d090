#pragma once
// The phase argument of the per-phase register writers: a type of its own, so that a call that gives the
// value and the phase in each other's places does not compile. Phases are 0-2 (L1-L3).
#include <cstdint>

namespace regbus {

struct Phase {
    constexpr explicit Phase(int i) : index(i) {}
    constexpr explicit Phase(uint32_t i) : index(static_cast<int>(i)) {}
    int index;
};

}  // namespace regbus
