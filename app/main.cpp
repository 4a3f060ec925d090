#include <malloc.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/supervisor.h"
#include "core/system/messaging/msg_queue.h"
#include "panel/pages/text_log.h"
#include "platform/host/device_node.h"
#include "platform/host/options.h"
#include "platform/host/reexec.h"
#include "platform/host/root.h"
#include "platform/host/root_lock.h"
#include "platform/host/root_provision.h"
#include "platform/host/stop_signal.h"
#include "platform/panel_channel/panel_channel.h"
#include "platform/sandbox/sandbox.h"
#include "platform/stage/power_stage_sim.h"
#include "scpi/channels/ports/lan_channel.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#define VRN_LEAK_CHECK 1
#endif

namespace {
// A stop is the unit's power switch: the settings are saved as a power-off saves them, and a save that
// does not end within this time ends the program with an error instead of hanging it.
constexpr uint32_t kStopSaveMs = 5000;
constexpr uint32_t kStopWaiterEndMs = 1000;
constexpr int kMallocArenas = 2;

const char* StopName() {
    return plat::StopSignalNumber() == SIGINT ? "SIGINT" : "SIGTERM";
}
}  // namespace

int main(int argc, char** argv) {
    // The allocator would give each thread that meets another in it a heap of its own: the web servers'
    // workers, each making a screen picture, then keep ~200 MB resident for good, where two heaps hold
    // the same load in ~35 MB (bench/system/capture_rss_bench). Set before any thread exists.
    mallopt(M_ARENA_MAX, kMallocArenas);
    int rc = plat::ParseOptions(argc, argv);
    if (rc != 0) return rc > 0 ? 0 : 2;

    plat::SetRoot(plat::GetOptions().root);
    std::error_code rootEc;
    const bool newRoot = !std::filesystem::exists(plat::Root(), rootEc) && !rootEc;
    if (plat::PrepareRoot() != 0) {
        std::fprintf(stderr, "vrn-controller: cannot make the instrument root %s: %s\n", plat::Root().c_str(),
                     std::strerror(errno));
        return 1;
    }
    // One controller per root: a second one would split the panel keys, the command log and the ports.
    pid_t holder = 0;
    if (plat::LockRoot(&holder) != 0) {
        if (errno == EWOULDBLOCK) {
            std::string by = holder > 0 ? " (pid " + std::to_string(holder) + ")" : "";
            std::fprintf(stderr, "vrn-controller: the instrument root %s is in use by another controller%s\n",
                         plat::Root().c_str(), by.c_str());
        } else {
            std::fprintf(stderr, "vrn-controller: cannot lock the instrument root %s: %s\n",
                         plat::Root().c_str(), std::strerror(errno));
        }
        return 1;
    }
    // The unit boots: nothing the last run mounted is mounted now (a stick left in is mounted again by
    // the USB memory watch, with its files).
    plat::SandboxBoot();
    // One controller per port offset: a second one would take no client of its own. Who holds a taken port
    // is not known here (a controller on this root would have been refused by the root's lock above), so
    // the message names the port and no holder.
    if (int busy = scpi::LanClaimPorts(); busy != 0) {
        const int error = errno;
        const char* role = busy == plat::Port(scpi::kLanScpiPort) ? "SCPI port" : "LAN restart port";
        if (error == EADDRINUSE) {
            std::fprintf(stderr,
                         "vrn-controller: port %d (%s) is held by another program: choose another "
                         "--port-offset than %d\n",
                         busy, role, plat::GetOptions().portOffset);
        } else {
            std::fprintf(stderr, "vrn-controller: cannot listen on port %d (%s): %s\n", busy, role,
                         std::strerror(error));
        }
        // A root made by this refused start holds nothing of a unit: it would only pass for one later.
        if (newRoot) std::filesystem::remove_all(plat::Root(), rootEc);
        return 1;
    }
    int stale = core::MsgQueueUseKey(plat::RootIpcKey());
    if (stale >= 0)
        std::printf("message queue: removed id %d, left by a killed controller of this root\n", stale);
    if (MsgQueueInit() != 0) {
        std::fprintf(stderr,
                     "vrn-controller: cannot create the message queue of the instrument root %s: %s\n",
                     plat::Root().c_str(), std::strerror(errno));
        return 1;
    }
    // Before any thread exists, so that every thread inherits the block and only the waiter below
    // takes the signals.
    plat::BlockStopSignals();
    std::printf("vrn-controller: instrument root %s\n", plat::Root().c_str());
    std::printf("message queue: id %d key 0x%08x\n", g_MsgQueueId.load(),
                static_cast<unsigned>(core::MsgQueueKey()));
    std::fflush(stdout);
    plat::StopWaiterStart();

    if (plat::GetOptions().textLog) {
        const std::string log = plat::MapPath("/var/log/gui-text.log");
        if (TextLog_Start(log) != 0)
            std::fprintf(stderr, "text log %s: %s\n", log.c_str(), std::strerror(errno));
    }
    // The stand-ins of the serial and USB device nodes: a client finds their other sides in the list.
    if (plat::DeviceNodesStart() == 0) {
        std::printf("device ports (%s):\n%s", plat::MapPath("/var/run/ports").c_str(),
                    plat::DevicePortsText().c_str());
    } else {
        std::fprintf(stderr, "device ports: %s\n", std::strerror(errno));
    }
    std::fflush(stdout);
    // Only tests read the stage's trace of transfers; the running program would keep one for nobody, a
    // push on every transfer of every pass.
    plat::PowerStage().SetTraceCapacity(0);
    if (!SystemStartup()) {
        // Stopped before the threads ran: nothing was changed, so nothing is saved.
        core::MsgQueueClose();
        std::printf("vrn-controller: stopped by %s during the start-up\n", StopName());
        std::fflush(stdout);
        _exit(0);
    }
    const std::string panel = plat::MapPath("/var/run/panel");
    plat::PanelChannelAddVerb("load", plat::PowerStageLoadCommand);
    if (plat::PanelChannelStart(panel) == 0) {
        std::printf("panel channel: %s\n", panel.c_str());
    } else {
        std::fprintf(stderr, "panel channel %s: %s\n", panel.c_str(), std::strerror(errno));
    }
    std::fflush(stdout);

    SupervisorLoop();
    // A reboot, its save done, starts the unit's program again. The stop signal's waiter ends first: a stop
    // it took up to then is seen here, and one that comes later stays blocked and pending across the exec
    // for the new image to take. A power switch in between is never lost.
    if (!plat::StopRequested() && !plat::StopWaiterEnd(kStopWaiterEndMs))
        std::fprintf(stderr, "vrn-controller: the stop signal's waiter did not end before the reboot\n");
    if (!plat::StopRequested()) {
        core::MsgQueueClose();
        std::printf("vrn-controller: rebooting: the program starts again\n");
        std::fflush(stdout);
        plat::ReExecSelf(argv);
        std::fprintf(stderr, "vrn-controller: cannot start again for the reboot: %s\n", std::strerror(errno));
        _exit(1);
    }
    if (!SupervisorStopSave(kStopSaveMs)) {
        std::fprintf(stderr, "vrn-controller: stopped by %s, but the settings were not saved within %u ms\n",
                     StopName(), kStopSaveMs);
        core::MsgQueueClose();
        _exit(1);
    }

    // The threads never end by themselves: leave without running destructors under them, and take the
    // instrument's message queue along.
    core::MsgQueueClose();
    std::printf("vrn-controller: stopped by %s\n", StopName());
    std::fflush(stdout);
#if VRN_LEAK_CHECK
    // _exit skips LeakSanitizer's check at exit: run it here, while every thread still holds what it uses.
    if (__lsan_do_recoverable_leak_check() != 0) _exit(1);
#endif
    _exit(0);
}
