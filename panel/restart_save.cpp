#include "panel/restart_save.h"

#include <atomic>
#include <cstdio>

#include "core/system/state/sys_status.h"
#include "drivers/board_lines.h"
#include "drivers/panel_link.h"
#include "platform/host/clock.h"
#include "platform/host/stop_signal.h"
#include "platform/sandbox/sandbox.h"
#include "storage/nv/settings_backup.h"
#include "sysadmin/usb/usb_memory.h"

namespace {
// Time the unmounted USB memory gets before the reboot.
constexpr uint32_t kRebootSettleMs = 1000;

// Each written by one thread: the request by the stopping thread, the completion by the menu thread.
std::atomic<bool> g_stopSaveAsked{false};
std::atomic<bool> g_stopSaveDone{false};
// Written and read by the menu thread (tests reset it from theirs).
std::atomic<bool> g_rebootSaved{false};

void StopSaveStep() {
    if (!g_stopSaveAsked.load(std::memory_order_acquire) || g_stopSaveDone.load(std::memory_order_relaxed))
        return;
    SettingsBackupSaveAll();
    std::printf("MenuThread: settings saved for the stop\n");
    std::fflush(stdout);
    g_stopSaveDone.store(true, std::memory_order_release);
}
}  // namespace

void StopSaveRequest() {
    g_stopSaveAsked.store(true, std::memory_order_release);
}

bool StopSaveDone() {
    return g_stopSaveDone.load(std::memory_order_acquire);
}

bool SetCommandsClosed() {
    return StopSaveDone() || g_rebootSaved.load(std::memory_order_relaxed);
}

void RestartSaveStep() {
    StopSaveStep();
    if (!SysStatusTest(kSysRestartPending) || SysStatusTest(kSysRestartHandled)) return;
    const bool reboot = SysStatusTest(kSysRebootRequest);
    SettingsBackupSaveAll();
    if (reboot) g_rebootSaved.store(true, std::memory_order_relaxed);
    GpibResetLineSet(1);
    SysStatusSet(kSysRestartHandled);
    std::printf("MenuThread: settings saved for the restart\n");
    std::fflush(stdout);
    if (reboot) {
        UsbUmount();
        plat::SleepMs(kRebootSettleMs);
        // The panel controller shows the application as stopped before the process goes.
        SpiAuxWrite1(0);
        plat::System("reboot");
        // The command above is only recorded: on this host the program itself starts again.
        plat::RequestRestart();
    }
}

namespace panel {
void StopSaveReset() {
    g_stopSaveAsked.store(false, std::memory_order_release);
    g_stopSaveDone.store(false, std::memory_order_release);
    g_rebootSaved.store(false, std::memory_order_relaxed);
}
}  // namespace panel
