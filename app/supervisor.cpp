#include "app/supervisor.h"

#include <cstdio>

#include "app/hw_init.h"
#include "app/layer_hooks.h"
#include "app/provision.h"
#include "app/sim_verbs.h"
#include "app/thread_table.h"
#include "core/control/sys_event.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/messaging/msg_queue.h"
#include "core/system/state/sys_status.h"
#include "drivers/board_lines.h"
#include "drivers/panel_link.h"
#include "drivers/speaker.h"
#include "drivers/spi_device.h"
#include "panel/hardcopy/hardcopy.h"
#include "panel/panel_services.h"
#include "panel/restart_save.h"
#include "platform/host/clock.h"
#include "platform/host/stop_signal.h"
#include "platform/sandbox/sandbox.h"
#include "remote/fieldbus.h"
#include "remote/web_server.h"
#include "scpi/channels/ports/uart_channel.h"
#include "scpi/channels/scpi_channels.h"
#include "scpi/channels/scpi_threads.h"
#include "storage/raw_file.h"
#include "sysadmin/net/net_dhcp.h"
#include "sysadmin/net/net_monitor.h"
#include "sysadmin/sys_versions.h"
#include "sysadmin/system_helpers.h"

namespace {

// Cancels and joins one LAN thread unless it was joined already: when only one of the two joins
// fails, the retry on the next pass must not join the other thread a second time.
void StopLanThread(core::KeptThread& t) {
    if (!t.started || t.joined) return;
    core::g_ThreadOps.cancel(t.handle);
    plat::System("sync");
    if (core::g_ThreadOps.join(t.handle, nullptr) == 0) t.joined = true;
}

bool LanThreadGone(const core::KeptThread& t) {
    return !t.started || t.joined;
}

void LanRestart() {
    WebServerStop();
    StopLanThread(core::g_LanConnThread);
    StopLanThread(core::g_LanAcceptThread);
    if (LanThreadGone(core::g_LanConnThread) && LanThreadGone(core::g_LanAcceptThread)) {
        plat::SleepMs(5);
        g_LanRestartReq.store(0);
        StartThread(LanConnThread, kPolicyRr, 9);
        plat::SleepMs(100);
        StartThread(LanAcceptThread, kPolicyRr, 2);
        plat::SleepMs(100);
        if (LanCfgRead().DHCP == 1) {
            DhcpStart();
            NetScriptRun(0);
        }
        StartThread(LanRestartThread, kPolicyRr, 8);
    }
    plat::SleepMs(100);
}

void InterfaceStop() {
    g_ThreadCtl.running[kRunRs232].store(0);
    g_ThreadCtl.running[kRunModbus].store(0);
    for (const auto& word : g_ThreadCtl.running) {
        if (word.load() != 0) return;
    }
    g_ThreadCtl.control.store(kIfaceIdle);
}

void InterfaceStart() {
    StartThread(UsbDevThread, kPolicyRr, 6);
    plat::SleepMs(100);
    g_ThreadCtl.running[kRunRs232].store(1);
    StartThread(UsbGpibThread, kPolicyRr, 4);
    plat::SleepMs(100);
    StartThread(WebServerThread80, kPolicyRr, 12);
    plat::SleepMs(100);
    StartThread(WebServerThread81, kPolicyRr, 12);
    plat::SleepMs(100);
    StartThread(FieldbusThread, kPolicyRr, 11);
    plat::SleepMs(100);
    g_ThreadCtl.running[kRunModbus].store(1);
    g_ThreadCtl.running[kRunLanConn].store(1);
    g_ThreadCtl.control.store(kIfaceIdle);
}

}  // namespace

void SupervisorPass() {
    if (g_ThreadCtl.running[kRunRs232].load() == 1) UartPollStep();
    if (g_LanRestartReq.load() == 1) LanRestart();
    if (g_ThreadCtl.control.load() == kIfaceStop) InterfaceStop();
    if (g_ThreadCtl.control.load() == kIfaceStart) InterfaceStart();
    if (Hardcopy_IsPending()) {
        Hardcopy_Run();
        plat::SleepMs(2);
        return;
    }
    NetMonitor();
    SysEvent_Run();
    if (g_WebScreenCopyOwner.load() != 0) {
        plat::SleepMs(5);
    } else if (SysEvent_HasWork() != 0 || g_ThreadCtl.running[kRunRs232].load() == 1) {
        // The board counts to 250,000 here without sleeping; a sleep of about that length paces the
        // system object's steps (an operation-complete wait counts them) and the RS232 polling.
        plat::SleepUs(core::kSupervisorIdleUs);
    } else {
        // Nothing to pace: the loop rests until an event is pushed. Requests of other threads (a LAN
        // restart, a screen copy, an interface start or stop) are seen at the latest after the rest.
        SysEvent_WaitUntilUs(plat::NowUs() + core::kSupervisorRestUs);
    }
}

void SupervisorLoop() {
    while (!plat::StopRequested() && !plat::RestartRequested())
        SupervisorPass();
}

bool SupervisorStopSave(uint32_t timeoutMs) {
    StopSaveRequest();
    const uint64_t deadline = plat::NowMs() + timeoutMs;
    // The supervisor's own work goes on meanwhile: the menu thread's pass waits, for one, for a pending
    // screen copy that only the supervisor writes.
    while (!StopSaveDone()) {
        if (plat::NowMs() >= deadline) return false;
        SupervisorPass();
    }
    return true;
}

bool SystemStartup() {
    WireLayerHooks();
    IpcSemInit();
    MsgQueueInit();
    SpeakerInit();
    scpiStatusBlockInit(&scpi::g_StatusUsb);
    scpiStatusBlockInit(&scpi::g_StatusLan);
    scpiStatusBlockInit(&scpi::g_StatusUart);
    scpiStatusBlockInit(&scpi::g_StatusGpib);
    scpiStatusBlockInit(&scpi::g_StatusWeb);
    SharedBufInit();
    // Before any thread writes a stored file: the temporaries a power cut left in the internal store go.
    RawFileClearStaleTemps();
    // Before the bring-up: the waveform memory loads the factory waves of a new root.
    ProvisionNewUnit();
    if (HwInit() != 0) return false;
    SpiPanelOpen();
    SpiAuxWrite1(1);
    SysVersionsRead();
    VersionWordsRead();
    SysStatusClear(kSysMenuThreadRunning);
    g_LanRestartReq.store(0);
    PeripheralResetPulse();
    if (plat::StopRequested()) return false;
    AddSimulationVerbs();
    StartThreadTable();
    UartInterfaceInit();
    return true;
}
