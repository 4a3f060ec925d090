#include "platform/panel_channel/panel_sync.h"

#include <atomic>
#include <cstdio>

#include "platform/devices/panel_sim.h"

namespace plat {

namespace {
std::atomic<uint32_t> g_syncAsked{0};
// Quiet updates in a row since the last busy one or the last request.
std::atomic<uint32_t> g_quietRuns{0};
}  // namespace

int PanelSyncCommand(const std::string& args, std::string* error) {
    if (!args.empty()) {
        if (error) *error = "sync takes no argument";
        return -1;
    }
    g_quietRuns.store(0, std::memory_order_relaxed);
    g_syncAsked.store(1, std::memory_order_release);
    return 0;
}

void PanelSyncPageUpdated(bool quiet) {
    if (!quiet || PanelSimPending() != 0) {
        g_quietRuns.store(0, std::memory_order_relaxed);
        return;
    }
    const uint32_t runs = g_quietRuns.fetch_add(1, std::memory_order_relaxed) + 1;
    if (runs < 2) return;
    uint32_t asked = 1;
    if (!g_syncAsked.compare_exchange_strong(asked, 0, std::memory_order_acq_rel)) return;
    std::printf("panel: synced\n");
    std::fflush(stdout);
}

}  // namespace plat
