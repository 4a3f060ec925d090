#include "panel/hardcopy/hardcopy_sync.h"

#include <atomic>

#include "platform/host/clock.h"

namespace {

// The copier numbers its questions and the GUI thread echoes the last number it has seen. A number
// rather than a flag: an answer left over from the last copy would wave the next one through mid-paint.
std::atomic<uint32_t> g_asked{0};
std::atomic<uint32_t> g_answered{0};

}  // namespace

namespace panel {

void HardcopyGuiStandsStill() {
    // A question seen here was asked after the pending bit (or the web capture flag) was set, and only the
    // copier clears it: every later pass of this thread sees it set and draws nothing.
    g_answered.store(g_asked.load(std::memory_order_acquire), std::memory_order_release);
}

bool HardcopyWaitGuiStill(uint32_t timeoutMs) {
    const uint32_t question = g_asked.fetch_add(1, std::memory_order_acq_rel) + 1;
    const uint64_t deadline = plat::NowMs() + timeoutMs;
    while (g_answered.load(std::memory_order_acquire) != question) {
        if (plat::NowMs() >= deadline) return false;
        plat::SleepMs(1);
    }
    return true;
}

}  // namespace panel
