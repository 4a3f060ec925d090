// The median time of "DATA:SEQ? 3" over the SCPI socket of a running controller: from the query sent to
// the last byte of its 1,224,324-byte block. Run it by hand: build/bench/system/scpi_data_bench
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "core/system/config/identity.h"
#include "core/system/config/model_table.h"
#include "engine/seqsim/seqsim_defaults.h"
#include "engine/seqsim/seqsim_file.h"
#include "bench/system/bench_controller.h"
#include "tests/support/controller_process.h"
#include "tests/support/tcp_client.h"

namespace {

using Clock = std::chrono::steady_clock;

std::unique_ptr<testsupport::TcpClient> g_client;
double g_median = 0;

const std::string kHeader = "#71224324";

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

void BM_SeqMemoryQuery(benchmark::State& state) {
    std::vector<double> us;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        g_client->Send("DATA:SEQ? 3\n");
        const std::string head = g_client->ReadBytes(kHeader.size(), 15000);
        const std::string rest = g_client->ReadBytes(kSeqFileSize + 1, 15000);
        us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
        if (head != kHeader || rest.size() != kSeqFileSize + 1) {
            state.SkipWithError(("unexpected reply: " + head).c_str());
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kSeqFileSize));
    state.counters["median_us"] = Median(us);
    g_median = Median(us);
}
BENCHMARK(BM_SeqMemoryQuery)->UseRealTime()->MinTime(3.0);

// Stores memory 3 with the default steps, as this model writes them.
bool StoreSeq3() {
    IdentityTextWrite(g_ModelName, sizeof g_ModelName, "VRN-4145", 8);
    SeqMem_ResetToSlotDefaults(3);
    if (SeqBuildFile(3, 0) != 0) return false;
    const std::string data(reinterpret_cast<const char*>(g_SeqFileBuf), kSeqFileSize);
    g_client->Send("DATA:SEQ 3,#7" + std::to_string(kSeqFileSize) + data + "\nSYST:ERR?\n");
    return g_client->ReadLine(15000).rfind("+0,", 0) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchsupport::UseThisBuildsController();
    testsupport::ControllerProcess controller;
    if (!benchsupport::ControllerReady(controller, false) || !(g_client = benchsupport::ScpiClient(controller)))
        return 1;
    if (!StoreSeq3()) {
        std::fprintf(stderr, "cannot store SEQ3\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    std::printf("median %-40s %9.1f us\n", "DATA:SEQ? 3", g_median);
    g_client.reset();
    benchmark::Shutdown();
    return 0;
}
