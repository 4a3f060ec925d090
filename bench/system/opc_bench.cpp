// *OPC? beside another client's set commands, over the SCPI socket of a running controller: the median and
// worst round trip of a frequency set with *OPC? in one message, and of a status register set with *OPC?
// (which writes nothing the output plays), each alone and while a web client sends voltage sets back to
// back over its websocket. *OPC? waits for what was sent before it, so the other client should cost
// little. Run it by hand: build/bench/system/opc_bench
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/system/bench_controller.h"
#include "tests/support/controller_process.h"
#include "tests/support/tcp_client.h"
#include "tests/support/web_socket.h"

namespace {

using Clock = std::chrono::steady_clock;

std::unique_ptr<testsupport::TcpClient> g_client;
int g_port80 = 0;
std::map<std::string, std::pair<double, double>> g_figures;  // median and worst, microseconds

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// A web client that sets the rms current limit back and forth until stopped, ten sets in each message;
// after each message it asks *IDN?, so that its sets do not pile up unread in the server.
class SettingWebClient {
  public:
    SettingWebClient() : ws_(g_port80) {
        if (testsupport::WsUpgrade(ws_) != "HTTP/1.1 101 Switching Protocols\r\n") return;
        thread_ = std::thread([this] {
            std::string sets;
            for (int i = 0; i < kSetsPerMessage; ++i)
                sets += i % 2 ? "CURR:LIM:RMS 11;:" : "CURR:LIM:RMS 10;:";
            const std::string message = testsupport::WsClientFrame(0x1, sets + "*IDN?");
            while (!stop_.load()) {
                ws_.Send(message);
                if (testsupport::WsReadFrame(ws_).header != 0x81) break;
                sets_.fetch_add(kSetsPerMessage);
            }
        });
    }
    ~SettingWebClient() {
        stop_.store(true);
        if (thread_.joinable()) thread_.join();
    }
    long Sets() const { return sets_.load(); }

  private:
    static constexpr int kSetsPerMessage = 10;
    testsupport::TcpClient ws_;
    std::atomic<bool> stop_{false};
    std::atomic<long> sets_{0};
    std::thread thread_;
};

void RoundTrips(benchmark::State& state, const std::string& name, const char* const messages[2],
                bool beside) {
    std::unique_ptr<SettingWebClient> other;
    if (beside) other = std::make_unique<SettingWebClient>();
    std::vector<double> us;
    const long setsBefore = other ? other->Sets() : 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        g_client->Send(messages[us.size() % 2]);
        const std::string reply = g_client->ReadLine(60000);
        us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
        if (reply != "1\n") {
            state.SkipWithError(("unexpected reply: " + reply).c_str());
            return;
        }
    }
    if (other) state.counters["other_sets"] = static_cast<double>(other->Sets() - setsBefore);
    state.counters["median_us"] = Median(us);
    state.counters["worst_us"] = *std::max_element(us.begin(), us.end());
    g_figures[name + (beside ? ", web client setting" : ", alone")] = {
        Median(us), *std::max_element(us.begin(), us.end())};
}

constexpr const char* kFreq[2] = {"FREQ 55;*OPC?\n", "FREQ 60;*OPC?\n"};
constexpr const char* kEse[2] = {"*ESE 1;*OPC?\n", "*ESE 0;*OPC?\n"};

void BM_FreqSetAndOpcAlone(benchmark::State& state) {
    RoundTrips(state, "FREQ f;*OPC?", kFreq, false);
}
BENCHMARK(BM_FreqSetAndOpcAlone)->UseRealTime()->Iterations(200);

void BM_FreqSetAndOpcBesideAWebClientSetting(benchmark::State& state) {
    RoundTrips(state, "FREQ f;*OPC?", kFreq, true);
}
BENCHMARK(BM_FreqSetAndOpcBesideAWebClientSetting)->UseRealTime()->Iterations(20);

void BM_EseSetAndOpcAlone(benchmark::State& state) {
    RoundTrips(state, "*ESE n;*OPC?", kEse, false);
}
BENCHMARK(BM_EseSetAndOpcAlone)->UseRealTime()->Iterations(500);

void BM_EseSetAndOpcBesideAWebClientSetting(benchmark::State& state) {
    RoundTrips(state, "*ESE n;*OPC?", kEse, true);
}
BENCHMARK(BM_EseSetAndOpcBesideAWebClientSetting)->UseRealTime()->Iterations(2000);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchsupport::UseThisBuildsController();
    testsupport::ControllerProcess controller;
    g_port80 = 80 + controller.portOffset();
    if (!benchsupport::ControllerReady(controller, true) || !(g_client = benchsupport::ScpiClient(controller)))
        return 1;
    // The first command makes the unit remote: not a round trip of the ones measured.
    g_client->Send("FREQ 50;*OPC?\n");
    g_client->ReadLine(60000);
    benchmark::RunSpecifiedBenchmarks();
    for (const auto& [name, figures] : g_figures)
        std::printf("%-42s median %10.1f us, worst %10.1f us\n", name.c_str(), figures.first, figures.second);
    g_client.reset();
    benchmark::Shutdown();
    return 0;
}
