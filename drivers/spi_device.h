#pragma once
// A thin layer over the kernel's spidev interface: one record per SPI device, an open that applies the
// record's mode, word size and clock, and two message operations (write-only and full-duplex).
#include <cstdint>

struct SpiDev {
    int32_t fd;     // 0 = not open; a failed open leaves -1 here
    uint32_t mode;  // only the low byte reaches the kernel
    uint32_t speedHz;
    uint16_t delayUs;
    uint8_t bits;
    char path[16];
};

extern SpiDev g_PanelLink;

int SpiDevOpen(SpiDev* dev);
int32_t SpiDevWrite(SpiDev* dev, const void* buffer, uint32_t length);
int32_t SpiDevTransfer(SpiDev* dev, void* buffer, uint32_t length);
// One message of two transfers: a header sent, then `length` data bytes sent from `tx` and/or received
// into `rx` (either may be null). Returns the kernel's result.
int32_t SpiDevHeadedMessage(SpiDev* dev, const void* header, uint32_t headerLength, const void* tx, void* rx,
                            uint32_t length);
// Tests close the devices they opened through it.
void SpiDevClose(SpiDev* dev);

// The panel link's opener and its fixed wrappers.
int SpiPanelOpen();
int32_t SpiPanelWrite4(const void* buffer);
int32_t SpiPanelTransfer(void* buffer, uint32_t length);
