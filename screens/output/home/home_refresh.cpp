#include "screens/output/home/home_refresh.h"

#include <atomic>

#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "platform/stage/wiring_codes.h"
#include "screens/output/home/home_dirty_queue.h"
#include "screens/output/home/home_layout.h"
#include "screens/output/home/home_windows.h"

HomeWindows g_HomeWindows{};
uint32_t g_HomeMeterCountdown = 0;

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

// Takes a one-shot request word: true when it was 1 (a value written meanwhile stays).
bool TakeRequest(std::atomic<uint32_t>& word) {
    uint32_t one = 1;
    return word.compare_exchange_strong(one, 0, std::memory_order_acq_rel);
}

}  // namespace

int32_t HomeScreen_Init(StepRow* row, uint32_t msg) {
    if (msg != 1) return static_cast<int32_t>(msg);
    HomeDirty_Reset();
    StepObjPostState(2, 2, row);
    return static_cast<int32_t>(msg);
}

int32_t HomeScreen_Refresh(StepRow*, uint32_t msg) {
    const uint32_t line = static_cast<uint32_t>(GetSelectedLine());
    home::LayoutPass();
    HomeDirty_Flush();
    if (HomeDirty_FreeSlots() == 0 || msg != 2) return static_cast<int32_t>(msg);

    home::StatusChainStep();
    home::PanelSelectionStep();
    if (line != g_HomeWindows.line) {
        g_HomeWindows.line = line;
        home::Queue(home::kWinPhaseValue);
    }
    const uint32_t mode = GetOutputMode();
    if (mode != g_HomeWindows.outputMode)
        home::OutputModeChange(mode);
    else
        home::SettingsChainStep(line);

    if (TakeRequest(g_OutputRefresh)) home::QueueRange(home::kWinSetCell0, 9);
    if (TakeRequest(g_HomePage.headerRefresh)) home::Queue(home::kWinPhaseHeader);
    home::ApplyDisplayModeRule(g_HomePage.viewSel.load(kRelaxed));
    home::ApplyPhasorRule(GetPhaseMode(), GetOutputMode());

    home::MeterStep();
    home::ItemRowSteps();
    home::ListSteps();
    return static_cast<int32_t>(msg);
}

namespace home {

void PanelSelectionStep() {
    const uint32_t wiring = GetPhaseMode(), mode = GetOutputMode();
    const bool threeModule = wiring != kWiring1P2W;
    const uint32_t selected = g_HomePage.panelRow.load(kRelaxed);
    if (selected != g_HomeWindows.panelRow) {
        g_HomeWindows.panelRow = selected;
        const PanelSlot slot = PanelSlotOfRow(selected, wiring, mode);
        g_HomePage.panelPage.store(slot.page, kRelaxed);
        if (slot.page != g_HomeWindows.panelPage) {
            g_HomeWindows.panelPage = slot.page;
            for (int n = 0; n < (threeModule ? 6 : 12); ++n) {
                Queue(PanelLabelWin(n));
                Queue(PanelValueWin(n));
                if (threeModule) Queue(kWinEachAllKey);
            }
            Queue(kWinPanelScroll);
        } else if (slot.index < 12) {
            Queue(PanelValueWin(static_cast<int>(slot.index)));
            if (threeModule) Queue(kWinEachAllKey);
        }
    }
    // Rows the painter showed highlighted and the selection has left repaint plain.
    const uint32_t mask = g_HomePage.rowMask.load(kRelaxed);
    for (uint32_t r = 0; r <= 12; ++r) {
        if (((mask >> r) & 1u) == 0 || r == selected) continue;
        g_HomePage.rowMask.fetch_and(~(1u << r), kRelaxed);
        int index = static_cast<int>(r);
        if (threeModule && r > 5) index = static_cast<int>(r) - 6;
        if (!threeModule && r > 11) index = static_cast<int>(r) - 12;
        if (IsAddMode(mode)) {
            if (r > 9) --index;
        } else if (!IsDcExtOrAddMode(mode)) {
            if (r >= 9) --index;
        }
        // A row with no window of its own in this layout (the 1P2W overflow row) has nothing to repaint.
        if (index >= 0 && index < 12) Queue(PanelValueWin(index));
    }
}

}  // namespace home
