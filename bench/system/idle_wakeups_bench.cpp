// What an idle controller costs the host: it runs for 5 s with no client, and the benchmark reads each
// thread's voluntary context switches (its wake-ups from a sleep or a wait) and its run time from /proc
// before and after. Over the same seconds bare sleepers, one per paced thread of the controller at that
// thread's period, run in the benchmark's own process: their cost is the floor an idle controller cannot
// go below on this machine at this moment, and the ratio to it is the figure that a loaded machine does
// not blur. Run it by hand: build/bench/system/idle_wakeups_bench
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <pthread.h>
#include <time.h>
#include <unistd.h>

#include <atomic>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/controller_process.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kIdleSeconds = 5;

testsupport::ControllerProcess* g_controller = nullptr;

// The controller's paced threads and the period each one sleeps or waits for when idle: the supervisor
// loop, the 2 ms passes, the LAN, web and Modbus waits and the device-node bridge.
struct PacedThread {
    const char* name;
    long periodUs;
};
constexpr PacedThread kPaced[] = {
    {"vrn-controller", 1000}, {"GuiThread", 2000},      {"KeyThread", 2000},       {"MenuThread", 2000},
    {"SeqSimThread", 2000},   {"TimerThread", 2000},    {"UsbDevThread", 2000},    {"LanConnThread", 20000},
    {"WebServer80", 20000},   {"LanAcceptThread", 50000}, {"WebServer81", 50000}, {"ModbusThread", 100000},
    {"DeviceBridge", 100000},
};

// A sleeper carries its thread's name after a '~', within the system's 15 characters.
std::string SleeperName(const std::string& thread) {
    return ("~" + thread).substr(0, 15);
}

// One bare sleeper per paced thread: it only sleeps its period, as the controller's loops do.
class Floor {
  public:
    Floor() {
        for (const PacedThread& p : kPaced)
            threads_.emplace_back([this, p] { Sleeper(SleeperName(p.name), p.periodUs); });
    }
    ~Floor() {
        stop_.store(true);
        for (std::thread& t : threads_)
            t.join();
    }
    Floor(const Floor&) = delete;
    Floor& operator=(const Floor&) = delete;

  private:
    void Sleeper(const std::string& name, long periodUs) {
        pthread_setname_np(pthread_self(), name.c_str());
        const timespec period{periodUs / 1000000, (periodUs % 1000000) * 1000};
        while (!stop_.load(std::memory_order_relaxed))
            clock_nanosleep(CLOCK_MONOTONIC, 0, &period, nullptr);
    }
    std::atomic<bool> stop_{false};
    std::vector<std::thread> threads_;
};

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

// Wake-ups/s and percent of one core of each thread name (threads of one name are summed) between two
// readings taken `seconds` apart.
std::map<std::string, std::pair<double, double>> Rates(const ThreadCounts& before, const ThreadCounts& after,
                                                       double seconds) {
    auto since = [](const std::map<std::string, long long>& was, const std::string& tid, long long now) {
        auto it = was.find(tid);
        return static_cast<double>(now - (it != was.end() ? it->second : 0));
    };
    std::map<std::string, std::pair<double, double>> byName;
    for (const auto& [tid, n] : after.switches) {
        auto& row = byName[after.names.at(tid)];
        row.first += since(before.switches, tid, n) / seconds;
        row.second += 100.0 * since(before.runNs, tid, after.runNs.at(tid)) * 1e-9 / seconds;
    }
    return byName;
}

void BM_IdleController(benchmark::State& state) {
    const pid_t pid = g_controller->pid();
    Floor floor;
    for (auto _ : state) {
        const ThreadCounts before = ReadThreads(pid);
        const ThreadCounts floorBefore = ReadThreads(getpid());
        const auto t0 = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(kIdleSeconds));
        const ThreadCounts after = ReadThreads(pid);
        const ThreadCounts floorAfter = ReadThreads(getpid());
        const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
        const auto rates = Rates(before, after, seconds);
        const auto floorRates = Rates(floorBefore, floorAfter, seconds);
        double total = 0, cpu = 0, floorTotal = 0, floorCpu = 0;
        std::printf("  %-16s %10s %7s   %-22s\n", "thread", "wake-ups/s", "share", "its floor sleeper");
        for (const auto& [name, row] : rates) {
            std::printf("  %-16s %10.1f %6.2f %%", name.c_str(), row.first, row.second);
            if (const auto f = floorRates.find(SleeperName(name)); f != floorRates.end()) {
                std::printf("   %8.1f/s %5.2f %%  %5.2fx", f->second.first, f->second.second,
                            f->second.second > 0 ? row.second / f->second.second : 0.0);
                floorTotal += f->second.first;
                floorCpu += f->second.second;
            }
            std::printf("\n");
            total += row.first;
            cpu += row.second;
        }
        const double ratio = floorCpu > 0 ? cpu / floorCpu : 0;
        std::printf("  %-16s %10.1f %6.2f %%   %8.1f/s %5.2f %%  %5.2fx (all threads to %zu bare sleepers)\n",
                    "all threads", total, cpu, floorTotal, floorCpu, ratio, std::size(kPaced));
        state.counters["wakeups_per_s"] = total;
        state.counters["cpu_percent"] = cpu;
        state.counters["floor_percent"] = floorCpu;
        state.counters["floor_ratio"] = ratio;
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
