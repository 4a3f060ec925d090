#include "scpi/scpi_threads.h"

#include "core/thread_table.h"
#include "platform/clock.h"

// The channel loops are not served yet. Each thread keeps the running word and the interface control
// word as its channel will, so that the supervisor's start and stop requests work already.

void* UsbDevThread(void*) {
    core::IdleWhileRunning(kRunUsbDev);
    return nullptr;
}

void* UsbGpibThread(void*) {
    core::IdleWhileRunning(kRunUsbGpib);
    return nullptr;
}

// No restart listener yet: nothing can request a LAN restart, and the thread ends.
void* LanRestartThread(void*) {
    return nullptr;
}

void* LanConnThread(void*) {
    // Serves only while its running word is 1; a stop request clears it and the start request sets it
    // again. Cancelled and joined by the supervisor for a LAN restart (the sleep is a cancellation point).
    g_ThreadCtl.running[kRunLanConn].store(1);
    for (;;) {
        if (g_ThreadCtl.control.load() == kIfaceStop) g_ThreadCtl.running[kRunLanConn].store(0);
        plat::SleepMs(10);
    }
    return nullptr;
}

void* LanAcceptThread(void*) {
    for (;;)
        plat::SleepMs(20);
    return nullptr;
}
