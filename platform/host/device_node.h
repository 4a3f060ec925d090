#pragma once
// The instrument's character devices (the serial port, the USB device port's TMC and CDC nodes, the
// USB-GPIB adapter) as the program opens and drives them: by their instrument path, with the driver's
// requests. On the instrument these are the kernel's nodes and ioctls.
//
// On the host each node is a stand-in: two pseudo-terminal pairs bridged by a platform thread. The
// program opens the device side through OpenDevice; a client (a terminal program, pyvisa's ASRL) opens
// the client side, listed as "ttyS1 /dev/pts/N" lines in <root>/var/run/ports. The platform keeps both
// sides open itself, so either end may come and go. On the serial line a client's close (seen through
// the file system's close events of its side) drops the carrier once (the serial driver's modem lines,
// TIOCMGET), once the device has read the bytes that client sent; until the program has taken that
// drop, the device's output reaches nobody and a new client's bytes wait. Each node has a simulated
// driver: every set request and every event taken is a line of <root>/var/log/devices.log ("qx_gpib
// 0x40040D09 10"). As on the bus, the adapter's output the client has not read yet is dropped by a
// device clear and an output clear, and a device clear, once the port has taken it, also drops what the
// port has not read.
#include <cstdint>
#include <string>

namespace plat {

// Opens the device node at its instrument path ("/dev/ttyS1", ...). -1 with errno when it cannot
// (ENOENT for a node that does not exist now).
int OpenDevice(const char* path, int flags);
// Closes a descriptor OpenDevice gave; every such descriptor is closed here, so that the number given
// to the next descriptor never answers for this node. The result and errno of close().
int CloseDevice(int fd);
// One driver request on an opened node; the result and errno of the request (-1 with ENOTTY for a
// request the node's driver does not know).
int DeviceRequest(int fd, unsigned long request, void* arg);

// Makes the serial and USB device nodes (ttyS1, ttyGS0, usbtmc0), starts the bridge thread, adds the
// panel verbs "usbdev clear|rsb|gtl|ren" and "gpib dcl|get" and writes <root>/var/run/ports. Nothing
// when they run already. 0, or -1 with errno when a pseudo-terminal cannot be made.
int DeviceNodesStart();
// Tests end the nodes before their root goes away through it.
// Ends the bridge thread and closes every node (a test's root goes away after it).
void DeviceNodesStop();
// The lines of <root>/var/run/ports as last written.
std::string DevicePortsText();
// Tests open a node's client side through it.
// The client side of a node ("ttyS1" -> "/dev/pts/N"); "" when the node does not exist.
std::string DeviceClientPath(const std::string& node);

// The sandbox's simulated module tools: inserting qx_gpib makes /dev/qx_gpib, removing it takes the
// node away again (an open descriptor of it then reads end of file).
void DeviceModuleInserted(const std::string& module);
void DeviceModuleRemoved(const std::string& module);

// A panel event: "usbdev clear|rsb|gtl|ren", "gpib dcl|get" (verb, then args). Each raises one event,
// taken by the next read of the node's status word. 0, or -1 with the reason in *error.
int DeviceEventCommand(const std::string& verb, const std::string& args, std::string* error);

}  // namespace plat
