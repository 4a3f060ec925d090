#pragma once
#include <atomic>
// The remote-interface and panel settings: USB, RS232, GPIB, the optional CAN card and the display.
#include <cstdint>

namespace storage {

// The three card-present words, one per detect line of the optional interface card.
enum CardLine : uint32_t { kCardLine101 = 0, kCardLine17 = 1, kCardLine106 = 2, kCardLines = 3 };

struct IfaceCfg {
    uint8_t usb[4];  // byte 0 bits 1-2 USB speed; byte 2 bit 4 USB class (1 CDC, 0 TMC)
    uint8_t rs232Enable;
    uint8_t rs232Baud;      // 0..7: 1200 .. 115200
    uint8_t rs232DataBits;  // 0 or 1
    uint8_t rs232Parity;    // 0..2
    uint8_t rs232StopBits;  // 0 or 1
    uint32_t gpibAddress;
    uint32_t cardPresent[kCardLines];
    uint32_t canopenBaud;  // baud-rate index
    uint32_t canopenNodeId;
    uint32_t devicenetBaud;  // baud-rate index
    uint32_t devicenetMacId;
    uint8_t lcd[4];  // contrast, brightness, saturation (percent) and one more byte
    // The service tuning flags, not kept in the non-volatile blocks (they have no room for it): bit 1
    // shows the versions in detail. Set on the menu/control thread, painted by the GUI thread: through
    // IfaceServiceTune.
    uint8_t serviceTune;
};
inline constexpr uint8_t kServiceTuneVersionDetail = 1u << 1;

// Bits 1-2 of the first USB byte.
inline constexpr uint8_t kUsbSpeedShift = 1;
inline constexpr uint8_t kUsbSpeedMask = 0x3u << kUsbSpeedShift;

}  // namespace storage

extern storage::IfaceCfg g_IfaceCfg;
// The CANopen and DeviceNet settings' change words are g_FieldbusChangeFlags (core/system/state).

// The display adjustment values (percent) in the interface settings: contrast, brightness, saturation.
// Each sets its word and applies all three to the display. This machine's display takes them as the text
// "contrast brightness saturation" in <root>/var/run/lcd-adjust, replaced whole.
void SetLcdAdjust0(uint8_t percent);
void SetLcdAdjust1(uint8_t percent);
void SetLcdAdjust2(uint8_t percent);
// Applies three values to the display without touching the settings (the GUI thread's delayed apply).
// Returns 0, or -1 when the display could not take them.
int SetLcdAdjustAll(uint8_t contrast, uint8_t brightness, uint8_t saturation);

// The USB words and the GPIB address are read by the USB port sequencers on the timer thread while a reset
// on the supervisor thread may set them: both sides go through these.
inline uint8_t IfaceUsbByte(int i) {
    return std::atomic_ref<uint8_t>(g_IfaceCfg.usb[i]).load(std::memory_order_relaxed);
}
inline void IfaceUsbByteSet(int i, uint8_t v) {
    std::atomic_ref<uint8_t>(g_IfaceCfg.usb[i]).store(v, std::memory_order_relaxed);
}
inline void IfaceUsbByteOr(int i, uint8_t bits) {
    std::atomic_ref<uint8_t>(g_IfaceCfg.usb[i]).fetch_or(bits, std::memory_order_relaxed);
}
// The four USB bytes as the settings block keeps them, the first in the low byte.
inline uint32_t IfaceUsbWord() {
    uint32_t word = 0;
    for (int i = 0; i < 4; ++i)
        word |= uint32_t{IfaceUsbByte(i)} << (8 * i);
    return word;
}
// The display adjustment bytes likewise: a reset sets them on the supervisor thread while a settings save on
// another thread copies them into the settings block.
inline uint8_t IfaceLcdByte(int i) {
    return std::atomic_ref<uint8_t>(g_IfaceCfg.lcd[i]).load(std::memory_order_relaxed);
}
inline void IfaceLcdByteSet(int i, uint8_t v) {
    std::atomic_ref<uint8_t>(g_IfaceCfg.lcd[i]).store(v, std::memory_order_relaxed);
}
// The four display bytes as the settings block keeps them, the first in the low byte.
inline uint32_t IfaceLcdWord() {
    uint32_t word = 0;
    for (int i = 0; i < 4; ++i)
        word |= uint32_t{IfaceLcdByte(i)} << (8 * i);
    return word;
}
inline void IfaceLcdWordSet(uint32_t word) {
    for (int i = 0; i < 4; ++i)
        IfaceLcdByteSet(i, static_cast<uint8_t>(word >> (8 * i)));
}
inline uint32_t IfaceGpibAddress() {
    return std::atomic_ref<uint32_t>(g_IfaceCfg.gpibAddress).load(std::memory_order_relaxed);
}
inline uint8_t IfaceServiceTune() {
    return std::atomic_ref<uint8_t>(g_IfaceCfg.serviceTune).load(std::memory_order_relaxed);
}
inline void IfaceServiceTuneToggle(uint8_t bits) {
    std::atomic_ref<uint8_t>(g_IfaceCfg.serviceTune).fetch_xor(bits, std::memory_order_relaxed);
}
