#pragma once
// Whether files may be taken from USB memory: it is mounted and its mount had no access error.
#include "core/system/links/usb_state.h"

inline bool UsbSourceReady() {
    return UsbMemoryMounted() && g_UsbState.usbAccessError.load(std::memory_order_acquire) == 0;
}
