#pragma once
// The rear USB device port: one channel over two device nodes, USB-TMC ("/dev/usbtmc0") or USB-CDC
// ("/dev/ttyGS0") as the USB class setting says at the moment of each operation, and its loop.
#include <cstdint>

#include "scpi/channels/remote_port.h"
#include "scpi/channels/scpi_interface.h"

namespace scpi {

// Driver requests of the two gadget nodes.
constexpr unsigned long kTmcLinkStatus = 0x80045501;  // status word
constexpr unsigned long kTmcPushStb = 0x40045503;     // the status byte for a read-status-byte request
constexpr unsigned long kCdcLinkState = 0x80046701;   // bit 2: a clear condition
constexpr unsigned long kCdcClearAck = 0x40046701;

// Bit 4 of the third USB settings byte: USB-CDC when set, USB-TMC otherwise.
bool UsbDevIsCdc();
// The port object the class setting selects now.
RemotePort* UsbDevPort();
// Closes the port of the class the setting selects now, from any thread (the panel's class change, before
// the new class is stored). The channel's loop finds it closed and tries the open again later.
void UsbDevPortClose();

extern const ScpiIoOps kUsbDevIoOps;

// Control 15: 1 a device clear, 2 the host asks for the status byte (USB-TMC), otherwise 0; go-to-local
// and remote-enable from a USB-TMC host move the panel between remote state 1 and local.
int UsbDevLinkState();
// The same from the status word read (USB-CDC: the link state), with its effect on the panel.
int UsbDevLinkFromWord(bool cdc, uint32_t word);

// The channel's start: id and name by the class, the context, an empty log and error queue.
void UsbDevChannelStart();
// One 2 ms pass of the loop; `pass` counts the passes from 1 (the first pass tries to open the port). Returns the pause the pass asks
// for beyond the period, in milliseconds.
uint32_t UsbDevPass(uint32_t pass);
// The stop: the port closed and released.
void UsbDevChannelStop();

}  // namespace scpi
