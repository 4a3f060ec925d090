#pragma once
// The addresses and the link state in effect, read back from the operating system.

// eth0's operstate: 1 "up", 0 "down", 2 "unknown" or no file, -1 nothing read, -2 any other text.
int LinkOperState();
// 1 when eth0:avahi carries a link-local address, else 0.
int AvahiAddrPresent();
// Fill g_LanActualText and g_LanActual from eth0 (NetReadBack: 0, or -1 with nothing changed) or from
// its link-local alias (NetReadBackAvahi: 1, or 0 with nothing changed).
int NetReadBack();
int NetReadBackAvahi();
// -1 nothing read; 1 when eth0's address differs from g_LastIpText (which then takes it); else 0.
int NetAddrChanged();
