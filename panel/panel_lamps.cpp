#include "panel/panel_lamps.h"

#include <atomic>

#include "core/params/param_store.h"
#include "core/system/state/output_flags.h"
#include "drivers/panel_link.h"

namespace {
std::atomic<uint32_t> g_indicators{0};

struct LampSource {
    uint32_t lamp;
    bool (*on)();
};
bool ParamFlag(uint32_t bit) {
    return (g_ParamFlags.load(std::memory_order_relaxed) & bit) != 0;
}
constexpr LampSource kLamps[] = {
    {kLampOutputOn, [] { return OutputFlagTest(kOutFlagOutputOn); }},
    {kLampShift, [] { return ParamFlag(core::kFlagShiftLatched); }},
    {kLampPreset, [] { return ParamFlag(core::kFlagPresetMode); }},
    {kLampSeqSim, [] { return SeqSimIsActive() != 0; }},
};
}  // namespace

void PanelIndicatorsReset() {
    g_indicators.store(0, std::memory_order_relaxed);
    SpiAuxWrite4(0);
}

void SyncPanelIndicators() {
    uint32_t word = g_indicators.load(std::memory_order_relaxed);
    for (const LampSource& l : kLamps) {
        if (((word & l.lamp) != 0) == l.on()) continue;
        word ^= l.lamp;
        g_indicators.store(word, std::memory_order_relaxed);
        SpiAuxWrite4(word);
    }
}
