#pragma once
#include <cstdint>

// The USB-memory object (mount watch and the USB port sequencers), stepped every 20 ms.
int32_t UsbMemSm_Run();

// Unmounts USB memory before a reboot: the mount point and both device nodes, each followed by "sync" and
// a second's wait. Returns 0.
int32_t UsbUmount();
