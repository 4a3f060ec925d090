#pragma once
// The DHCP client, the link-local responder and the network script: started, stopped and looked for.

int DhcpStart();  // ends a running udhcpc, then starts it with its lease text in /tmp/udhcpc.info
int DhcpStop();
int DhcpInfoPresent();  // 0 when /tmp/udhcpc.info holds a lease text, else -1
// 1 when the process runs, else 0.
int UdhcpcRunning();
int AutoipdRunning();
int AvahiDaemonRunning();
// Writes the LXI service file and starts avahi-daemon unless it runs. 0.
int AvahiStart();
// 0: start with DHCP (netconf written first when missing or DHCP off); 1: leave DHCP (the link-local
// client ends); other: the link changed under DHCP. 0.
int NetScriptRun(int mode);
