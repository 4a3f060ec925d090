// Cost of building one waveform and committing it (waveform memory, limit rebuild, ARB file written).
#include <benchmark/benchmark.h>

#include <cstdint>

#include "engine/arb/arb_builder.h"
#include "engine/arb/arb_shapes.h"
#include "tests/core/ctrl_fixture.h"

namespace {
using namespace engine;

int Build(int type, uint16_t* out) {
    switch (type) {
        case kShapeTriangle:
            return ShapeTriangle(kBuildSamples, kBuildAmplitude, 50, out);
        case kShapeRipple:
            return ShapeRipple(kBuildSamples, kBuildAmplitude, 0, 48, 15, out);
        default: {
            int32_t ratio = 0;
            return ShapeLFRing(kBuildSamples, kBuildAmplitude, {140, 500, 2000, 5, 600, 1200, 300}, out,
                               &ratio);
        }
    }
}

void BM_BuildAndCommitWaveform(benchmark::State& state) {
    test::CtrlEnv env;
    ArbBuilderReset();
    ArbBuild_SetArbNo(17);
    uint16_t wave[kBuildSamples];
    for (auto _ : state) {
        Build(static_cast<int>(state.range(0)), wave);
        benchmark::DoNotOptimize(ArbBuild_Commit(sizeof wave, wave));
    }
}
BENCHMARK(BM_BuildAndCommitWaveform)
    ->Arg(kShapeTriangle)
    ->Arg(kShapeRipple)
    ->Arg(kShapeLFRing)
    ->Unit(benchmark::kMillisecond);

}  // namespace
