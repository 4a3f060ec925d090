#pragma once
// Events of the simulated network and USB hardware, given through the panel channel:
//   net dhcp IP MASK GW DNS|none   a DHCP server offers this lease (the next udhcpc takes it)
//   net link up|down               the cable is plugged or pulled (eth0's operstate)
//   net avahi IP|none              a link-local address appears on eth0:avahi (avahi-autoipd runs) or goes
//   usb insert sda1|sda [TYPE]     a stick is plugged in: its device node holds its file-system type
//                                  (default vfat)
//   usb remove                     the stick is pulled: its nodes vanish
//   usb host on|off                a PC configures the rear USB device port, or lets it go (controller info)
#include <string>

namespace plat {

// Each carries out its verb's arguments; 0, or -1 with the reason in *error.
int SandboxNetEvent(const std::string& args, std::string* error);
int SandboxUsbEvent(const std::string& args, std::string* error);

}  // namespace plat
