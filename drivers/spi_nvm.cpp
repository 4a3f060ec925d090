#include "drivers/spi_nvm.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

SpiDev g_NvSpi{};
uint8_t* g_CfgTextBuf = nullptr;

namespace {

constexpr uint8_t kCmdWriteEnable = 0x06;
constexpr uint8_t kCmdWriteDisable = 0x04;
constexpr uint8_t kCmdWrite = 0x02;
constexpr uint8_t kCmdRead = 0x03;

void Header(uint8_t* h, uint8_t command, uint32_t offset) {
    h[0] = command;
    h[1] = static_cast<uint8_t>((offset >> 16) & 1);
    h[2] = static_cast<uint8_t>(offset >> 8);
    h[3] = static_cast<uint8_t>(offset);
}

// A range that runs past the end would wrap onto the identity block at offset 0.
bool InRange(uint32_t offset, uint32_t length) {
    return offset <= kNvmSize && length <= kNvmSize - offset;
}

// Enable, write, disable. Any failing step fails the chunk: a lost data transfer must not pass because
// the disable after it went through. The disable is sent after a failed write too, so no write stays
// enabled.
bool WriteChunk(uint32_t offset, const uint8_t* data, uint32_t length) {
    uint8_t cmd = kCmdWriteEnable;
    if (SpiDevWrite(&g_NvSpi, &cmd, 1) < 0) return false;
    uint8_t h[4];
    Header(h, kCmdWrite, offset);
    bool written = SpiDevHeadedMessage(&g_NvSpi, h, 4, data, nullptr, length) >= 0;
    cmd = kCmdWriteDisable;
    bool disabled = SpiDevWrite(&g_NvSpi, &cmd, 1) >= 0;
    return written && disabled;
}

}  // namespace

int SpiNvmOpen() {
    if (g_NvSpi.fd != 0) return -1;
    g_NvSpi.mode = 0;
    g_NvSpi.speedHz = 25000000;
    g_NvSpi.delayUs = 0;
    g_NvSpi.bits = 8;
    std::snprintf(g_NvSpi.path, sizeof g_NvSpi.path, "%s", "/dev/spidev1.0");
    return SpiDevOpen(&g_NvSpi);
}

int SpiNvmInit() {
    int rc = 0;
    if (g_NvSpi.fd <= 0) rc += SpiNvmOpen();
    if (g_CfgTextBuf == nullptr) {
        g_CfgTextBuf = static_cast<uint8_t*>(std::calloc(kNvmSize, 1));
        if (g_CfgTextBuf == nullptr) rc += -1;
    }
    return rc;
}

int32_t SpiNvmWriteBuf(uint32_t offset, const void* buffer, uint32_t length) {
    if (length == 0) return 0;
    if (buffer == nullptr || !InRange(offset, length)) return -1;
    const auto* data = static_cast<const uint8_t*>(buffer);
    for (uint32_t done = 0; done < length;) {
        uint32_t n = length - done < kNvmWriteChunk ? length - done : kNvmWriteChunk;
        if (!WriteChunk(offset + done, data + done, n)) return -1;
        done += n;
    }
    return static_cast<int32_t>(length);
}

int32_t SpiNvmReadBuf(uint32_t offset, void* buffer, uint32_t length) {
    if (length == 0) return 0;
    if (buffer == nullptr || !InRange(offset, length)) return -1;
    auto* data = static_cast<uint8_t*>(buffer);
    for (uint32_t done = 0; done < length;) {
        uint32_t n = length - done < kNvmReadChunk ? length - done : kNvmReadChunk;
        uint8_t h[4];
        Header(h, kCmdRead, offset + done);
        if (SpiDevHeadedMessage(&g_NvSpi, h, 4, nullptr, data + done, n) < 0) return -1;
        done += n;
    }
    return static_cast<int32_t>(length);
}

int32_t SpiNvmWriteCfgText(uint32_t offset, uint32_t length) {
    if (length > kNvmSize) return -1;
    return SpiNvmWriteBuf(offset, g_CfgTextBuf, length);
}

int32_t SpiNvmReadCfgText(uint32_t offset, uint32_t length) {
    if (length > kNvmSize) return -1;
    return SpiNvmReadBuf(offset, g_CfgTextBuf, length);
}

int NvMemTest() {
    constexpr uint32_t kOffset = kNvmSize - 10;
    for (uint8_t first : {uint8_t{32}, uint8_t{80}}) {
        uint8_t pattern[10], back[10];
        for (int i = 0; i < 10; ++i)
            pattern[i] = static_cast<uint8_t>(first + i);
        std::memset(back, 0, sizeof back);
        if (SpiNvmWriteBuf(kOffset, pattern, 10) != 10 || SpiNvmReadBuf(kOffset, back, 10) != 10) return 1;
        if (std::memcmp(pattern, back, 10) != 0) return 1;
    }
    return 0;
}
