// How long one RS232 poll step holds the supervisor loop: idle on an open line, and through restarts
// (close, pause, open with new settings). "max_us" is the longest single step seen.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "core/system/config/iface_cfg.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"
#include "platform/host/device_node.h"
#include "scpi/channels/ports/uart_channel.h"
#include "tests/support/temp_root.h"

namespace {

struct OpenChannel {
    OpenChannel() {
        plat::DeviceNodesStart();
        SysStatusSet(kSysMenuThreadRunning);  // the stored settings are loaded
        g_IfaceCfg.rs232Enable = 1;
        g_IfaceCfg.rs232Baud = 3;
        g_IfaceCfg.rs232DataBits = 1;
        UartInterfaceInit();
        for (int i = 0; i < 1000 && scpi::UartPort()->isOpen == 0; ++i)
            UartPollStep();
    }
    ~OpenChannel() { plat::DeviceNodesStop(); }
    testsupport::TempRoot root;
};

double TimedStepUs() {
    const auto start = std::chrono::steady_clock::now();
    UartPollStep();
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
}

void BM_UartPollStepIdle(benchmark::State& state) {
    OpenChannel channel;
    double worst = 0;
    for (auto _ : state)
        worst = std::max(worst, TimedStepUs());
    state.counters["max_us"] = worst;
}
BENCHMARK(BM_UartPollStepIdle);

// One iteration: a restart request and the steps until the line is open again with the other speed.
void BM_UartPollStepRestart(benchmark::State& state) {
    OpenChannel channel;
    plat::SetTimeScale(1000);  // the 500 ms pause passes in half a millisecond
    double worst = 0;
    int64_t steps = 0;
    for (auto _ : state) {
        g_IfaceCfg.rs232Baud = g_IfaceCfg.rs232Baud == 3 ? 4 : 3;
        UartChannelRestart();
        do {
            worst = std::max(worst, TimedStepUs());
            ++steps;
        } while (scpi::UartPollState() != 3 || scpi::UartPort()->isOpen == 0);
    }
    plat::SetTimeScale(1);
    state.counters["max_us"] = worst;
    state.counters["steps"] = benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_UartPollStepRestart)->Iterations(200);

}  // namespace
