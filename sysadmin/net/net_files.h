#pragma once
// /tmp/netconf (what the network script reads) and /etc/resolv.conf.

// Fills g_NetInfoText from the settings and the read-back addresses; returns the host-name slot.
const char* NetconfBuild();
// Writes the 14 "KEY=value" lines (MAC address in upper case; a value with a control character left
// empty) and syncs; -1 when it cannot be written.
int NetconfWrite();
// Reads the slots back from /tmp/netconf and the four addresses into g_LanCfg; -1 without the file.
int NetconfRead();
// "search DOMAIN" and "nameserver DNS", each ended by CR LF; -1 when it cannot be written.
int ResolvConfWrite();
// The first "nameserver" line's address into DNS of g_LanCfg; -1 without file, line or address.
int ResolvConfReadDns();

// The manufacturer text of the unit's brand, as announced and written into netconf.
const char* LanManufacturerText();
// The firmware version announced on the network.
inline constexpr char kLanFirmwareText[] = "1.06";
