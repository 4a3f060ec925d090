#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>

#include "core/msg_queue.h"
#include "core/supervisor.h"
#include "platform/options.h"
#include "platform/panel_channel.h"

namespace {
std::atomic<bool> g_stop{false};
void OnSignal(int) {
    g_stop.store(true);
}
}  // namespace

int main(int argc, char** argv) {
    int rc = plat::ParseOptions(argc, argv);
    if (rc != 0) return rc > 0 ? 0 : 2;
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    SystemStartup();
    const std::string panel = plat::GetOptions().root + "/var/run/panel";
    if (plat::PanelChannelStart(panel) == 0) {
        std::printf("panel channel: %s\n", panel.c_str());
    } else {
        std::perror("panel channel");
    }
    std::fflush(stdout);
    SupervisorLoop(&g_stop);
    // The threads never end by themselves: leave without running destructors under them, and take the
    // instrument's message queue along.
    core::MsgQueueRemove();
    std::fflush(stdout);
    _exit(0);
}
