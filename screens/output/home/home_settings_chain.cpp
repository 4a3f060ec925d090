// The settings chain of the home refresh: fifteen links over the selected line's settings, tested in
// order; only the first that changed is handled on a call. What each link queues depends on the output
// mode (the panel shows other rows in other modes) and, for some, on the wiring.
#include <atomic>

#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "platform/stage/wiring_codes.h"
#include "screens/output/home/home_dirty_queue.h"
#include "screens/output/home/home_refresh.h"
#include "screens/output/home/home_windows.h"

namespace home {

namespace {

// Output modes as a mask (bit m = mode m).
constexpr uint16_t M(std::initializer_list<int> modes) {
    uint16_t mask = 0;
    for (int m : modes)
        mask |= static_cast<uint16_t>(1u << m);
    return mask;
}
constexpr uint16_t kAllModes = 0x3FF;

// A setting word: the parameter id (plus the line when perLine, read for that line) and its value or its
// on/off state.
struct SettingWord {
    uint8_t id;
    bool perLine;
    bool state;
    uint8_t slot;  // cache slot, shared by links that compare the same word
};
// A panel value window queued in the given output modes: `value`, or `value1P2W` in 1P2W.
struct PanelQueue {
    uint16_t modes;
    int8_t value;
    int8_t value1P2W;
};
struct SettingLink {
    SettingWord word[2];
    uint8_t words;
    PanelQueue panel[7];
    uint8_t panelCount;
    uint8_t setRows;   // bit r: the three set-value cells of row r (0 ACV, 1 DCV, 2 FREQ)
    uint8_t softKeys;  // bit n: soft key n
    bool phasor;       // the phasor too, except in 1P2W
    void (*act)();     // before the queueing, when set
};

// Balance switched: the selection goes back to the first row; without balance the view goes to PHASE.
void BalanceChanged() {
    g_HomePage.panelRow.store(0, std::memory_order_relaxed);
    g_HomePage.panelPage.store(0, std::memory_order_relaxed);
    if (GetPhaseBalanceMode() == 0) paramPutValue(kParamMeasItem7, 0, 0);
}

constexpr uint8_t kAcvUnitSlot = 1;
constexpr int8_t kSame = -1;  // value1P2W: the same window as in the other wirings

// clang-format off
constexpr SettingLink kSettingsChain[] = {
    // 1 AC voltage or its unit, 2 line AC voltage or the unit.
    {{{kParamAcv, true, false, 0}, {kParamAcvUnit, false, false, kAcvUnitSlot}}, 2,
     {{M({0, 1, 5, 6, 7, 8}), 2, kSame}}, 1, 0b101, 0, false, nullptr},
    {{{kParamAcvLine, false, false, 2}, {kParamAcvUnit, false, false, kAcvUnitSlot}}, 2,
     {{M({0, 1, 5, 6, 7, 8}), 2, kSame}}, 1, 0b101, 0, false, nullptr},
    // 3 DC voltage, 4 line DC voltage.
    {{{kParamDcv2, true, false, 3}}, 1, {{M({2}), 2, kSame}, {M({0, 5, 7}), 3, kSame}}, 2, 0b110, 0, false,
     nullptr},
    {{{kParamDcvLine, false, false, 4}}, 1, {{M({2}), 2, kSame}, {M({0, 5, 7}), 3, kSame}}, 2, 0b101, 0, false,
     nullptr},
    // 5 frequency.
    {{{kParamFreq, true, false, 5}},
     1,
     {{M({0, 1, 5, 6, 9}), 4, kSame},
      {M({0, 1, 9}), 6, kSame},
      {M({0, 1, 9}), 7, kSame},
      {M({0, 1, 9}), 8, kSame},
      {M({5, 6}), 7, kSame},
      {M({5, 6}), 8, kSame},
      {M({5, 6}), 9, kSame}},
     7, 0b100, 0, false, nullptr},
    // 6 current.
    {{{kParamCurrLimit2, true, false, 6}}, 1, {{M({0, 1, 5, 6, 7, 8, 9}), 5, kSame}, {M({2, 3, 4}), 3, kSame}}, 2,
     0, 0, false, nullptr},
    // 7 ON phase or its state, 8 OFF phase or its state.
    {{{kParamOnPhase, true, false, 7}, {kParamOnPhase, true, true, 8}}, 2,
     {{M({0, 1, 7, 8, 9}), 0, 6}, {M({5, 6}), 1, 7}}, 2, 0, 0, false, nullptr},
    {{{kParamOffPhase, true, false, 9}, {kParamOffPhase, true, true, 10}}, 2,
     {{M({0, 1, 7, 8, 9}), 1, 7}, {M({5, 6}), 2, 8}}, 2, 0, 0, false, nullptr},
    // 9 balance mode.
    {{{kParamBalanceMode, false, false, 11}}, 1, {{kAllModes, 0, kSame}, {kAllModes, 4, 10}}, 2, 0, 0b1000010, true,
     BalanceChanged},
    // 10, 11 phase angles of L2 and L3.
    {{{kParamBalance2, false, false, 12}}, 1, {{kAllModes, 4, 10}}, 1, 0, 0, true, nullptr},
    {{{kParamBalance3, false, false, 13}}, 1, {{kAllModes, 5, 11}}, 1, 0, 0, true, nullptr},
    // 12 gain.
    {{{kParamGain, true, false, 14}}, 1, {{M({3, 4, 9}), 2, kSame}, {M({5, 6}), 0, 6}}, 2, 0, 0, false, nullptr},
    // 13 sync phase, 14 SIG, 15 SRC.
    {{{kParamSyncPhase, false, false, 15}}, 1, {{M({7, 8}), 3, kSame}}, 1, 0, 0, false, nullptr},
    {{{kParamMainSig, true, false, 16}}, 1, {{M({7, 8}), 4, kSame}}, 1, 0, 0, false, nullptr},
    {{{kParamMainSrc, true, false, 17}},
     1,
     {{M({3, 4, 5, 6, 9}), 3, kSame},
      {M({3, 4, 5, 6, 9}), 4, kSame},
      {M({3, 4, 5, 6, 9}), 9, kSame},
      {M({3, 4, 5, 6, 9}), 10, kSame}},
     4, 0, 0, false, nullptr},
};
// clang-format on
static_assert(std::size(kSettingsChain) == 15);

uint32_t Read(const SettingWord& w, uint32_t line) {
    ParamRec rec{};
    const uint32_t unit = w.perLine ? line : 0;
    paramGetRecord(w.id + unit, &rec, unit);
    return static_cast<uint32_t>(w.state ? rec.state : rec.value);
}

void Handle(const SettingLink& l) {
    if (l.act != nullptr) l.act();
    const uint32_t mode = GetOutputMode();
    const bool is1P2W = GetPhaseMode() == kWiring1P2W;
    for (int i = 0; i < l.panelCount; ++i) {
        const PanelQueue& q = l.panel[i];
        if (mode >= core::kModes || ((q.modes >> mode) & 1u) == 0) continue;
        Queue(PanelValueWin(is1P2W && q.value1P2W != kSame ? q.value1P2W : q.value));
    }
    for (int n = 0; n < 8; ++n)
        if ((l.softKeys >> n) & 1u) Queue(kWinSoftKey0 + n);
    if (l.phasor && !is1P2W) Queue(kWinPhasor);
    for (int r = 0; r < 3; ++r)
        if ((l.setRows >> r) & 1u) QueueRange(SetCellWin(r, 0), 3);
}

}  // namespace

bool SettingsChainStep(uint32_t line) {
    uint32_t* cache = g_HomeWindows.settings;
    for (const SettingLink& l : kSettingsChain) {
        uint32_t now[2];
        bool changed = false;
        for (int k = 0; k < l.words; ++k) {
            now[k] = Read(l.word[k], line);
            changed |= now[k] != cache[l.word[k].slot];
        }
        if (!changed) continue;
        for (int k = 0; k < l.words; ++k)
            cache[l.word[k].slot] = now[k];
        Handle(l);
        return true;
    }
    return false;
}

}  // namespace home
