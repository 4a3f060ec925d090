// The web server of a running controller under load from other clients: the median *IDN? round trip over
// the websocket, how long a capture that reads the screen takes, and how long a GET / takes behind 300
// idle connections and beside 500 concurrent screen captures or websocket handshakes, and the server's
// processor time for one websocket visit and for the 500 handshakes. Run it by hand:
// build/bench/system/web_bench
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/system/bench_controller.h"
#include "tests/support/controller_process.h"
#include "tests/support/tcp_client.h"
#include "tests/support/web_socket.h"

namespace {

using Clock = std::chrono::steady_clock;

int g_port80 = 0;
int g_pid = 0;
std::map<std::string, double> g_medians;  // microseconds, by benchmark

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

double Since(Clock::time_point t0) {
    return std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
}

void Report(benchmark::State& state, const char* name, const std::vector<double>& us) {
    state.counters["median_us"] = Median(us);
    g_medians[name] = Median(us);
}

// The status line of GET / and how long it took.
bool TimedGet(std::vector<double>* us) {
    const auto t0 = Clock::now();
    testsupport::TcpClient client(g_port80, 20000);
    client.Send("GET / HTTP/1.0\r\n\r\n");
    const bool ok = client.ReadLine(20000) == "HTTP/1.0 200 OK\r\n";
    us->push_back(Since(t0));
    return ok;
}

void BM_WebsocketIdnRoundTrip(benchmark::State& state) {
    testsupport::TcpClient ws(g_port80);
    if (testsupport::WsUpgrade(ws) != "HTTP/1.1 101 Switching Protocols\r\n") {
        state.SkipWithError("no websocket");
        return;
    }
    const std::string ask = testsupport::WsClientFrame(0x1, "*IDN?");
    std::vector<double> us;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        ws.Send(ask);
        const testsupport::WsFrame reply = testsupport::WsReadFrame(ws);
        us.push_back(Since(t0));
        if (reply.header != 0x81) {
            state.SkipWithError("no reply frame");
            return;
        }
    }
    Report(state, "websocket *IDN? round trip", us);
}
BENCHMARK(BM_WebsocketIdnRoundTrip)->UseRealTime()->MinTime(2.0);

// The server's processor time (user and system) so far, in microseconds.
double ServerCpuUs() {
    std::ifstream stat("/proc/" + std::to_string(g_pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i)
        if (i >= 14) ticks += std::stod(field);  // utime, stime
    return ticks * 1e6 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// A websocket client's whole visit, one after the other: handshake, *IDN?, close. The figure is the
// server's processor time per visit (the socket lookup of a handshake is in it), which must not grow with
// the process's file limit: run it under `ulimit -n 20000` as well.
void BM_WebsocketVisitServerCpu(benchmark::State& state) {
    constexpr int kVisits = 200;
    std::vector<double> us;
    for (auto _ : state) {
        const double before = ServerCpuUs();
        for (int i = 0; i < kVisits; ++i) {
            // The last visitor's place is free once the server has seen it leave.
            std::unique_ptr<testsupport::TcpClient> ws;
            for (int tries = 0; !ws || testsupport::WsUpgrade(*ws) != "HTTP/1.1 101 Switching Protocols\r\n";
                 ++tries) {
                if (tries == 100) {
                    state.SkipWithError("no websocket");
                    return;
                }
                ws = std::make_unique<testsupport::TcpClient>(g_port80);
            }
            ws->Send(testsupport::WsClientFrame(0x1, "*IDN?"));
            testsupport::WsReadFrame(*ws);
            ws->Send(testsupport::WsClientFrame(0x8, std::string("\x03\xE8", 2)));
            ws->WaitClosed(3000);
        }
        us.push_back((ServerCpuUs() - before) / kVisits);
    }
    Report(state, "server CPU per websocket visit", us);
}
BENCHMARK(BM_WebsocketVisitServerCpu)->UseRealTime()->Iterations(3);

// 500 websocket handshakes at once (all but one refused: one client at a time) beside a GET /: how long
// the GET takes, and the server's processor time for the whole burst.
void BM_GetBeside500Handshakes(benchmark::State& state) {
    std::vector<double> us, cpu;
    for (auto _ : state) {
        const double before = ServerCpuUs();
        std::vector<std::thread> burst;
        for (int i = 0; i < 500; ++i)
            burst.emplace_back([] {
                testsupport::TcpClient ws(g_port80, 20000);
                testsupport::WsUpgrade(ws);
            });
        if (!TimedGet(&us)) state.SkipWithError("GET / failed");
        for (std::thread& t : burst)
            t.join();
        cpu.push_back(ServerCpuUs() - before);
    }
    Report(state, "GET / beside 500 websocket handshakes", us);
    g_medians["server CPU for 500 websocket handshakes"] = Median(cpu);
}
BENCHMARK(BM_GetBeside500Handshakes)->UseRealTime()->Iterations(5);

void BM_GetBehind300IdleConnections(benchmark::State& state) {
    std::vector<double> us;
    for (auto _ : state) {
        std::vector<std::unique_ptr<testsupport::TcpClient>> idle;
        for (int i = 0; i < 300; ++i)
            idle.push_back(std::make_unique<testsupport::TcpClient>(g_port80, 1000));
        std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the server has taken them
        if (!TimedGet(&us)) state.SkipWithError("GET / failed");
    }
    Report(state, "GET / behind 300 idle connections", us);
}
BENCHMARK(BM_GetBehind300IdleConnections)->UseRealTime()->Iterations(5);

// A capture that reads the screen (the last one ended more than 500 ms before): how long the GUI is held
// still at most, and so how far the panel's display can lag a burst of captures.
void BM_CaptureThatReadsTheScreen(benchmark::State& state) {
    std::vector<double> us;
    for (auto _ : state) {
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        const auto t0 = Clock::now();
        testsupport::TcpClient client(g_port80, 20000);
        client.Send("GET /capture.jpg HTTP/1.0\r\n\r\n");
        if (client.ReadLine(20000) != "HTTP/1.0 200 OK\r\n") state.SkipWithError("no picture");
        us.push_back(Since(t0));
    }
    Report(state, "capture that reads the screen", us);
}
BENCHMARK(BM_CaptureThatReadsTheScreen)->UseRealTime()->Iterations(10);

void BM_GetBeside500Captures(benchmark::State& state) {
    std::vector<double> us;
    for (auto _ : state) {
        std::vector<std::thread> flood;
        for (int i = 0; i < 500; ++i)
            flood.emplace_back([] {
                testsupport::TcpClient client(g_port80, 20000);
                client.Send("GET /capture.jpg HTTP/1.0\r\n\r\n");
                client.ReadBytes(1 << 20, 20000);
            });
        if (!TimedGet(&us)) state.SkipWithError("GET / failed");
        for (std::thread& t : flood)
            t.join();
    }
    Report(state, "GET / beside 500 concurrent captures", us);
}
BENCHMARK(BM_GetBeside500Captures)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchsupport::UseThisBuildsController();
    testsupport::ControllerProcess controller;
    g_port80 = 80 + controller.portOffset();
    g_pid = controller.pid();
    if (!benchsupport::ControllerReady(controller, true)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    for (const auto& [name, median] : g_medians)
        std::printf("median %-40s %11.1f us\n", name.c_str(), median);
    benchmark::Shutdown();
    return 0;
}
