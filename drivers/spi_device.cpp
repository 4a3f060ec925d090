#include "drivers/spi_device.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/devices/spi.h"

SpiDev g_PanelLink{};

namespace {

spi_ioc_transfer MakeTransfer(const SpiDev* dev, const void* tx, void* rx, uint32_t length) {
    spi_ioc_transfer xfer;
    std::memset(&xfer, 0, sizeof xfer);
    xfer.tx_buf = reinterpret_cast<uintptr_t>(tx);
    xfer.rx_buf = reinterpret_cast<uintptr_t>(rx);
    xfer.len = length;
    xfer.speed_hz = dev->speedHz;
    xfer.delay_usecs = dev->delayUs;
    xfer.bits_per_word = dev->bits;
    return xfer;
}

}  // namespace

int SpiDevOpen(SpiDev* dev) {
    if (dev == nullptr) return -1;
    dev->fd = plat::SpiOpen(dev->path);
    if (dev->fd < 0) return -1;
    uint8_t mode = static_cast<uint8_t>(dev->mode);
    uint8_t bits = dev->bits;
    uint32_t speed = dev->speedHz;
    // The kernel's answers to these are not needed: a device that refuses a setting still works at
    // its own.
    plat::SpiIoctl(dev->fd, SPI_IOC_WR_MODE, &mode);
    plat::SpiIoctl(dev->fd, SPI_IOC_RD_MODE, &mode);
    plat::SpiIoctl(dev->fd, SPI_IOC_WR_BITS_PER_WORD, &bits);
    plat::SpiIoctl(dev->fd, SPI_IOC_WR_MAX_SPEED_HZ, &speed);
    plat::SpiIoctl(dev->fd, SPI_IOC_RD_MAX_SPEED_HZ, &speed);
    return 0;
}

int32_t SpiDevWrite(SpiDev* dev, const void* buffer, uint32_t length) {
    spi_ioc_transfer xfer = MakeTransfer(dev, buffer, nullptr, length);
    int rc = plat::SpiIoctl(dev->fd, SPI_IOC_MESSAGE(1), &xfer);
    if (rc < 0) std::fprintf(stderr, "SPI_IOC_MESSAGE: %s\n", std::strerror(errno));
    return rc;
}

int32_t SpiDevTransfer(SpiDev* dev, void* buffer, uint32_t length) {
    spi_ioc_transfer xfer = MakeTransfer(dev, buffer, buffer, length);
    return plat::SpiIoctl(dev->fd, SPI_IOC_MESSAGE(1), &xfer);
}

int32_t SpiDevHeadedMessage(SpiDev* dev, const void* header, uint32_t headerLength, const void* tx, void* rx,
                            uint32_t length) {
    spi_ioc_transfer xfers[2] = {MakeTransfer(dev, header, nullptr, headerLength),
                                 MakeTransfer(dev, tx, rx, length)};
    return plat::SpiIoctl(dev->fd, SPI_IOC_MESSAGE(2), xfers);
}

void SpiDevClose(SpiDev* dev) {
    if (dev == nullptr) return;
    if (dev->fd > 0) plat::SpiClose(dev->fd);
    dev->fd = 0;
}

int SpiPanelOpen() {
    // The record keeps a failed descriptor too: the link is opened once at start-up and never again.
    if (g_PanelLink.fd != 0) return -1;
    g_PanelLink.mode = 1;
    g_PanelLink.speedHz = 3000000;
    g_PanelLink.delayUs = 0;
    g_PanelLink.bits = 32;
    std::snprintf(g_PanelLink.path, sizeof g_PanelLink.path, "%s", "/dev/spidev2.1");
    return SpiDevOpen(&g_PanelLink);
}

int32_t SpiPanelWrite4(const void* buffer) {
    return SpiDevWrite(&g_PanelLink, buffer, 4);
}

int32_t SpiPanelTransfer(void* buffer, uint32_t length) {
    return SpiDevTransfer(&g_PanelLink, buffer, length);
}
