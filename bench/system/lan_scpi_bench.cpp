// Round trips over the SCPI socket of a running controller: queries per second and the median latency
// of *IDN? (the floor: answered on the channel's own thread) and of set commands followed by a query,
// in two messages and in one (the set command travels through the menu/control thread), and of the
// measurement queries. Run it by hand: build/bench/system/lan_scpi_bench
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/system/bench_controller.h"
#include "tests/support/controller_process.h"
#include "tests/support/tcp_client.h"

namespace {

using Clock = std::chrono::steady_clock;

std::unique_ptr<testsupport::TcpClient> g_client;
std::map<std::string, double> g_medians;  // microseconds, by benchmark

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

void RoundTrips(benchmark::State& state, const char* name, const std::string& message,
                const std::string& expect) {
    std::vector<double> us;
    bool failed = false;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        g_client->Send(message);
        const std::string reply = g_client->ReadLine();
        us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
        if (reply.compare(0, expect.size(), expect) != 0) {
            state.SkipWithError(("unexpected reply: " + reply).c_str());
            failed = true;
            break;
        }
    }
    if (failed) return;
    state.SetItemsProcessed(state.iterations());  // round trips per second
    state.counters["median_us"] = Median(us);
    g_medians[name] = Median(us);
}

void BM_IdnQuery(benchmark::State& state) {
    RoundTrips(state, "*IDN?", "*IDN?\n", "QX-ORVANE,");
}
BENCHMARK(BM_IdnQuery)->UseRealTime()->MinTime(2.0);

void BM_SetCommandThenOpcQuery(benchmark::State& state) {
    RoundTrips(state, "*ESE 32 then *OPC?", "*ESE 32\n*OPC?\n", "1\n");
}
BENCHMARK(BM_SetCommandThenOpcQuery)->UseRealTime()->MinTime(2.0);

void BM_SetCommandAndOpcQueryInOneMessage(benchmark::State& state) {
    RoundTrips(state, "*ESE 1;*OPC?", "*ESE 1;*OPC?\n", "1\n");
}
BENCHMARK(BM_SetCommandAndOpcQueryInOneMessage)->UseRealTime()->MinTime(2.0);

void BM_SetCommandAndItsQueryInOneMessage(benchmark::State& state) {
    RoundTrips(state, "*ESE 1;*ESE?", "*ESE 1;*ESE?\n", "+1\n");
}
BENCHMARK(BM_SetCommandAndItsQueryInOneMessage)->UseRealTime()->MinTime(2.0);

// A setting through the generic numeric handler and back, and a status register set and read.
void BM_VoltSetAndQuery(benchmark::State& state) {
    RoundTrips(state, "VOLT 100;VOLT?", "VOLT 100;VOLT?\n", "+100.0000\n");
}
BENCHMARK(BM_VoltSetAndQuery)->UseRealTime()->MinTime(2.0);

void BM_SreSetAndQuery(benchmark::State& state) {
    RoundTrips(state, "*SRE 32;*SRE?", "*SRE 32;*SRE?\n", "+32\n");
}
BENCHMARK(BM_SreSetAndQuery)->UseRealTime()->MinTime(2.0);

// A live reading (which also takes the snapshot of every reading) and the 54-field measurement array.
void BM_MeasureVoltage(benchmark::State& state) {
    RoundTrips(state, "MEAS:VOLT?", "MEAS:VOLT?\n", "+");
}
BENCHMARK(BM_MeasureVoltage)->UseRealTime()->MinTime(2.0);

void BM_ReadArray(benchmark::State& state) {
    RoundTrips(state, "READ?", "READ?\n", "+");
}
BENCHMARK(BM_ReadArray)->UseRealTime()->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchsupport::UseThisBuildsController();
    testsupport::ControllerProcess controller;
    if (!benchsupport::ControllerReady(controller, false) || !(g_client = benchsupport::ScpiClient(controller)))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    for (const auto& [name, median] : g_medians)
        std::printf("median %-40s %9.1f us\n", name.c_str(), median);
    g_client.reset();
    benchmark::Shutdown();
    return 0;
}
