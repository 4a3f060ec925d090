// Cost of the measurement chain on the simulated power stage (3P4W, 100 V into 10 ohm, output on): one
// pass of the measurement service (a reading pass and a publishing pass alternate, so a pair is timed as
// well), and one harmonic analysis of the three phases' captured voltage and current.
#include <benchmark/benchmark.h>

#include "core/control/measure/harmonics.h"
#include "core/control/measure/measurement.h"
#include "tests/core/control/measure/meas_fixture.h"

namespace {

void BM_MeasServicePass(benchmark::State& state) {
    test::CtrlEnv env;
    test::StartLoadedOutput(100.0f, 10.0f);
    test::Stage().SetTraceCapacity(1024);
    for (auto _ : state)
        Meas_Service();
}
BENCHMARK(BM_MeasServicePass);

void BM_MeasServiceReadAndPublish(benchmark::State& state) {
    test::CtrlEnv env;
    test::StartLoadedOutput(100.0f, 10.0f);
    test::Stage().SetTraceCapacity(1024);
    for (auto _ : state) {
        Meas_Service();
        Meas_Service();
    }
}
BENCHMARK(BM_MeasServiceReadAndPublish);

// The transform and tables of both kinds for the three phases, on samples of a real capture.
void BM_HarmonicAnalysis(benchmark::State& state) {
    test::CtrlEnv env;
    test::StartLoadedOutput(100.0f, 10.0f);
    test::Stage().SetCaptureHarmonic(3, 10.0f);
    test::ServicePasses(250);
    uint32_t counter = 0;
    Harm_ReadSamples(0, &counter, 7);
    while (counter < kHarmSamples)
        Harm_ReadSamples(0, &counter, 7);
    for (auto _ : state) {
        benchmark::DoNotOptimize(Harm_Analyse(0, 7));
        benchmark::DoNotOptimize(Harm_Analyse(1, 7));
    }
}
BENCHMARK(BM_HarmonicAnalysis);

// One harmonic pass that reads 50 samples of each phase over the register bus.
void BM_HarmonicSampleRead(benchmark::State& state) {
    test::CtrlEnv env;
    test::StartLoadedOutput(100.0f, 10.0f);
    test::ServicePasses(250);
    test::Stage().SetTraceCapacity(1024);
    for (auto _ : state) {
        uint32_t counter = 0;
        Harm_ReadSamples(0, &counter, 7);
    }
}
BENCHMARK(BM_HarmonicSampleRead);

}  // namespace
