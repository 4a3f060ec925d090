#pragma once
// SPI device nodes. The drivers speak the kernel's spidev interface (its request codes and transfer
// records, <linux/spi/spidev.h>); here those requests reach the device. On this machine the front-panel
// key/knob controller "/dev/spidev2.1" is simulated (platform/panel_sim.h); other nodes are absent
// until their simulation exists.
#include <linux/spi/spidev.h>

namespace plat {

// Opens an SPI node by its instrument path: a handle above 0, or -1 with errno set.
int SpiOpen(const char* devicePath);
// One spidev request (SPI_IOC_WR_MODE, SPI_IOC_RD_MAX_SPEED_HZ, SPI_IOC_MESSAGE(1) ...) with the
// kernel's result convention: -1 with errno on failure; a message returns the bytes transferred.
int SpiIoctl(int handle, unsigned long request, void* arg);
int SpiClose(int handle);

}  // namespace plat
