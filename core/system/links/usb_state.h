#pragma once
// The USB status shared by the USB-memory watch and port sequencers (its writer, the timer thread) and
// every reader: file operations on USB memory, the interface queries, the screens.
#include <atomic>
#include <cstdint>

namespace core {

struct UsbState {
    std::atomic<uint8_t> statusA{0};  // bit 2: USB-GPIB adapter present
    // Bit 0: USB memory mounted; bits 1-2: USB speed the rear device was last started with; bit 3: the
    // USB class bit when the GPIB interface was last (re)started.
    std::atomic<uint8_t> statusB{0};
    std::atomic<uint8_t> statusC{0};  // bit 0: front USB state; bits 1-2: rear USB device state
    std::atomic<uint32_t> gpibAddrApplied{0};
    char usbDevPath[16] = {};  // the device node mounted; the USB-memory watch's own
    std::atomic<uint32_t> usbAccessError{0};
    std::atomic<uint32_t> usbMountRetries{0};
    std::atomic<uint32_t> usbNewlyMounted{0};
};

inline constexpr uint8_t kUsbMounted = 1u << 0;  // of statusB

}  // namespace core

extern core::UsbState g_UsbState;

// The mounted bit, read with acquire: a file operation on USB memory runs only while it is set.
inline bool UsbMemoryMounted() {
    return (g_UsbState.statusB.load(std::memory_order_acquire) & core::kUsbMounted) != 0;
}
