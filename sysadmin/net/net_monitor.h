#pragma once
// The network sequencer: applies the LAN settings step by step and watches the link, the DHCP lease and
// the link-local address. Its steps run in the supervisor loop; the requests come from the editors, the
// remote LAN commands and the start of the menu/control thread.

// One pass of the sequencer (supervisor loop).
void NetMonitor();

// Idle, link poll reloaded.
void NetStateInit();
// Starts the configuration: -1 when a step is active. LAN on: from bringing eth0 up; LAN off: from
// leaving DHCP (static) or from taking eth0 down.
int NetConfigStart();
void NetRequestDhcpRestart();
void NetRequestStaticRestart();
void NetRefreshRequest();  // rewrite netconf and the service file, when idle
