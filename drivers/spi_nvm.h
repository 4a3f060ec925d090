#pragma once
// The 128 KB serial non-volatile memory on "/dev/spidev1.0": byte writes anywhere (no pages, no erase),
// 17-bit addresses. Callers keep one command sequence from meeting another's.
#include <cstdint>

#include "drivers/spi_device.h"

constexpr uint32_t kNvmSize = 131072;
constexpr uint32_t kNvmWriteChunk = 2048;
constexpr uint32_t kNvmReadChunk = 128;

extern SpiDev g_NvSpi;
// The configuration text's working buffer (kNvmSize bytes), allocated by SpiNvmInit.
extern uint8_t* g_CfgTextBuf;

// Opens g_NvSpi; -1 without doing anything when the record already holds a descriptor.
int SpiNvmOpen();
// Opens the memory and allocates the working buffer: 0, or the sum of the two steps' negative results.
// Once both are done a repeated call returns 0.
int SpiNvmInit();
// Chunked transfers between a buffer and the memory. 0 for a length of 0 (nothing touched), the length
// when every chunk went through, -1 when a range beyond the memory is asked for (nothing touched) or a
// chunk fails (the chunks before it are in place).
int32_t SpiNvmWriteBuf(uint32_t offset, const void* buffer, uint32_t length);
int32_t SpiNvmReadBuf(uint32_t offset, void* buffer, uint32_t length);
// The same with g_CfgTextBuf (from its start) as the buffer.
int32_t SpiNvmWriteCfgText(uint32_t offset, uint32_t length);
int32_t SpiNvmReadCfgText(uint32_t offset, uint32_t length);
// Writes two patterns into the memory's last ten bytes and reads them back: 0 when both match, else 1.
int NvMemTest();
