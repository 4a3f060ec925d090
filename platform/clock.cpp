#include "platform/clock.h"

#include <atomic>
#include <chrono>
#include <thread>

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

std::atomic<TimeBase*> g_base{new TimeBase};

uint64_t InstrumentUs(const TimeBase& base, Clock::time_point now) {
    auto hostUs = std::chrono::duration_cast<std::chrono::microseconds>(now - base.anchorHost).count();
    return base.anchorUs + static_cast<uint64_t>(static_cast<double>(hostUs) * base.scale);
}

}  // namespace

void SetTimeScale(double factor) {
    if (factor < 1.0) factor = 1.0;
    TimeBase* old = g_base.load();
    auto now = Clock::now();
    // The previous base is kept alive: a reader may still hold it. Scale changes happen a handful of
    // times per test process, so the few bytes this keeps are of no account.
    g_base.store(new TimeBase{now, InstrumentUs(*old, now), factor});
}

double TimeScale() { return g_base.load()->scale; }

uint64_t NowUs() { return InstrumentUs(*g_base.load(), Clock::now()); }

uint64_t NowMs() { return NowUs() / 1000; }

namespace {
void SleepForUs(uint64_t us) {
    double scaled = static_cast<double>(us) / g_base.load()->scale;
    std::this_thread::sleep_for(std::chrono::microseconds(static_cast<int64_t>(scaled)));
}
}  // namespace

void SleepUs(uint32_t us) { SleepForUs(us); }

void SleepMs(uint32_t ms) { SleepForUs(static_cast<uint64_t>(ms) * 1000u); }

}  // namespace plat
