#pragma once
// The two byte-wide register windows of the power-stage bus. On the board they are physical memory
// mapped through /dev/mem; on this machine they lead to the simulated power stage, which sees every
// byte access in order.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/stage/bus_byte_access.h"

namespace plat {

constexpr uint32_t kBusWindowSize = 0x1000000;

// Maps both windows. Returns 0, or an errno value with its text in *error.
int MapBusWindows(std::string* error);

// The stand-in's byte-window checks are driven through these.
void BusWriteByte(BusWindow window, uint32_t offset, uint8_t value);
uint8_t BusReadByte(BusWindow window, uint32_t offset);

// The accesses one after the other, exactly as the same BusWriteByte and BusReadByte calls would make
// them. The caller serialises its transfers as it does for single bytes; the batch only saves the host's
// simulated stage a lock per byte.
void BusAccessBytes(BusByteAccess* accesses, size_t count);

}  // namespace plat
