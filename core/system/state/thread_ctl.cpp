#include "core/system/state/thread_ctl.h"

#include "platform/host/clock.h"

ThreadCtl g_ThreadCtl{};
std::atomic<uint32_t> g_LanRestartReq{0};

namespace core {
namespace {
constexpr uint32_t kIdleWatchMs = 50;
}  // namespace

void IdleWhileRunning(RunningWord word) {
    g_ThreadCtl.running[word].store(1);
    // Nothing to serve yet: only the stop request is watched, and a stop may take this long to be seen.
    while (g_ThreadCtl.control.load() != kIfaceStop)
        plat::SleepMs(kIdleWatchMs);
    g_ThreadCtl.running[word].store(0);
}

}  // namespace core
