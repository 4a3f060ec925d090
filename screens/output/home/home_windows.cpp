#include "screens/output/home/home_windows.h"

#include "core/params/param_ranges.h"
#include "panel/menu/settings_layout.h"
#include "platform/stage/wiring_codes.h"

std::array<WM_HWINDOW, home::kWinCount> g_HomeWin{};

int HomeWin_IndexOf(WM_HWINDOW h) {
    if (h == 0) return -1;
    for (int i = 0; i < home::kWinCount; ++i)
        if (g_HomeWin[i] == h) return i;
    return -1;
}

namespace home {

namespace {
constexpr bool PhaseRowLeads(const SettingsLayout& t) {
    for (uint32_t m = 0; m < core::kModes; ++m)
        if (SettingsItemCode(t, 0, m) != kItemPhase) return false;
    return true;
}
static_assert(PhaseRowLeads(SettingsLayoutTables.a) && PhaseRowLeads(SettingsLayoutTables.b) &&
              PhaseRowLeads(SettingsLayoutTables.c));
}  // namespace

// Three-phase wirings show six rows a page; past the first page the rows a mode skips (its duty row,
// or both duty and wave in the modes with a gain row) close up, so the index steps back by one more.
PanelSlot PanelSlotOfRow(uint32_t row, uint32_t phaseMode, uint32_t outputMode) {
    const bool noSecondPage = IsDcOrExtMode(outputMode);
    const bool modeGroupA = IsAcIntSyncOrVcaMode(outputMode);
    const bool modeGroupB = IsAddMode(outputMode);
    PanelSlot s{0, row};
    if (phaseMode != kWiring1P2W) {
        s.page = (row > 5 && !noSecondPage) ? 1u : 0u;
        if (s.page == 0) return s;
        if (modeGroupA && row > 8)
            s.index = row - 7;
        else if (modeGroupB && row > 9)
            s.index = row - 7;
        else
            s.index = row - 6;
        return s;
    }
    s.page = (row > 12 && !noSecondPage) ? 1u : 0u;
    if ((modeGroupA && row > 8) || (modeGroupB && row > 9)) s.index = row - 1;
    return s;
}

}  // namespace home
