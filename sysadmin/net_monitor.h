#pragma once
// One pass of the network monitor (supervisor loop).
void NetMonitor();
