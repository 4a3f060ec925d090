#pragma once
// Model families and the frames of the parallel link: 32 bits, bit 0 zero, bits 1-3 unit address (7 = all
// slaves), bits 4-15 item, bits 16-31 value. Frames leave through register 2481 and arrive in 98 + n.
#include <cstdint>

// 1 when the model type is a parallel system of 4.5 kVA units (3-6), or of 6 kVA units (7-11).
int32_t IsParallelModel4k5();
int32_t IsParallelModel6k();

// Sends one frame; the result of the register write.
int ParallelSendCmd(uint32_t address, uint32_t item, uint32_t value);

namespace core {
constexpr uint32_t kLinkAllSlaves = 7;
constexpr uint32_t LinkFrame(uint32_t address, uint32_t item, uint32_t value) {
    return ((address & 7u) << 1) | ((item & 0xFFFu) << 4) | ((value & 0xFFFFu) << 16);
}
constexpr uint32_t LinkFrameAddress(uint32_t frame) {
    return (frame >> 1) & 7u;
}
constexpr uint32_t LinkFrameItem(uint32_t frame) {
    return (frame >> 4) & 0xFFFu;
}
constexpr uint32_t LinkFrameValue(uint32_t frame) {
    return frame >> 16;
}
// The unit's own link address: bits 0-7 of the link status last read.
uint32_t LinkOwnAddress();
// 1 while the unit is the master (parallel position 1) of an active parallel system, or a slave of one.
bool ParallelActiveMaster();
bool ParallelActiveSlave();
}  // namespace core
