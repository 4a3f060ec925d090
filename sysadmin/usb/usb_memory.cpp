#include "sysadmin/usb/usb_memory.h"

#include <cstring>
#include <string>

#include "core/system/links/usb_state.h"
#include "core/system/messaging/msg_ring.h"
#include "platform/host/clock.h"
#include "platform/sandbox/sandbox.h"
#include "storage/file_util.h"
#include "sysadmin/usb/usb_port_seq.h"

namespace {

constexpr uint32_t kMsgPoll = 8000, kMsgInit = 8001;
constexpr int32_t kStepUnmounted = 12, kStepMounted = 13;
constexpr int32_t kCheckWait = 10;
constexpr int32_t kStartDelay = 10;
constexpr uint32_t kMountRetries = 3;
constexpr uint8_t kFrontState = 1u << 0;  // status byte C

// Timer thread only.
int32_t g_mountWait = 0;
int32_t g_mountStep = kStepUnmounted;
int32_t g_startDelay = kStartDelay;

bool Exists(const char* path) {
    return FileSize(path) >= 0;
}

void SetMounted(bool mounted) {
    if (mounted) {
        g_UsbState.statusB.fetch_or(core::kUsbMounted, std::memory_order_release);
        g_UsbState.statusC.fetch_or(kFrontState);
    } else {
        g_UsbState.statusB.fetch_and(static_cast<uint8_t>(~core::kUsbMounted), std::memory_order_release);
        g_UsbState.statusC.fetch_and(static_cast<uint8_t>(~kFrontState));
    }
}

int32_t CheckUnmounted() {
    const char* node = Exists("/dev/sda1") ? "/dev/sda1" : Exists("/dev/sda") ? "/dev/sda" : nullptr;
    g_mountWait = kCheckWait;
    if (node == nullptr) return 0;
    const std::string cmd = std::string("mount -t vfat ") + node + " /mnt/sd1\n";
    const bool mounted = plat::System(cmd.c_str()) == 0;
    if (!mounted && g_UsbState.usbMountRetries.load() < kMountRetries) {
        g_UsbState.usbMountRetries.fetch_add(1);
        return 0;
    }
    if (mounted) {
        ShowMessage(2, "USB Memory Connected");
        g_UsbState.usbAccessError.store(0);
        if (std::strcmp(node, "/dev/sda1") == 0) g_UsbState.usbNewlyMounted.store(1);
    } else {
        // The mounted bit is the only guard of USB file operations: set over a failed mount it would
        // send writes into the bare /mnt/sd1 and report them done. The stick stays watched in the
        // mounted step, so it is tried again only once it has been pulled.
        ShowMessage(2, "USB Memory Access Error");
        g_UsbState.usbAccessError.store(1);
        g_UsbState.usbMountRetries.store(0);
    }
    std::snprintf(g_UsbState.usbDevPath, sizeof g_UsbState.usbDevPath, "%s", node);
    SetMounted(mounted);
    g_mountStep = kStepMounted;
    return 0;
}

int32_t CheckMounted() {
    const bool mounted = UsbMemoryMounted();
    if (Exists(g_UsbState.usbDevPath)) {
        const bool front = (g_UsbState.statusC.load() & kFrontState) != 0;
        if (front != mounted) g_UsbState.statusC.fetch_xor(kFrontState);
    } else {
        g_UsbState.usbDevPath[0] = '\0';
        SetMounted(false);  // before the umount: no file operation starts on a vanishing stick
        if (mounted) plat::System("umount /mnt/sd1\n");
        g_UsbState.usbAccessError.store(0);
        g_UsbState.usbMountRetries.store(0);
        g_mountStep = kStepUnmounted;
    }
    g_mountWait = kCheckWait;
    return 0;
}

StepRow g_rows[kStepRows] = {
    {{0}, {0}, StepRowIdle}, {{0}, {0}, UsbMemSm_Init}, {{0}, {0}, UsbMemSm_Poll},
    {{0}, {0}, StepRowIdle}, {{0}, {0}, StepRowIdle},   {{0}, {0}, StepRowIdle},
};

}  // namespace

StepObj g_UsbMemSm{{1}, {kMsgInit}, g_rows};

int32_t UsbMem_MountCheck() {
    if (g_mountWait >= 1) return --g_mountWait;
    return g_mountStep == kStepUnmounted ? CheckUnmounted() : CheckMounted();
}

int32_t UsbMemSm_Init(StepRow* row, uint32_t msg) {
    if (g_startDelay >= 1) {
        --g_startDelay;
    } else if (msg == kMsgInit) {
        g_UsbState.statusC.fetch_and(static_cast<uint8_t>(~kFrontState));
        g_UsbState.usbAccessError.store(0);
        g_UsbState.usbMountRetries.store(0);
        g_mountWait = 0;
        g_mountStep = kStepUnmounted;
        g_startDelay = kStartDelay;
        UsbPortSeqReset();
        StepObjPostState(2, kMsgPoll, row);
    }
    return static_cast<int32_t>(msg);
}

int32_t UsbMemSm_Poll(StepRow*, uint32_t msg) {
    if (g_startDelay >= 1) {
        --g_startDelay;
    } else if (msg == kMsgPoll) {
        if (UsbMem_MountCheck() != 0 && UsbDev_ModeSequencer() != 0) UsbGpib_Sequencer();
    }
    return static_cast<int32_t>(msg);
}

int32_t UsbMemSm_Run() {
    return StepObjRun(&g_UsbMemSm);
}

void UsbMemSmReset() {
    StepObjRewind(&g_UsbMemSm, 1, kMsgInit);
    g_mountWait = 0;
    g_mountStep = kStepUnmounted;
    g_startDelay = kStartDelay;
    UsbPortSeqReset();
}

int32_t UsbUmount() {
    for (const char* cmd : {"umount /mnt/sd1", "umount /dev/sda1", "umount /dev/sda"}) {
        plat::System(cmd);
        plat::System("sync");
        plat::SleepMs(1000);
    }
    return 0;
}
