#include "screens/menu/editors/usb_class_switch.h"

#include <cstdio>

#include "core/params/param_store.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/sys_status.h"
#include "drivers/panel_link.h"
#include "platform/host/clock.h"
#include "scpi/channels/ports/usb_dev_channel.h"

namespace {
constexpr uint8_t kUsbClassCdc = 1u << 4;  // of the third USB byte
constexpr uint32_t kNoticeMs = 3000;
}  // namespace

void UsbClassSwitch(uint32_t cdc) {
    g_ParamFlags.fetch_or(core::kFlagKeysLocked, std::memory_order_acq_rel);
    scpi::UsbDevPortClose();
    const uint8_t byte = IfaceUsbByte(2);
    IfaceUsbByteSet(2, static_cast<uint8_t>(cdc != 0 ? byte | kUsbClassCdc : byte & ~kUsbClassCdc));
    // The message formatter knows only %d and %f: the class name goes into the text before it.
    char text[64];
    std::snprintf(text, sizeof text, "Switch to USB-%s Mode\nSystem will reboot...",
                  cdc != 0 ? "CDC" : "TMC");
    ShowMessageHold(text);
    plat::SleepMs(kNoticeMs);
    SpiAuxWrite1(0);
    sysRebootRequest();
}
