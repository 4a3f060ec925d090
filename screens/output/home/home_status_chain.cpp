// The status chain of the home refresh: the status bar's cells, found by the bar's own change check, and
// the links for what is not a cell, tested in order; only the first that changed is handled on a call, so
// several changes reach the screen over consecutive calls.
#include <atomic>

#include "core/params/access/param_access.h"
#include "core/params/access/wiring_state.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/output_flags.h"
#include "panel/menu/panel_item_rows.h"
#include "panel/statusbar/status_bar.h"
#include "platform/stage/wiring_codes.h"
#include "screens/output/home/home_dirty_queue.h"
#include "screens/output/home/home_refresh.h"
#include "screens/output/home/home_windows.h"

namespace home {

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

uint32_t ParamFlags() {
    return g_ParamFlags.load(std::memory_order_acquire);
}
uint32_t OutFlag(uint32_t bit) {
    return (g_OutputFlags.load(std::memory_order_acquire) >> bit) & 1u;
}
uint32_t Param(uint32_t id) {
    return static_cast<uint32_t>(paramGetValue(id, 0));
}

// The panel values showing the waveform (and the duty) of the selected phase in the current mode.
void QueueWaveValues() {
    QueueItemValues(ItemBit(kItemWave) | ItemBit(kItemDuty));
}
void WaveChanged() {
    g_OutputRefresh.store(1, std::memory_order_release);
    QueueWaveValues();
    Queue(kWinPhaseHeader);
}
void PhaseModeChanged() {
    PhaseModeChange(GetPhaseMode());
}
bool WaveRefreshAsked() {
    return g_OutputRefresh.load(std::memory_order_acquire) == 2;
}

struct StatusLink {
    uint32_t (*word[7])();  // the link's words; a null ends the list
    bool eachAlone;         // words handled one at a time (else all cached when any changed)
    int8_t windows[9];      // queued when the link changed; -1 ends the list
    void (*act)();          // then this, when set
    bool (*forced)();       // a link that counts as changed while this says so
};

// The links before the status bar's cells: the preset words repaint the output cell and every soft key
// (the keys name the presets in preset mode), the waveform, its duty and the wiring what depends on them.
// A wiring change is handled on the call that sees it; the cells it alters follow on later calls.
// clang-format off
constexpr StatusLink kBeforeCells[] = {
    {{[] { return OutFlag(kOutFlagOutputOn); },
      [] { return g_HomePage.recallIndex.load(kRelaxed); },
      [] { return g_HomePage.presetSel.load(kRelaxed); },
      [] { return statusbar::ShownPreset(); },
      [] { return ParamFlags() & core::kFlagPresetMode ? 1u : 0u; },
      [] { return ParamFlags() & core::kFlagPresetRecalled ? 1u : 0u; }},
     false,
     {StatusCellWin(statusbar::kCellOutput), kWinSoftKey0, kWinLineKey, ItemKeyWin(0), ItemKeyWin(1),
      ItemKeyWin(2), ItemKeyWin(3), kWinEachAllKey, kWinHoldKey},
     nullptr, nullptr},
    {{[] { return static_cast<uint32_t>(GetWaveformSel()); }}, false, {-1}, WaveChanged, WaveRefreshAsked},
    {{[] { return static_cast<uint32_t>(GetWaveDutySel()); }}, false, {-1}, QueueWaveValues, nullptr},
    {{[] { return GetPhaseMode(); }}, false, {-1}, PhaseModeChanged, nullptr},
    {{[] { return static_cast<uint32_t>(g_EditAllPhases.load(kRelaxed)); }}, false,
     {kWinLineKey, kWinEachAllKey, -1}, nullptr, nullptr},
};
// After the cells: the output impedance repaints the phase header, the parallel link the slave screen.
constexpr StatusLink kAfterCells[] = {
    {{[] { return Param(kParamOutputImpedance); }, [] { return Param(kParamInductanceL1); },
      [] { return Param(kParamInductanceL2); }, [] { return Param(kParamInductanceL3); },
      [] { return Param(kParamResistanceL1); }, [] { return Param(kParamResistanceL2); },
      [] { return Param(kParamResistanceL3); }},
     true,
     {kWinPhaseHeader, -1},
     nullptr,
     nullptr},
    {{[] { return g_ParallelActive.load(std::memory_order_acquire); }}, false, {kWinSlave, -1}, nullptr,
     nullptr},
};
// clang-format on

constexpr int WordCount(const StatusLink& l) {
    int n = 0;
    while (n < 7 && l.word[n] != nullptr)
        ++n;
    return n;
}
template <size_t N>
constexpr int Words(const StatusLink (&links)[N]) {
    int n = 0;
    for (const StatusLink& l : links)
        n += WordCount(l);
    return n;
}
// GCC cannot compare function addresses while compiling with UndefinedBehaviorSanitizer (VRN_UBSAN): this
// check is left to the other builds.
#ifndef VRN_UBSAN
static_assert(Words(kBeforeCells) + Words(kAfterCells) <= static_cast<int>(std::size(HomeWindows{}.status)));
#endif

void Handle(const StatusLink& l) {
    for (int8_t w : l.windows) {
        if (w < 0) break;
        Queue(w);
    }
    if (l.act != nullptr) l.act();
}

// The first link of the list that changed, handled; its words are cached from `cache` on, link by link.
template <size_t N>
bool Step(const StatusLink (&links)[N], uint32_t* cache) {
    for (const StatusLink& l : links) {
        const int n = WordCount(l);
        uint32_t now[7];
        bool changed = l.forced != nullptr && l.forced();
        for (int k = 0; k < n; ++k) {
            now[k] = l.word[k]();
            if (now[k] == cache[k]) continue;
            if (l.eachAlone) {
                cache[k] = now[k];
                Handle(l);
                return true;
            }
            changed = true;
        }
        if (changed) {
            for (int k = 0; k < n; ++k)
                cache[k] = now[k];
            Handle(l);
            return true;
        }
        cache += n;
    }
    return false;
}

}  // namespace

bool StatusChainStep() {
    if (Step(kBeforeCells, g_HomeWindows.status)) return true;
    // The cells compare what they show the way the simple page's do.
    statusbar::Inputs in;
    statusbar::ReadInputs(&in);
    const int cell = StatusBar_NextChange(&g_HomeWindows.bar, in);
    if (cell >= 0) {
        Queue(StatusCellWin(static_cast<statusbar::Cell>(cell)));
        return true;
    }
    return Step(kAfterCells, g_HomeWindows.status + Words(kBeforeCells));
}

}  // namespace home
