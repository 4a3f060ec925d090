// What screen captures cost the controller's memory: the controller starts on a fresh root, and the
// benchmark reads its resident size (VmRSS) before and after a load of captures - 16 clients at once,
// each taking 8 pictures of "/capture.jpg", on ports 80 and 81 in turn - and its peak (VmHWM). The web
// servers' many workers each allocate while they make a picture, so the figure shows how far the
// allocator's per-thread heaps let the program grow. Run it by hand: build/bench/system/capture_rss_bench
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/controller_process.h"
#include "tests/support/tcp_client.h"

namespace {

constexpr int kClients = 16;
constexpr int kCapturesEach = 8;
constexpr int kWebPorts[] = {80, 81};

testsupport::ControllerProcess* g_controller = nullptr;

// A field of /proc/PID/status in MB (the file gives kB).
double StatusMb(pid_t pid, const std::string& field) {
    std::istringstream status(testsupport::FileText("/proc/" + std::to_string(pid) + "/status"));
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field + ":", 0) == 0) return std::atof(line.c_str() + field.size() + 1) / 1024.0;
    return -1;
}

bool Capture(int port) {
    testsupport::TcpClient c(port, 2000);
    if (!c.Send("GET /capture.jpg HTTP/1.0\r\n\r\n")) return false;
    return c.ReadFor(30000).find(" 200 ") == std::string("HTTP/1.x").size();
}

void BM_CaptureRss(benchmark::State& state) {
    const pid_t pid = g_controller->pid();
    for (auto _ : state) {
        const double before = StatusMb(pid, "VmRSS");
        std::atomic<int> ok{0};
        std::vector<std::thread> clients;
        for (int i = 0; i < kClients; ++i)
            clients.emplace_back([i, &ok] {
                for (int n = 0; n < kCapturesEach; ++n)
                    if (Capture(kWebPorts[(i + n) % 2] + g_controller->portOffset())) ok.fetch_add(1);
            });
        for (std::thread& t : clients)
            t.join();
        const double after = StatusMb(pid, "VmRSS"), peak = StatusMb(pid, "VmHWM");
        std::printf("  RSS %.1f MB before, %.1f MB after %d of %d captures, peak %.1f MB\n", before, after,
                    ok.load(), kClients * kCapturesEach, peak);
        state.counters["rss_before_mb"] = before;
        state.counters["rss_after_mb"] = after;
        state.counters["rss_peak_mb"] = peak;
        state.counters["captures"] = ok.load();
    }
}
BENCHMARK(BM_CaptureRss)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (std::getenv("VRN_BUILD_DIR") == nullptr) setenv("VRN_BUILD_DIR", VRN_BINARY_DIR, 1);
    testsupport::ControllerProcess controller;
    if (!controller.WaitForOutput("GuiThread: system ready", testsupport::kStartupTimeoutMs)) {
        std::fprintf(stderr, "the controller did not start:\n%s\n", controller.Output().c_str());
        return 1;
    }
    g_controller = &controller;
    benchmark::RunSpecifiedBenchmarks();
    g_controller = nullptr;
    benchmark::Shutdown();
    return 0;
}
