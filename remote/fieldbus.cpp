#include "remote/fieldbus.h"

#include <atomic>
#include <cstdio>

#include "core/system/config/iface_cfg.h"
#include "core/system/messaging/msg_queue.h"
#include "core/system/state/sys_status.h"
#include "core/system/state/thread_ctl.h"
#include "platform/host/clock.h"

namespace {

// The card the default setting detected on the menu/control thread (its detect lines are exported and
// read there once, not again here): 3, 2 or 1 by the line that reads present, 0 for none. Read once that
// thread runs; a menu/control thread that does not come up within 5 s leaves no card.
int InstalledCard() {
    for (int i = 0; i < 250 && !SysStatusTest(kSysMenuThreadRunning); ++i)
        plat::SleepMs(20);
    if (!SysStatusTest(kSysMenuThreadRunning)) return 0;
    auto present = [](storage::CardLine line) {
        return std::atomic_ref<uint32_t>(g_IfaceCfg.cardPresent[line]).load(std::memory_order_acquire) == 1;
    };
    if (present(storage::kCardLine106)) return 3;
    if (present(storage::kCardLine17)) return 2;
    if (present(storage::kCardLine101)) return 1;
    return 0;
}

}  // namespace

void* FieldbusThread(void*) {
    g_ThreadCtl.running[kRunFieldbus].store(1);
    MsgQueueInit();
    int card = InstalledCard();
    if (card == 0 || MsgQueueStat() != 0) {
        std::printf("FieldbusThread: no CAN card, ending\n");
        std::fflush(stdout);
        g_ThreadCtl.running[kRunFieldbus].store(0);
        return nullptr;
    }
    // A card was found, but neither the DeviceNet slave nor the CANopen application exists yet.
    core::IdleWhileRunning(kRunFieldbus);
    return nullptr;
}

void* ModbusThread(void*) {
    MsgQueueInit();
    // The Modbus server is not served yet; the thread lives as long as the process and, with nothing to
    // look at, wakes once a second.
    for (;;)
        plat::SleepMs(1000);
    return nullptr;
}
