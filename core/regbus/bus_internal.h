#pragma once
// Pieces shared by the transfer cores of the register bus.
#include <cstdint>

#include "core/regbus/bus_transfer.h"
#include "platform/stage/bus_byte_access.h"
#include "platform/stage/reg_map.h"

namespace regbus {

constexpr uint32_t kMaxWordIndex = 0x7FFF;  // 2i + 1 must fit the 16-bit index register

// Whether the hold flag silences a transfer with this force argument.
inline bool HoldRefuses(int force) {
    return g_BusHold.load(std::memory_order_relaxed) != 0 && force != 1;
}

// One 32-bit transfer of word `word` of `reg`; the caller holds g_RegBus.mutex.
void Write32Locked(uint32_t reg, uint32_t word, uint32_t value);
uint32_t Read32Locked(uint32_t reg, uint32_t word);
// The eight byte accesses of one 32-bit read, and the word they read.
void PutRead32(plat::BusByteAccess* bytes, uint32_t reg, uint32_t word);
uint32_t Word32Of(const plat::BusByteAccess* bytes);

// The current step word of the step registers, or -1 when it cannot be addressed.
int32_t CurrentStepWord();

}  // namespace regbus
