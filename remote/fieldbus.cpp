#include "remote/fieldbus.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>

#include "core/system/config/iface_cfg.h"
#include "core/system/links/thread_ctl.h"
#include "core/system/messaging/msg_queue.h"
#include "core/system/state/sys_status.h"
#include "platform/devices/can_bus.h"
#include "platform/host/clock.h"
#include "platform/host/options.h"
#include "remote/modbus/modbus_server.h"

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

void FieldbusEnd(const char* why) {
    std::printf("FieldbusThread: %s, ending\n", why);
    std::fflush(stdout);
    g_ThreadCtl.running[kRunFieldbus].store(0);
}

}  // namespace

void* FieldbusThread(void*) {
    g_ThreadCtl.running[kRunFieldbus].store(1);
    MsgQueueInit();
    int card = InstalledCard();
    if (card == 0 || MsgQueueStat() != 0) {
        FieldbusEnd("no CAN card");
        return nullptr;
    }
    std::printf("FieldbusThread: CAN card %d\n", card);
    std::fflush(stdout);
    // Neither the DeviceNet slave nor the CANopen application is built: an interface found has nothing
    // to run.
    const int can = plat::CanInterfaceOpen("can0");
    if (can >= 0) close(can);
    FieldbusEnd(can < 0 ? "no CAN interface" : "no CAN application");
    return nullptr;
}

void* ModbusThread(void*) {
    MsgQueueInit();
    // The thread serves from its start, as the interface start request would have it; a stop request
    // clears the word and a start request sets it again.
    g_ThreadCtl.running[kRunModbus].store(1, std::memory_order_release);
    remote::ModbusServer server;
    if (!remote::ModbusServerInit(&server, plat::Port(502))) {
        std::fprintf(stderr, "ModbusThread: cannot make the Modbus context\n");
        for (;;)
            plat::SleepMs(1000);
    }
    for (;;)
        remote::ModbusServerPass(&server);
}
