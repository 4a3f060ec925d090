#pragma once
#include <cstdint>

// The USB-memory object (mount watch and the USB port sequencers), stepped every 20 ms.
int32_t UsbMemSm_Run();
