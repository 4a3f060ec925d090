#include "core/system/thread_ctl.h"

#include "platform/clock.h"

ThreadCtl g_ThreadCtl{};
std::atomic<uint32_t> g_LanRestartReq{0};

namespace core {

void IdleWhileRunning(RunningWord word) {
    g_ThreadCtl.running[word].store(1);
    while (g_ThreadCtl.control.load() != kIfaceStop)
        plat::SleepMs(10);
    g_ThreadCtl.running[word].store(0);
}

}  // namespace core
