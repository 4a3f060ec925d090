#pragma once
// The CAN controller of the optional interface card, as the fieldbus thread asks for it by its
// interface name ("can0").
//
// This machine has no CAN controller: the stand-in reports none and opens no socket, so the host's
// network is never looked at or touched.

namespace plat {

// A socket bound to the named CAN interface, or -1 with errno when the interface is not there
// (ENODEV: the stand-in's answer for every name).
int CanInterfaceOpen(const char* name);

}  // namespace plat
