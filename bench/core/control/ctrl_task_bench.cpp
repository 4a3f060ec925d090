// Cost of one control-task pass on the simulated power stage: with nothing changed, and with one setting
// changed (the setter's post and the register write it causes).
#include <benchmark/benchmark.h>

#include "tests/core/ctrl_fixture.h"

namespace {

// The task running and every setting of the factory default written.
void Settle() {
    test::RunUntilRunning();
    test::Poll(50);
    test::Stage().SetTraceCapacity(1024);
}

void BM_CtrlPassNothingChanged(benchmark::State& state) {
    test::CtrlEnv env;
    Settle();
    for (auto _ : state)
        benchmark::DoNotOptimize(CtrlTask_Poll());
}
BENCHMARK(BM_CtrlPassNothingChanged);

void BM_CtrlPassOneChange(benchmark::State& state) {
    test::CtrlEnv env;
    Settle();
    int32_t source = 0;
    for (auto _ : state) {
        source ^= 1;
        SetTriggerSource(source);  // written to register 2374 by this pass
        benchmark::DoNotOptimize(CtrlTask_Poll());
    }
}
BENCHMARK(BM_CtrlPassOneChange);

}  // namespace
