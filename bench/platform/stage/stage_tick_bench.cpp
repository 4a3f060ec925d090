// Cost of the simulated stage's 2 ms tick with three phases playing a downloaded arbitrary waveform into
// their loads: steady, and while a program sweeps the voltage (the measures worked out again every tick).
// The counter "tick_share" is the part of the 2 ms the tick takes; the stage's budget is 5 %.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>

#include "tests/platform/stage/stage_play_fixture.h"

namespace {

using namespace regmap;

constexpr uint64_t kTickUs = 2000;

void Prepare(test::StagePlay& s) {
    for (uint32_t i = 0; i < 4096; ++i) {
        const double v =
            std::sin(6.283185307179586 * i / 4096) + 0.3 * std::sin(6.283185307179586 * 5 * i / 4096);
        s.regs.Set(kArbTable.at(0), i, static_cast<uint32_t>(static_cast<int32_t>(std::lround(v * 25000))));
    }
    s.Write(kArbUpdate, 1);
    s.WriteFloat(kPhaseAngleL2, 240.0f);
    s.WriteFloat(kPhaseAngleL3, 120.0f);
    s.Play(test::kArb1, 100.0f, 0.0f, 50.0f, 10.0f);
}

// One tick as the controller's pass meets it: the stage moves on 2 ms and answers a measurement row.
void Tick(benchmark::State& state, test::StagePlay& s) {
    double seconds = 0.0;
    for (auto _ : state) {
        test::g_stageNowUs += kTickUs;
        const auto t0 = std::chrono::steady_clock::now();
        for (uint32_t p = 0; p < 7; ++p)
            benchmark::DoNotOptimize(s.Read(kVrms + p));
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    state.counters["tick_share"] = seconds / static_cast<double>(state.iterations()) / (kTickUs * 1e-6);
}

void BM_TickSteady(benchmark::State& state) {
    test::StagePlay s;
    Prepare(s);
    Tick(state, s);
}
BENCHMARK(BM_TickSteady)->Unit(benchmark::kMicrosecond);

void BM_TickRunningSweep(benchmark::State& state) {
    test::StagePlay s;
    Prepare(s);
    constexpr uint32_t kSweepAll = (1u << 2) | (1u << 5) | (1u << 17);
    s.regs.Set(kStepStatus, 0, 32);        // END
    s.regs.Set(kStepTime, 0, 99'999'999);  // a sweep that outlasts the benchmark
    for (uint32_t p = 0; p < 3; ++p) {
        s.regs.Set(kStepCtrl.at(p), 0, kSweepAll | (test::kArb1 << 6));
        s.regs.Set(kStepAcv.at(p), 0, std::bit_cast<uint32_t>(200.0f));
        s.regs.Set(kStepFreq.at(p), 0, std::bit_cast<uint32_t>(60.0f));
    }
    s.regs.Set(kStepPhaseL2, 0, std::bit_cast<uint32_t>(240.0f));
    s.regs.Set(kStepPhaseL3, 0, std::bit_cast<uint32_t>(120.0f));
    s.Write(kSeqSimCmd, 1);
    Tick(state, s);
}
BENCHMARK(BM_TickRunningSweep)->Unit(benchmark::kMicrosecond);

// A capture of the three phases (armed about every 400 ms).
void BM_Capture(benchmark::State& state) {
    test::StagePlay s;
    Prepare(s);
    for (auto _ : state)
        s.Write(kHarmCapture, 7);
}
BENCHMARK(BM_Capture)->Unit(benchmark::kMicrosecond);

// A table download reported: the played shapes are reduced again on the next tick.
void BM_DownloadReported(benchmark::State& state) {
    test::StagePlay s;
    Prepare(s);
    for (auto _ : state) {
        s.Write(kArbUpdate, 1);
        benchmark::DoNotOptimize(s.Read(kVrms));
    }
}
BENCHMARK(BM_DownloadReported)->Unit(benchmark::kMicrosecond);

}  // namespace
