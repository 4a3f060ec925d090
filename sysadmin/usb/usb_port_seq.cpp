#include "sysadmin/usb/usb_port_seq.h"

#include <atomic>

#include "core/system/config/iface_cfg.h"
#include "core/system/links/usb_state.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/sys_status.h"
#include "platform/sandbox/sandbox.h"
#include "sysadmin/usb/usb_gadget.h"

namespace {

constexpr uint32_t kReqEnable = 0x02, kReqDisable = 0x04, kReqSetValue = 0x20;
constexpr uint8_t kUsbGpibPresent = 1u << 2;  // status byte A
constexpr uint8_t kSpeedBits = 0x3u << 1;     // status byte B
constexpr uint8_t kGpibClassBit = 1u << 3;    // status byte B
constexpr uint8_t kRearState = 0x3u << 1;     // status byte C
constexpr uint8_t kUsbClassBit = 1u << 4;     // of the third USB byte
constexpr uint32_t kGpibPollLimit = 100;
// "Rear USB Port \nConnected To PC" and "Rear USB Port \nDisconnected From PC".

UsbPortHooks g_hooks{};

// Requests from other threads store the wait before the step (release); the timer thread reads the
// step with acquire.
std::atomic<int32_t> g_devWait{0}, g_devStep{8}, g_gpibWait{0}, g_gpibStep{1};
int32_t g_gpibPollCount = 0;

int PostUsb(uint32_t bits) {
    return g_hooks.postUsb != nullptr ? g_hooks.postUsb(bits, 0) : -1;
}

int PostGpib(uint32_t bits, uintptr_t argument) {
    return g_hooks.postGpib != nullptr ? g_hooks.postGpib(bits, argument) : -1;
}

void Arm(std::atomic<int32_t>& step, std::atomic<int32_t>& wait, int32_t s, int32_t w) {
    wait.store(w, std::memory_order_relaxed);
    step.store(s, std::memory_order_release);
}

// Takes one from a positive wait; true when there was a wait.
bool Waiting(std::atomic<int32_t>& wait, int32_t* left) {
    int32_t w = wait.load(std::memory_order_relaxed);
    while (w > 0 && !wait.compare_exchange_weak(w, w - 1, std::memory_order_relaxed)) {
    }
    *left = w > 0 ? w - 1 : 0;
    return w > 0;
}

void SetGpibClassBit() {
    if (IfaceUsbByte(2) & kUsbClassBit)
        g_UsbState.statusB.fetch_or(kGpibClassBit);
    else
        g_UsbState.statusB.fetch_and(static_cast<uint8_t>(~kGpibClassBit));
}

}  // namespace

void UsbPort_SetHooks(const UsbPortHooks& hooks) {
    g_hooks = hooks;
}

void UsbDev_StartModeSequencer() {
    Arm(g_devStep, g_devWait, 7, 0);
}

void GpibAddressApply() {
    // Bit 3 of status byte B (the USB class bit as it was when the GPIB interface was last started) is
    // what asks for the re-apply; the adapter-present bit only lets the sequencer start the interface.
    if (g_UsbState.statusB.load() & kGpibClassBit) Arm(g_gpibStep, g_gpibWait, 5, 0);
}

void UsbPortSeqReset() {
    Arm(g_devStep, g_devWait, 8, 0);
    Arm(g_gpibStep, g_gpibWait, 1, 0);
    g_gpibPollCount = 0;
}

int32_t UsbDev_ModeSequencer() {
    int32_t left = 0;
    if (Waiting(g_devWait, &left)) return left;
    if (!UsbGadgetReady()) return 1;  // the menu/control thread has not filled the record yet
    UsbDevInfoRead();
    const uint8_t speed = (IfaceUsbByte(0) & storage::kUsbSpeedMask) >> storage::kUsbSpeedShift;
    switch (g_devStep.load(std::memory_order_acquire)) {
        case 7:
            PostUsb(kReqDisable);
            UsbDevModeClear();
            Arm(g_devStep, g_devWait, 9, 50);
            break;
        case 8:
            UsbDevModeClear();
            Arm(g_devStep, g_devWait, 9, 50);
            break;
        case 9:
            UsbDevModeSet(speed);
            plat::System("sync");
            PostUsb(kReqEnable);
            g_UsbState.statusB.store(
                static_cast<uint8_t>((g_UsbState.statusB.load() & ~kSpeedBits) | (speed << 1)));
            Arm(g_devStep, g_devWait, 10, 10);
            break;
        case 10: {
            const bool host = g_hooks.usbHostConnected != nullptr && g_hooks.usbHostConnected();
            if (UsbDevStateOk() && host) {
                g_UsbState.statusC.fetch_or(1u << 1);
                MsgQueue_PostId(kMsgRearConnected);
                Arm(g_devStep, g_devWait, 11, 10);
            } else {
                g_devWait.store(10);
            }
            break;
        }
        case 11:
            if (!UsbDevStateOk()) {
                UsbDev_StartModeSequencer();
                g_UsbState.statusC.fetch_and(static_cast<uint8_t>(~kRearState));
                MsgQueue_PostId(kMsgRearDisconnected);
            }
            g_devWait.store(10);
            break;
        default:
            break;
    }
    return 0;
}

int32_t UsbGpib_Sequencer() {
    int32_t left = 0;
    if (Waiting(g_gpibWait, &left)) return left;
    switch (g_gpibStep.load(std::memory_order_acquire)) {
        case 1:
            if (g_UsbState.statusA.load() & kUsbGpibPresent) {
                Arm(g_gpibStep, g_gpibWait, 2, 10);
            } else if (SysStatusTest(kSysMenuThreadRunning) &&
                       ++g_gpibPollCount >= static_cast<int32_t>(kGpibPollLimit)) {
                // Counted from the menu/control thread's start only: the GPIB thread looks for the
                // adapter from then on, and a slow start would otherwise use up the hundred passes.
                Arm(g_gpibStep, g_gpibWait, 0, 0);
            }
            break;
        case 2:
            if (g_hooks.loadGpibDriver != nullptr) g_hooks.loadGpibDriver();
            Arm(g_gpibStep, g_gpibWait, 3, 10);
            break;
        case 3: {
            const uint32_t address = IfaceGpibAddress();
            PostGpib(kReqEnable | kReqSetValue, address);
            SetGpibClassBit();
            g_UsbState.gpibAddrApplied.store(address);
            Arm(g_gpibStep, g_gpibWait, 6, 10);
            break;
        }
        case 4:
            PostGpib(kReqDisable, 0);
            SetGpibClassBit();
            Arm(g_gpibStep, g_gpibWait, 6, 10);
            break;
        case 5:
            PostGpib(kReqDisable, 0);
            Arm(g_gpibStep, g_gpibWait, 3, 50);
            break;
        default:
            break;
    }
    return 0;
}
