#pragma once
// The commands that apply the LAN settings to eth0. Every builder checks what it puts into the command
// line: addresses only as formatted from their bytes, the host name only of letters, digits and '-', the
// MAC text only of hexadecimal digits and ':'.
#include <cstddef>

#include "core/system/config/lan_cfg.h"

// "ifconfig eth0 IP netmask MASK\n" into buf (n bytes); the length, or -1 when it does not fit.
int NetIfconfigCmdBuild(char* buf, size_t n, const sysadmin::LanCfg& cfg);
int NetIfconfigApply();
int NetIfUp();
int NetIfDown();
// "route del default", sync, "route add default gw GW eth0"; the result of the last.
int RouteSetDefault();

// The host name: the model's first character, '-', the serial from its third character (the whole
// serial when it has one character), cut to 15. 0, or -1 when it holds anything but [A-Za-z0-9-].
int HostnameBuild(char out[16]);
// Stores the name in HOSTNAME and runs "hostname NAME"; -1 (nothing run, nothing stored) for an unsafe
// name or while block 0 is held (the stored name stays), else the command's status.
int HostnameApply();

// g_MacText: '-' becomes ':', cut at CR, LF or 20 characters; 0 when more than 5 characters remain.
int MacTextNormalise();
// Applies g_MacText with "ifconfig eth0 hw ether MAC" and syncs; -1 when the text is short, holds
// anything but hexadecimal digits and ':', or the command fails.
int SetMacAddress();
// Reads /sys/class/net/eth0/address into g_MacText; -1 when it cannot be opened.
int ReadMacAddress();
