#pragma once
// The USB-GPIB adapter: its kernel driver module, the port on "/dev/qx_gpib" and the channel loop.
#include <atomic>
#include <cstdint>

#include "scpi/channels/remote_port.h"
#include "scpi/channels/scpi_interface.h"

// The USB-GPIB interface setting: 1 serves the adapter whenever its driver module is on the disk.
extern std::atomic<uint32_t> g_GpibEnable;

namespace scpi {

// Driver requests (type 0x0D).
constexpr unsigned long kGpibClearOutput = 0x40040D0D;
constexpr unsigned long kGpibSetAddress = 0x40040D09;
constexpr unsigned long kGpibWord07 = 0x80040D07;
constexpr unsigned long kGpibSetStatus = 0x40040D08;
constexpr unsigned long kGpibBusStatus = 0x80040D0B;
constexpr unsigned long kGpibWord0C = 0x80040D0C;
constexpr unsigned long kGpibWord10 = 0x80040D10;
constexpr unsigned long kGpibReplyLength = 0x40040D0F;
constexpr unsigned long kGpibWord0A = 0x80040D0A;

// Bus status word (control 15): a device clear and a group execute trigger received.
constexpr uint32_t kGpibDeviceClear = 1u << 3;
constexpr uint32_t kGpibTrigger = 1u << 7;

// The status pair a serial poll answers with: status byte and service request enable.
struct GpibStatusPair {
    uint16_t stb;
    uint16_t sre;
};

extern const ScpiIoOps kGpibIoOps;

// Prepares the module commands when the module file is on the disk; false when it is not.
bool GpibDriverPrepare();
// Loads the driver module once ("insmod", 500 ms, "sync"); nothing without prepared commands. The
// rear-USB sequencer's driver-load hook.
void GpibDriverLoadOnce();
// Unloads it ("rmmod", 500 ms, "sync") when it was loaded.
void GpibDriverUnload();

// The channel's start (id 4, "USB-GPIB", status-push memory cleared), one 2 ms pass, the stop.
void GpibChannelStart();
void GpibPass(uint32_t pass);
void GpibChannelStop();

}  // namespace scpi
