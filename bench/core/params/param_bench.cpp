// Cost of building the parameter store for a factory default, and of one record access.
#include <benchmark/benchmark.h>

#include "core/params/defaults/param_init.h"
#include "tests/core/ctrl_fixture.h"

static void BM_ParamTableInit(benchmark::State& state) {
    test::InstrumentEnv env;
    test::BuildDefaults(2);
    for (auto _ : state)
        benchmark::DoNotOptimize(ParamTableInit());
}
BENCHMARK(BM_ParamTableInit)->Unit(benchmark::kMillisecond);

static void BM_ParamRWRead(benchmark::State& state) {
    test::InstrumentEnv env;
    test::BuildDefaults(2);
    ParamRec rec;
    for (auto _ : state) {
        paramGetRecord(47, &rec, 1);
        benchmark::DoNotOptimize(rec);
    }
}
BENCHMARK(BM_ParamRWRead);

// The values the output sync compares with its shadows on every pass: the per-phase settings of L1-L3.
static void BM_ParamGetValuePhases(benchmark::State& state) {
    test::InstrumentEnv env;
    test::BuildDefaults(2);
    constexpr uint32_t kIds[] = {kParamWaveDuty, kParamAcv,    kParamDcv,     kParamGain,     kParamCurrLimit,
                                 kParamIpkMax,   kParamIpkMin, kParamOnPhase, kParamOffPhase, kParamMainSrc};
    for (auto _ : state)
        for (uint32_t id : kIds)
            for (uint32_t unit = 0; unit < 3; ++unit)
                benchmark::DoNotOptimize(paramGetValue(id, unit));
}
BENCHMARK(BM_ParamGetValuePhases);

static void BM_SetDefaultAll(benchmark::State& state) {
    test::InstrumentEnv env;
    test::BuildDefaults(2);
    for (auto _ : state)
        benchmark::DoNotOptimize(SetDefaultAll());
}
BENCHMARK(BM_SetDefaultAll)->Unit(benchmark::kMillisecond);
