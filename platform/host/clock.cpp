#include "platform/host/clock.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace plat {
namespace {

using Clock = std::chrono::steady_clock;

// The instrument clock is piecewise linear in the host clock: it runs at `scale` since `anchorHost`,
// where it read `anchorUs`. Changing the scale re-anchors it, so the clock never jumps back.
struct TimeBase {
    Clock::time_point anchorHost = Clock::now();
    uint64_t anchorUs = 0;
    double scale = 1.0;
};

// Readers take the current base without a lock, so bases are never freed: a reader may still hold
// an old one, even while the process exits. They stay reachable from this list; the scale changes a
// handful of times per test process.
TimeBase* NewBase(const TimeBase& base) {
    static auto* bases = new std::vector<TimeBase*>;
    bases->push_back(new TimeBase(base));
    return bases->back();
}

std::mutex g_setMutex;
std::atomic<TimeBase*> g_base{NewBase(TimeBase{})};
std::atomic<uint64_t> g_lastUs{0};  // the latest reading handed out

uint64_t InstrumentUs(const TimeBase& base, Clock::time_point now) {
    auto hostUs = std::chrono::duration_cast<std::chrono::microseconds>(now - base.anchorHost).count();
    if (hostUs < 0) hostUs = 0;  // `now` was taken just before a newer base was made
    return base.anchorUs + static_cast<uint64_t>(static_cast<double>(hostUs) * base.scale);
}

}  // namespace

void SetTimeScale(double factor) {
    if (factor < 1.0) factor = 1.0;
    std::lock_guard<std::mutex> lock(g_setMutex);
    auto now = Clock::now();
    g_base.store(NewBase(TimeBase{now, InstrumentUs(*g_base.load(), now), factor}));
}

double TimeScale() {
    return g_base.load()->scale;
}

uint64_t NowUs() {
    const TimeBase& base = *g_base.load();
    uint64_t now = InstrumentUs(base, Clock::now());
    // A reader still on the previous base of a scale change may have run ahead of the new base:
    // no reading is ever earlier than one handed out before.
    uint64_t last = g_lastUs.load(std::memory_order_relaxed);
    while (now > last && !g_lastUs.compare_exchange_weak(last, now, std::memory_order_relaxed)) {
    }
    return now > last ? now : last;
}

uint64_t NowMs() {
    return NowUs() / 1000;
}

namespace {
void SleepForUs(uint64_t us) {
    double scaled = static_cast<double>(us) / g_base.load()->scale;
    std::this_thread::sleep_for(std::chrono::microseconds(static_cast<int64_t>(scaled)));
}
}  // namespace

void SleepUs(uint32_t us) {
    SleepForUs(us);
}

void SleepMs(uint32_t ms) {
    SleepForUs(static_cast<uint64_t>(ms) * 1000u);
}

}  // namespace plat
