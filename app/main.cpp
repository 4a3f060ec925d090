#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <thread>

#include "app/supervisor.h"
#include "core/system/msg_queue.h"
#include "platform/options.h"
#include "platform/panel_channel.h"
#include "platform/root.h"
#include "platform/stop_signal.h"

namespace {
std::atomic<bool> g_stop{false};
std::atomic<int> g_stopSignal{0};
}  // namespace

int main(int argc, char** argv) {
    int rc = plat::ParseOptions(argc, argv);
    if (rc != 0) return rc > 0 ? 0 : 2;

    plat::SetRoot(plat::GetOptions().root);
    if (plat::PrepareRoot() != 0) {
        std::fprintf(stderr, "vrn-controller: cannot make the instrument root %s: %s\n", plat::Root().c_str(),
                     std::strerror(errno));
        return 1;
    }
    // Before any thread exists, so that every thread inherits the block and only the waiter below
    // takes the signals.
    plat::BlockStopSignals();
    std::printf("vrn-controller: instrument root %s\n", plat::Root().c_str());
    std::fflush(stdout);
    std::thread([] {
        pthread_setname_np(pthread_self(), "StopSignal");
        g_stopSignal.store(plat::WaitStopSignal());
        g_stop.store(true);
    }).detach();

    SystemStartup();
    const std::string panel = plat::MapPath("/var/run/panel");
    if (plat::PanelChannelStart(panel) == 0) {
        std::printf("panel channel: %s\n", panel.c_str());
    } else {
        std::fprintf(stderr, "panel channel %s: %s\n", panel.c_str(), std::strerror(errno));
    }
    std::fflush(stdout);

    SupervisorLoop(&g_stop);

    // The threads never end by themselves: leave without running destructors under them, and take the
    // instrument's message queue along.
    core::MsgQueueRemove();
    std::printf("vrn-controller: stopped by %s\n", g_stopSignal.load() == SIGINT ? "SIGINT" : "SIGTERM");
    std::fflush(stdout);
    _exit(0);
}
