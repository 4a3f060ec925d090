// A full SEQ download of 1000 steps with every value read back, and the seven SIM slots, through the
// simulated power stage and its register bus.
#include <benchmark/benchmark.h>

#include "tests/engine/seqsim_fixture.h"

namespace {

void BM_SeqDownloadAll(benchmark::State& state) {
    test::SeqSimEnv env;
    test::Stage().SetTraceCapacity(1024);
    const uint64_t before = test::Stage().Transfers();
    for (auto _ : state) {
        SeqDownloadAll();
        if (g_SeqSimErrors.seqCount.load() != 0) state.SkipWithError("read-back mismatch");
    }
    state.counters["transfers"] =
        static_cast<double>(test::Stage().Transfers() - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SeqDownloadAll)->Unit(benchmark::kMillisecond);

void BM_SimDownloadAll(benchmark::State& state) {
    test::SeqSimEnv env;
    test::EnterSim();
    test::Stage().SetTraceCapacity(1024);
    for (auto _ : state) {
        SimDownloadAll();
        if (g_SeqSimErrors.simCount.load() != 0) state.SkipWithError("read-back mismatch");
    }
}
BENCHMARK(BM_SimDownloadAll)->Unit(benchmark::kMicrosecond);

}  // namespace
