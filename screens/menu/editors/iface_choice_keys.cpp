// The interface editors that pick one of a few values with the knob (the DHCP switch also with the cursor
// keys): DHCP, USB speed and class, the RS232 line, the GPIB address and the CAN baud rates. Each takes
// its value on the enter key and asks the owning service to apply it.
#include <atomic>
#include <mutex>

#include "core/system/config/iface_cfg.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/links/fieldbus_flags.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/util/num_util.h"
#include "drivers/panel_link.h"
#include "scpi/channels/ports/uart_channel.h"
#include "screens/menu/editors/iface_edit_keys.h"
#include "screens/menu/editors/menu_editor.h"
#include "screens/menu/editors/usb_class_switch.h"
#include "sysadmin/net/net_state.h"
#include "sysadmin/usb/usb_port_seq.h"

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;

enum class Exit : uint8_t {
    kProtocol,  // a number being typed is dropped first
    kDirect,    // straight back to the row
};

constexpr uint32_t kByCard = 0;  // the row of the option interface fitted

struct ChoiceEditor {
    uint32_t state;
    uint32_t row;  // the row exit and enter go back to
    int32_t max, min;
    bool knobOnly;
    Exit exit;
    // Takes the working value on the enter key.
    void (*enter)(int32_t value, bool changed);
};

uint32_t Load(uint32_t& word) {
    return std::atomic_ref<uint32_t>(word).load(std::memory_order_acquire);
}
void Store(uint32_t& word, uint32_t v) {
    std::atomic_ref<uint32_t>(word).store(v, std::memory_order_release);
}
void StoreByte(uint8_t& byte, int32_t v) {
    std::atomic_ref<uint8_t>(byte).store(static_cast<uint8_t>(v), kRelaxed);
}

void EnterDhcp(int32_t value, bool changed) {
    if (changed) {
        {
            const std::lock_guard<std::mutex> hold(g_LanCfgLock);
            g_LanCfg.DHCP = static_cast<uint8_t>(value);
        }
        g_NetSeq.reapplyReq.store(1, std::memory_order_release);
    }
}

void EnterUsbSpeed(int32_t value, bool) {
    const auto speed = static_cast<uint8_t>((value << storage::kUsbSpeedShift) & storage::kUsbSpeedMask);
    IfaceUsbByteSet(0, static_cast<uint8_t>((IfaceUsbByte(0) & ~storage::kUsbSpeedMask) | speed));
    UsbDev_StartModeSequencer();
}

void EnterUsbClass(int32_t value, bool changed) {
    if (changed) UsbClassSwitch(static_cast<uint32_t>(value));
}

void EnterBaud(int32_t value, bool) {
    StoreByte(g_IfaceCfg.rs232Baud, value);
    UartChannelRestart();
}
void EnterDataBits(int32_t value, bool) {
    StoreByte(g_IfaceCfg.rs232DataBits, value);
    UartChannelRestart();
}
void EnterParity(int32_t value, bool) {
    StoreByte(g_IfaceCfg.rs232Parity, value);
    UartChannelRestart();
}
void EnterStopBits(int32_t value, bool) {
    StoreByte(g_IfaceCfg.rs232StopBits, value);
    UartChannelRestart();
}

void EnterGpib(int32_t value, bool) {
    Store(g_IfaceCfg.gpibAddress, static_cast<uint32_t>(value));
    GpibAddressApply();
}

// A scan for the baud rate still running is ended first; a new rate is taken only when no restart of the
// CAN interface is waiting.
bool TakeCanBaud(uint32_t& setting, int32_t value) {
    FieldbusChangeFlags& f = g_FieldbusChangeFlags;
    if (f.canScanRun.load(std::memory_order_acquire) == 1) {
        f.canScanRun.store(0, std::memory_order_release);
        f.canRestart.store(0, std::memory_order_release);
    }
    if (static_cast<uint32_t>(value) == Load(setting) || f.canRestart.load(std::memory_order_acquire) != 0)
        return false;
    Store(setting, static_cast<uint32_t>(value));
    f.canRestart.store(1, std::memory_order_release);
    return true;
}
void EnterCanopenBaud(int32_t value, bool) {
    if (TakeCanBaud(g_IfaceCfg.canopenBaud, value))
        g_FieldbusChangeFlags.canopenChanged.store(1, std::memory_order_release);
}
void EnterDevicenetBaud(int32_t value, bool) {
    TakeCanBaud(g_IfaceCfg.devicenetBaud, value);
}

constexpr ChoiceEditor kEditors[] = {
    {kMenuLanDhcpEdit, kMenuLanDhcp, 1, 0, false, Exit::kDirect, EnterDhcp},
    {kMenuUsbSpeedEdit, kMenuUsbSpeed, 3, 0, true, Exit::kProtocol, EnterUsbSpeed},
    {kMenuUsbModeEdit, kMenuUsbMode, 1, 0, true, Exit::kProtocol, EnterUsbClass},
    {kMenuRs232BaudEdit, kMenuRs232Baud, 7, 0, true, Exit::kProtocol, EnterBaud},
    {kMenuRs232DataBitsEdit, kMenuRs232DataBits, 1, 0, true, Exit::kProtocol, EnterDataBits},
    {kMenuRs232ParityEdit, kMenuRs232Parity, 2, 0, true, Exit::kProtocol, EnterParity},
    {kMenuRs232StopBitsEdit, kMenuRs232StopBits, 1, 0, true, Exit::kProtocol, EnterStopBits},
    {kMenuGpibAddressEdit, kByCard, 30, 0, true, Exit::kProtocol, EnterGpib},
    {kMenuCanopenBaudEdit, kMenuCanopenBaud, 4, 0, true, Exit::kProtocol, EnterCanopenBaud},
    {kMenuDevicenetBaudEdit, kMenuDevicenetBaud, 3, 0, true, Exit::kProtocol, EnterDevicenetBaud},
};

uint32_t Row(const ChoiceEditor& ed) {
    if (ed.row != kByCard) return ed.row;
    if (Load(g_IfaceCfg.cardPresent[storage::kCardLine17]) == 1) return kMenuCanopenBaud;
    if (Load(g_IfaceCfg.cardPresent[storage::kCardLine106]) == 1) return kMenuDevicenetBaud;
    return kMenuGpibAddress;
}

void ChoiceKeys(uint32_t* ev, const ChoiceEditor& ed) {
    if (MenuEdit_CommonClasses(ev)) return;
    const uint8_t cls = KeyEventClass(*ev), code = KeyEventCode(*ev);
    const int32_t work = g_EditParam.workValue.load(kRelaxed);
    if (cls == kClassKeypad && code == kKeyExit) {
        if (ed.exit == Exit::kDirect)
            MenuEdit_ReturnToRow(Row(ed));
        else
            MenuEdit_Exit(Row(ed));
    } else if (cls == kClassKeypad && code == kKeyEnter) {
        ed.enter(work, work != g_EditParam.startValue);
        MenuEdit_ReturnToRow(Row(ed));
    } else if (cls == kClassCursor &&
               (code == kKeyKnob || (!ed.knobOnly && (code == kKeyLeft || code == kKeyRight)))) {
        g_EditParam.workValue.store(EditValueStep(work, 0, KeyEventDelta(*ev), ed.max, ed.min), kRelaxed);
    }
}

template <uint32_t State>
void Keys(uint32_t* ev) {
    for (const ChoiceEditor& ed : kEditors)
        if (ed.state == State) return ChoiceKeys(ev, ed);
}
}  // namespace

void menuListLanDhcpEdit(uint32_t* ev) {
    Keys<kMenuLanDhcpEdit>(ev);
}
void menuListUSBSpeedEdit(uint32_t* ev) {
    Keys<kMenuUsbSpeedEdit>(ev);
}
void menuListUSBModeEdit(uint32_t* ev) {
    Keys<kMenuUsbModeEdit>(ev);
}
void menuListRS232BaudRateEdit(uint32_t* ev) {
    Keys<kMenuRs232BaudEdit>(ev);
}
void menuListRS232DataBitEdit(uint32_t* ev) {
    Keys<kMenuRs232DataBitsEdit>(ev);
}
void menuListRS232ParityEdit(uint32_t* ev) {
    Keys<kMenuRs232ParityEdit>(ev);
}
void menuListRS232StopBitEdit(uint32_t* ev) {
    Keys<kMenuRs232StopBitsEdit>(ev);
}
void menuListGPIBAddressEdit(uint32_t* ev) {
    Keys<kMenuGpibAddressEdit>(ev);
}
void menuListCANOPENBaudRateEdit(uint32_t* ev) {
    Keys<kMenuCanopenBaudEdit>(ev);
}
void menuListDeviceNetBaudRateEdit(uint32_t* ev) {
    Keys<kMenuDevicenetBaudEdit>(ev);
}
