#pragma once
// SPI device nodes. The drivers speak the kernel's spidev interface (its request codes and transfer
// records, <linux/spi/spidev.h>); here those requests reach the device. On this machine the front-panel
// key/knob controller "/dev/spidev2.1" is simulated (platform/devices/panel_sim.h) and the 128 KB non-volatile
// memory "/dev/spidev1.0" is simulated here, backed by the file "<root>/dev/spidev1.0" so that its contents
// outlive the process; other nodes are absent until their simulation exists.
#include <linux/spi/spidev.h>

#include <cstdint>
#include <vector>

namespace plat {

// Opens an SPI node by its instrument path: a handle above 0, or -1 with errno set.
int SpiOpen(const char* devicePath);
// One spidev request (SPI_IOC_WR_MODE, SPI_IOC_RD_MAX_SPEED_HZ, SPI_IOC_MESSAGE(1) ...) with the
// kernel's result convention: -1 with errno on failure; a message returns the bytes transferred.
int SpiIoctl(int handle, unsigned long request, void* arg);
// Tests close the devices they opened through it (SpiDevClose).
int SpiClose(int handle);

// The simulated non-volatile memory. Every message (SPI_IOC_MESSAGE(1) or (2)) is one command: its first
// byte sent is the command (0x06 write enable, 0x04 write disable, 0x02 write, 0x03 read), a write or
// read carries a 4-byte address header, and a write is taken only while the write-enable latch is set.
constexpr uint32_t kNvmSimSize = 131072;
struct NvmSimCommand {
    uint8_t command;
    uint32_t address;  // write and read only
    uint32_t length;   // data bytes after the header
    bool failed;       // refused by an injected failure
};
// Tests inject faults into the memory stand-in and read its log through the controls below.
// The commands since the last clear, in order (at most the newest 8192).
std::vector<NvmSimCommand> NvmSimLog();
void NvmSimClearLog();
// The message `nth` messages from now (0 = the next) fails with EIO and changes nothing; -1 disarms.
void NvmSimFailMessage(int nth);
// A dead chip: every data byte read is 0xFF (writes are still taken).
void NvmSimSetReadsAllOnes(bool on);
// A power cut: once `writes` more write commands have been taken, every later message fails with EIO
// and changes nothing, as after the supply dropped; -1 (or NvmSimReset) brings the power back.
void NvmSimCutAfterWrites(int writes);
// Fills the memory (and its file) with 0xFF; 0, or -1 when the file cannot be written.
int NvmSimErase();
// Clears the log, the injected failure, the power cut and the dead-chip mode.
void NvmSimReset();

}  // namespace plat
