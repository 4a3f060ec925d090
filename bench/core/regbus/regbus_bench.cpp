// Cost of register transfers through the simulated power stage.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "core/regbus/bus_transfer.h"
#include "platform/stage/power_stage_sim.h"
#include "platform/stage/reg_map.h"

namespace {

// state.range(0): 1 with the stage's transfer trace on (as the program runs), 0 with it off.
void PrepareStage(const benchmark::State& state) {
    plat::PowerStage().Reset();
    BusMapInit();
    plat::PowerStage().SetTraceCapacity(state.range(0) ? 65536 : 0);
}

void BM_Write32(benchmark::State& state) {
    PrepareStage(state);
    int32_t v = 0;
    for (auto _ : state)
        (void)BusReg_WriteIntEx(0, regmap::kAcv, v++);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Write32)->Arg(1)->Arg(0);

void BM_Read32(benchmark::State& state) {
    PrepareStage(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(BusReg_ReadFloat(regmap::kVrms));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Read32)->Arg(1)->Arg(0);

// A reading step of the measurement chain: the seven words of each of fourteen measurement blocks in one
// burst, as a pass of the menu/control thread reads them.
void BM_ReadBurst(benchmark::State& state) {
    PrepareStage(state);
    std::vector<uint32_t> regs;
    for (uint32_t reg = regmap::kVrms.first; regs.size() < 98; ++reg)
        regs.push_back(reg);
    std::vector<uint32_t> words(regs.size());
    for (auto _ : state) {
        BusReg_ReadBurst(regs.data(), regs.size(), words.data());
        benchmark::DoNotOptimize(words.data());
    }
    state.SetItemsProcessed(state.iterations() * regs.size());
}
BENCHMARK(BM_ReadBurst)->Arg(1)->Arg(0);

void BM_WriteArbTable(benchmark::State& state) {
    PrepareStage(state);
    std::vector<int16_t> samples(4096);
    for (int i = 0; i < 4096; ++i)
        samples[i] = static_cast<int16_t>(std::lround(32767 * std::sin(2 * M_PI * i / 4096)));
    int slot = 0;
    for (auto _ : state) {
        (void)BusReg_WriteArbTable(samples.data(), 4096, slot);
        slot = (slot + 1) & 0xFF;
    }
    state.SetItemsProcessed(state.iterations() * 4096);
}
BENCHMARK(BM_WriteArbTable)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

}  // namespace
