#pragma once
// What the device-node ports (USB device, USB-GPIB) share beyond the port layer: reading the node
// without mistaking a quiet line for a lost one, and transmitting without giving up on a full one.
#include <cstdint>

#include "scpi/channels/remote_port.h"
#include "scpi/channels/scpi_interface.h"

namespace scpi {

// Reads what the node has. Returns the bytes read (added to the receive counter), 0 when there is
// nothing now, -1 when the port is closed. End of file, and an error that says the node has gone
// (ENOENT, EBADF, ENODEV, ENOMSG, and EIO where eioCloses), close the port and return 0.
int DevicePortRead(RemotePort* port, void* buffer, uint32_t length, bool eioCloses);

// Transmits the head of the committed replies. False when the node refused it for good (the caller
// closes the port); a node that is only full (EAGAIN, EINTR) keeps the entry for the next pass.
bool DevicePortTransmit(RemotePort* port);

// Every 200 passes: the channel flags reply waiting, receive and transmit activity (the port's counters,
// read and cleared) and connected, from the port.
void ChannelFlagsRefresh(ScpiInterface* ifc, uint32_t pass);

}  // namespace scpi
