#include "remote/fieldbus.h"

#include <cstdio>

#include "core/system/iface_card_detect.h"
#include "core/system/msg_queue.h"
#include "core/system/thread_ctl.h"
#include "platform/clock.h"

void* FieldbusThread(void*) {
    g_ThreadCtl.running[kRunFieldbus].store(1);
    MsgQueueInit();
    int card = IfaceCardDetect();
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
    // The Modbus server is not served yet; the thread lives as long as the process.
    for (;;)
        plat::SleepMs(20);
    return nullptr;
}
