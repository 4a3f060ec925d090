// The status chain of the home refresh: seventeen links tested in order, only the first that changed is
// handled on a call, so several changes reach the screen over consecutive calls.
#include <atomic>

#include "core/control/alarms/alarms.h"
#include "core/params/access/param_access.h"
#include "core/params/access/wiring_state.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/system/links/parallel_link.h"
#include "core/system/links/usb_state.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/output_flags.h"
#include "panel/statusbar/status_bar.h"
#include "platform/stage/wiring_codes.h"
#include "screens/output/home/home_dirty_queue.h"
#include "screens/output/home/home_refresh.h"
#include "screens/output/home/home_windows.h"
#include "sysadmin/net/net_state.h"

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

using enum statusbar::Cell;

// The window of a status bar cell.
constexpr int Win(statusbar::Cell cell) {
    return StatusCellWin(cell);
}

// The panel values showing the waveform (and the duty) of the selected phase in the current mode.
void QueueWaveValues() {
    const uint32_t mode = GetOutputMode();
    Queue(PanelValueWin(GetPhaseMode() == kWiring1P2W ? 8 : 2));
    if (IsAcIntSyncOrVcaMode(mode) || IsAddMode(mode)) Queue(PanelValueWin(IsAddMode(mode) ? 3 : 2));
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

// clang-format off
constexpr StatusLink kStatusChain[] = {
    {{[] { return OutFlag(kOutFlagOutputOn); },
      [] { return g_HomePage.recallIndex.load(kRelaxed); },
      [] { return g_HomePage.presetSel.load(kRelaxed); },
      [] { return statusbar::ShownPreset(); },
      [] { return (ParamFlags() >> 4) & 1u; },
      [] { return (ParamFlags() >> 9) & 1u; }},
     false,
     {Win(kCellOutput), kWinSoftKey0, kWinSoftKey0 + 1, kWinSoftKey0 + 2, kWinSoftKey0 + 3, kWinSoftKey0 + 4,
      kWinSoftKey0 + 5, kWinSoftKey0 + 6, kWinSoftKey0 + 7},
     nullptr, nullptr},
    {{[] { return static_cast<uint32_t>(IsAlarmActive() != 0); }}, false, {Win(kCellAlarm), -1}, nullptr,
     nullptr},
    {{[] { return OutFlag(kOutFlagRemote) | ((ParamFlags() >> 6) & 1u) << 1; }}, false, {Win(kCellShift), -1},
     nullptr, nullptr},
    {{[] { return static_cast<uint32_t>(UsbMemoryMounted()); }}, false, {Win(kCellUsbMem), -1}, nullptr,
     nullptr},
    {{[] { return Param(kParamIrmsLimitMode); }}, false, {Win(kCellIrms), -1}, nullptr, nullptr},
    {{[] { return Param(kParamIpkLimitMode); }}, false, {Win(kCellIpk), -1}, nullptr, nullptr},
    {{[] { return (g_UsbState.statusC.load(std::memory_order_acquire) >> 1) & 1u; }}, false,
     {Win(kCellUsbDev), -1}, nullptr, nullptr},
    {{[] { return static_cast<uint32_t>(g_NetMonState.load(std::memory_order_acquire) != 0); }}, false,
     {Win(kCellNet), -1}, nullptr, nullptr},
    {{[] { return (ParamFlags() >> 5) & 1u; }}, false, {Win(kCellLock), -1}, nullptr, nullptr},
    {{[] { return core::CurrentRangeCode(); }}, false, {Win(kCellRange), -1}, nullptr, nullptr},
    {{[] { return static_cast<uint32_t>(GetWaveformSel()); }}, false, {-1}, WaveChanged, WaveRefreshAsked},
    {{[] { return static_cast<uint32_t>(GetWaveDutySel()); }}, false, {-1}, QueueWaveValues, nullptr},
    {{[] { return GetPhaseMode(); }}, false, {-1}, PhaseModeChanged, nullptr},
    {{[] { return static_cast<uint32_t>(g_EditAllPhases.load(kRelaxed)); }}, false,
     {kWinSoftKey0 + 1, kWinSoftKey0 + 6, -1}, nullptr, nullptr},
    {{[] { return Param(kParamRemoteSense) & 1u; }}, false, {Win(kCellSense), -1}, nullptr, nullptr},
    {{[] { return Param(kParamOutputImpedance); }, [] { return Param(kParamInductanceL1); },
      [] { return Param(kParamInductanceL2); }, [] { return Param(kParamInductanceL3); },
      [] { return Param(kParamResistanceL1); }, [] { return Param(kParamResistanceL2); },
      [] { return Param(kParamResistanceL3); }},
     true,
     {kWinPhaseHeader, -1},
     nullptr,
     nullptr},
    {{[] { return g_ParallelActive.load(std::memory_order_acquire); }}, false,
     {Win(kCellMaster), kWinSlave, -1}, nullptr, nullptr},
};
// clang-format on
static_assert(std::size(kStatusChain) == 17);

constexpr int WordCount(const StatusLink& l) {
    int n = 0;
    while (n < 7 && l.word[n] != nullptr)
        ++n;
    return n;
}
// Each link's first cache slot.
constexpr int SlotOf(int link) {
    int slot = 0;
    for (int i = 0; i < link; ++i)
        slot += WordCount(kStatusChain[i]);
    return slot;
}
// GCC cannot compare function addresses while compiling with UndefinedBehaviorSanitizer (VRN_UBSAN): this
// check is left to the other builds.
#ifndef VRN_UBSAN
static_assert(SlotOf(17) <= static_cast<int>(std::size(HomeWindows{}.status)));
#endif

void Handle(const StatusLink& l) {
    for (int8_t w : l.windows) {
        if (w < 0) break;
        Queue(w);
    }
    if (l.act != nullptr) l.act();
}

}  // namespace

bool StatusChainStep() {
    uint32_t* cache = g_HomeWindows.status;
    for (int i = 0; i < static_cast<int>(std::size(kStatusChain)); ++i) {
        const StatusLink& l = kStatusChain[i];
        const int n = WordCount(l), slot = SlotOf(i);
        uint32_t now[7];
        bool changed = l.forced != nullptr && l.forced();
        for (int k = 0; k < n; ++k) {
            now[k] = l.word[k]();
            if (now[k] == cache[slot + k]) continue;
            if (l.eachAlone) {
                cache[slot + k] = now[k];
                Handle(l);
                return true;
            }
            changed = true;
        }
        if (!changed) continue;
        for (int k = 0; k < n; ++k)
            cache[slot + k] = now[k];
        Handle(l);
        return true;
    }
    return false;
}

}  // namespace home
