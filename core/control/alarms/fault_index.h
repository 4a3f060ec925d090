#pragma once
// The fault index of the power stage, which in a parallel system comes from the slaves' words.
#include <cstdint>

// The lowest clear bit (0-19) of the fault word, 0 when all twenty are set. The fault word is register
// 2090, or in a parallel system the word of the last slave whose start-up error is flagged (which also
// sets the link's fault bit in g_SysStatus).
int BusReg_GetFaultIndex();

namespace regbus {
// Number of the lowest clear bit among bits 0-19 of `word`, 0 when all twenty are set.
int LowestClearFaultBit(uint32_t word);
}  // namespace regbus
