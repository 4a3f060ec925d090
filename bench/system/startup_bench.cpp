// Where a start goes, up to the first SCPI reply: the controller starts on a fresh root and the benchmark
// notes when each step shows in its output (the self-test's start and end, the thread table, the LAN
// socket, the GUI thread's readiness) and when the first "*IDN?" over the LAN socket is answered, polled
// every 20 ms. Run it by hand: build/bench/system/startup_bench
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/controller_process.h"
#include "tests/support/tcp_client.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kScpiPort = 5025;

struct Step {
    const char* what;
    const char* marker;  // a text of the controller's output; nullptr: the first reply
};
constexpr Step kSteps[] = {
    {"self-test starts", "FW Startup: Pass"},
    {"self-test ends", "HW Module3 Startup: Pass"},
    {"thread table", "thread GuiThread:"},
    {"LAN socket listens", "LAN: SCPI socket listening"},
    {"GUI thread ready", "GuiThread: system ready"},
    {"first *IDN? reply", nullptr},
};
constexpr size_t kStepCount = std::size(kSteps);

void BM_StartToFirstReply(benchmark::State& state) {
    for (auto _ : state) {
        const auto t0 = Clock::now();
        testsupport::ControllerProcess controller;
        std::vector<double> at(kStepCount, -1);
        auto since = [&] { return std::chrono::duration<double>(Clock::now() - t0).count(); };
        std::atomic<bool> replied{false};
        std::thread client([&] {
            const int port = kScpiPort + controller.portOffset();
            while (!replied.load() && since() < testsupport::kStartupTimeoutMs / 1000.0) {
                testsupport::TcpClient c(port, 20);
                if (c.Connected() && c.Send("*IDN?\n") && !c.ReadLine(2000).empty()) {
                    at[kStepCount - 1] = since();
                    replied.store(true);
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
        auto allSeen = [&] {
            for (size_t i = 0; i + 1 < kStepCount; ++i)
                if (at[i] < 0) return false;
            return replied.load();
        };
        while (!allSeen() && controller.Running() && since() < testsupport::kStartupTimeoutMs / 1000.0) {
            const std::string out = controller.Output();
            for (size_t i = 0; i + 1 < kStepCount; ++i)
                if (at[i] < 0 && out.find(kSteps[i].marker) != std::string::npos) at[i] = since();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        replied.store(true);
        client.join();
        double previous = 0;
        // In the order they came.
        std::vector<size_t> order;
        for (size_t i = 0; i < kStepCount; ++i)
            order.push_back(i);
        std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return at[a] < at[b]; });
        for (size_t i : order) {
            if (at[i] < 0) {
                std::printf("  %-20s not seen\n", kSteps[i].what);
                continue;
            }
            std::printf("  %-20s at %6.2f s  (+%.2f s)\n", kSteps[i].what, at[i], at[i] - previous);
            previous = at[i];
        }
        state.counters["first_reply_s"] = at[kStepCount - 1];
        state.counters["after_selftest_s"] = at[kStepCount - 1] - at[1];
    }
}
BENCHMARK(BM_StartToFirstReply)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (std::getenv("VRN_BUILD_DIR") == nullptr) setenv("VRN_BUILD_DIR", VRN_BINARY_DIR, 1);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
