// The home page's drop-down lists: a measurement-item list per item row (states 38-41), the output-mode
// list (state 46) and the line list (state 45) open while their state is current, their highlight
// follows the edited value, and they close with the state.
#include <atomic>

#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "panel/draw/panel_shapes.h"
#include "panel/menu/settings_layout.h"
#include "platform/stage/wiring_codes.h"
#include "screens/output/home/home_dirty_queue.h"
#include "screens/output/home/home_refresh.h"
#include "screens/output/home/home_window_table.h"
#include "screens/output/home/home_windows.h"

namespace home {

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

// Item list heights by output mode: {mode 1, mode 2, modes 7 and 8, the others}.
struct ListHeights {
    int16_t mode1, mode2, mode78, other;
};
constexpr ListHeights kItemListHeights[4] = {
    {325, 150, 300, 300},
    {225, 150, 200, 200},
    {150, 50, 175, 150},
    {225, 150, 225, 225},
};

int ItemListHeight(int k, uint32_t mode) {
    const ListHeights& h = kItemListHeights[k];
    if (mode == kModeAcInt) return h.mode1;
    if (mode == kModeDcInt) return h.mode2;
    if (IsSyncMode(mode)) return h.mode78;
    return h.other;
}

bool Shown(int win) {
    return WM_IsShown(g_HomeWin[win]) != 0;
}
int32_t EditValue() {
    return g_EditShown.workValue;
}
void MoveHead(int list, int y) {
    MoveWindowRelative(g_HomeWin[list + 1], kWinTable[list + 1].x, y, g_HomeWin[list]);
}

void ItemLists(uint32_t state) {
    for (int k = 0; k < 4; ++k) {
        const int list = kWinItemList0 + k;
        const bool current = state == kParamMeasItem1 + static_cast<uint32_t>(k);
        if (current && !Shown(list)) {
            // The highlight stands on the row's item, as its painter names it: the edit words the menu
            // thread publishes can lag the state that opened the list.
            const int32_t item = paramGetValue(kParamMeasItem1 + static_cast<uint32_t>(k), 0);
            WM_SetHeight(g_HomeWin[list], ItemListHeight(k, GetOutputMode()));
            MoveWindowRelative(g_HomeWin[kWinItemListHead0 + k], 0, 25 * item, g_HomeWin[list]);
            WM_Show(g_HomeWin[list]);
            Queue(ItemKeyWin(k));
        } else if (!current && Shown(list)) {
            WM_Hide(g_HomeWin[list]);
            Queue(ItemKeyWin(k));
        }
    }
}

void ModeList(uint32_t state) {
    uint32_t& highlight = g_HomeWindows.modeHighlight;
    const bool shown = Shown(kWinModeList);
    if (state == kParamMainMode && !shown) {
        MoveHead(kWinModeList, 21 * static_cast<int>(highlight) + 4);
        WM_Show(g_HomeWin[kWinModeList]);
        QueueRange(kWinSoftKey0, 8);
    } else if (state == kParamMainMode && static_cast<uint32_t>(EditValue()) != highlight) {
        highlight = static_cast<uint32_t>(EditValue());
        MoveHead(kWinModeList, 21 * static_cast<int>(highlight) + 4);
    } else if (state != kParamMainMode && shown) {
        WM_Hide(g_HomeWin[kWinModeList]);
        QueueRange(kWinSoftKey0, 8);
        QueueRange(kWinSetCell0, 9);
        Queue(kWinPhasor);
        Queue(PanelValueWin(static_cast<int>(LayoutRowOf(kItemIrms, kModeAcDcInt))));
    }
}

// Where the line list opens: on L1 where only one line is offered, on the PHASE/LINE view where balance
// makes the list choose the view, else on the last highlight.
int LineListOpenY() {
    uint32_t& highlight = g_HomeWindows.lineHighlight;
    const uint32_t mode = GetOutputMode();
    if (GetPhaseMode() == kWiring1P2W) return 4;
    if (GetPhaseBalanceMode() != 1) return 21 * static_cast<int>(highlight) + 4;
    if (mode == kModeAcVca) return 4;
    if (IsAcIntOrSyncMode(mode)) {
        const int32_t view = GetPhaseLineView();
        // The menu/control thread owns the saved value; the working value is the one word both share.
        g_EditParam.workValue.store(view, kRelaxed);
        highlight = static_cast<uint32_t>(view);
    }
    return 21 * static_cast<int>(highlight) + 4;
}

void LineList(uint32_t state) {
    uint32_t& highlight = g_HomeWindows.lineHighlight;
    const bool shown = Shown(kWinLineList);
    if (state == kParamPhaseMode && !shown) {
        MoveHead(kWinLineList, LineListOpenY());
        WM_Show(g_HomeWin[kWinLineList]);
        QueueRange(kWinLineKey, kWinHoldKey - kWinLineKey + 1);
    } else if (state == kParamPhaseMode && static_cast<uint32_t>(EditValue()) != highlight) {
        highlight = static_cast<uint32_t>(EditValue());
        MoveHead(kWinLineList, 21 * static_cast<int>(highlight) + 4);
    } else if (state != kParamPhaseMode && shown) {
        WM_Hide(g_HomeWin[kWinLineList]);
        QueueRange(kWinLineKey, kWinHoldKey - kWinLineKey + 1);
    }
}

}  // namespace

void ListSteps() {
    const uint32_t state = g_MenuState.load(kRelaxed);
    ItemLists(state);
    ModeList(state);
    LineList(state);
}

}  // namespace home
