// What an idle controller costs the host: it runs for 5 s with no client, and the benchmark reads each
// thread's voluntary context switches (its wake-ups from a sleep or a wait) and its run time from /proc
// before and after. Run it by hand: build/tests/system/idle_wakeups_bench
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>

#include "tests/support/controller_process.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kIdleSeconds = 5;

testsupport::ControllerProcess* g_controller = nullptr;

// Time a thread has run, in nanoseconds (the first field of its schedstat): exact, where the tick counts of
// its stat file are 10 ms steps.
long long RunNs(const std::string& schedstatPath) {
    return std::atoll(testsupport::FileText(schedstatPath).c_str());
}

// Voluntary context switches and run time by thread id, with each thread's name.
struct ThreadCounts {
    std::map<std::string, std::string> names;
    std::map<std::string, long long> switches;
    std::map<std::string, long long> runNs;
};

ThreadCounts ReadThreads(pid_t pid) {
    ThreadCounts out;
    const std::string taskDir = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(taskDir.c_str());
    if (dir == nullptr) return out;
    while (dirent* e = readdir(dir)) {
        const std::string tid = e->d_name;
        if (tid == "." || tid == "..") continue;
        std::istringstream status(testsupport::FileText(taskDir + "/" + tid + "/status"));
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("Name:", 0) == 0) out.names[tid] = line.substr(line.find_first_not_of(" \t", 5));
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
                out.switches[tid] = std::atol(line.c_str() + 24);
        }
        out.runNs[tid] = RunNs(taskDir + "/" + tid + "/schedstat");
    }
    closedir(dir);
    return out;
}

void BM_IdleController(benchmark::State& state) {
    const pid_t pid = g_controller->pid();
    for (auto _ : state) {
        const ThreadCounts before = ReadThreads(pid);
        const auto t0 = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(kIdleSeconds));
        const ThreadCounts after = ReadThreads(pid);
        const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
        auto since = [](const std::map<std::string, long long>& was, const std::string& tid, long long now) {
            auto it = was.find(tid);
            return static_cast<double>(now - (it != was.end() ? it->second : 0));
        };
        double total = 0, cpu = 0;
        // Threads of one name (none today) are summed: wake-ups/s and percent of one core.
        std::map<std::string, std::pair<double, double>> byName;
        for (const auto& [tid, n] : after.switches) {
            const double rate = since(before.switches, tid, n) / seconds;
            const double percent = 100.0 * since(before.runNs, tid, after.runNs.at(tid)) * 1e-9 / seconds;
            auto& row = byName[after.names.at(tid)];
            row.first += rate;
            row.second += percent;
            total += rate;
            cpu += percent;
        }
        for (const auto& [name, row] : byName)
            std::printf("  %-16s %8.1f wake-ups/s  %5.2f %%\n", name.c_str(), row.first, row.second);
        std::printf("  %-16s %8.1f wake-ups/s, %.2f %% of one core\n", "all threads", total, cpu);
        state.counters["wakeups_per_s"] = total;
        state.counters["cpu_percent"] = cpu;
    }
}
BENCHMARK(BM_IdleController)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (std::getenv("VRN_BUILD_DIR") == nullptr) setenv("VRN_BUILD_DIR", VRN_BINARY_DIR, 1);
    testsupport::ControllerProcess controller;
    if (!controller.WaitForOutput("GuiThread: system ready", testsupport::kStartupTimeoutMs)) {
        std::fprintf(stderr, "the controller did not start:\n%s\n", controller.Output().c_str());
        return 1;
    }
    // The start-up's own waits (the LAN threads, the first passes of the control task) are over.
    std::this_thread::sleep_for(std::chrono::seconds(1));
    g_controller = &controller;
    benchmark::RunSpecifiedBenchmarks();
    g_controller = nullptr;
    benchmark::Shutdown();
    return 0;
}
