// The settings panel's twelve label and twelve value windows: each finds its index among its kind and
// paints the row the panel's page puts there.
#include "core/params/access/param_access.h"
#include "core/system/state/edit_state.h"
#include "screens/output/home/home_windows.h"
#include "screens/output/homepaint/home_paint.h"
#include "screens/output/homepaint/settings_panel.h"
#include "screens/output/keys/panel_rows.h"

namespace {

// The window's number 0-11 among the label (or value) windows, or -1.
int PanelIndexOf(WM_HWINDOW h, int (*winOf)(int)) {
    const int index = HomeWin_IndexOf(h);
    for (int n = 0; n < static_cast<int>(home::kPanelWindows); ++n)
        if (index >= 0 && winOf(n) == index) return n;
    return -1;
}

int LabelWin(int n) {
    return home::PanelLabelWin(n);
}
int ValueWin(int n) {
    return home::PanelValueWin(n);
}

PanelItem CodeOf(int n) {
    return n < 0 ? kItemFiller : home::PanelCodeOfWindow(static_cast<uint32_t>(n));
}

}  // namespace

void HomePaint_PanelLabel(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) {
        WM_DefaultHandler(msg);
        return;
    }
    SettingsPanel_PaintLabel(CodeOf(PanelIndexOf(msg->hWin, LabelWin)));
}

// The window of the selected row paints it highlighted and marks the row as shown, so that the knob may
// leave it and the refresh repaints it plain once it does.
void HomePaint_PanelValue(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) {
        WM_DefaultHandler(msg);
        return;
    }
    const int n = PanelIndexOf(msg->hWin, ValueWin);
    const uint32_t row = g_HomePage.panelRow.load(std::memory_order_relaxed);
    const home::PanelSlot slot = home::PanelSlotOfRow(row, GetPhaseMode(), GetOutputMode());
    const bool highlighted = n >= 0 && slot.index == static_cast<uint32_t>(n);
    if (highlighted && row < kLayoutRows)
        g_HomePage.rowMask.fetch_or(1u << row, std::memory_order_relaxed);
    SettingsPanel_PaintValue(CodeOf(n), highlighted);
}
