#pragma once
// A byte access of the power-stage bus: which of the two byte-wide windows, where, and the byte. The
// controller's side of the bus (bus_window.h) and the simulated stage behind it on this machine both
// speak in these.
#include <cstdint>

namespace plat {

enum BusWindow : int { kLowByteWindow = 0, kHighByteWindow = 1 };

// One byte access of a batch; a read leaves the byte it read in `value`.
struct BusByteAccess {
    BusWindow window = kLowByteWindow;
    bool write = false;
    uint32_t offset = 0;
    uint8_t value = 0;
};

}  // namespace plat
