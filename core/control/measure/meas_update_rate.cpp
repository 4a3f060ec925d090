// Pacing of the measurement display: the timer thread's 2 ms tick raises the refresh bit once per chosen
// period.
#include <atomic>
#include <iterator>

#include "core/control/measure/measurement.h"

std::atomic<uint32_t> g_MeasRefreshFlags{0};

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

// The period of each choice "Fast|0.1s|0.25s|0.5s|1s|2s|5s|10s|20s" in 2 ms ticks: the refresh comes on
// one tick of every period, so the countdown reloads with the period less the tick that raises it.
constexpr uint32_t kRatePeriodTicks[] = {2, 50, 125, 250, 500, 1000, 2500, 5000, 10000};
constexpr uint32_t kFastPeriodTicks = kRatePeriodTicks[0];

std::atomic<uint32_t> g_rateCountdown{0};
std::atomic<uint32_t> g_rateReload{kFastPeriodTicks - 1};

}  // namespace

void MeasUpdateRate_Set(int32_t index) {
    const bool known = index >= 0 && index < static_cast<int32_t>(std::size(kRatePeriodTicks));
    g_rateReload.store((known ? kRatePeriodTicks[index] : kFastPeriodTicks) - 1, kRelaxed);
    g_rateCountdown.store(0, kRelaxed);
}

void MeasUpdateRate_Tick() {
    uint32_t c = g_rateCountdown.load(kRelaxed);
    for (;;) {
        if (c == 0) {
            // A period chosen meanwhile restarts the countdown itself; this tick only raises the bit.
            g_MeasRefreshFlags.fetch_or(kMeasRefreshDue, std::memory_order_release);
            g_rateCountdown.compare_exchange_strong(c, g_rateReload.load(kRelaxed), kRelaxed);
            return;
        }
        if (g_rateCountdown.compare_exchange_weak(c, c - 1, kRelaxed)) return;
    }
}

namespace core {
void MeasUpdateRateReset() {
    g_rateReload.store(kFastPeriodTicks - 1, kRelaxed);
    g_rateCountdown.store(0, kRelaxed);
    g_MeasRefreshFlags.store(0, kRelaxed);
}
}  // namespace core
