#include "screens/output/keys/panel_rows.h"

#include "core/params/access/param_access.h"
#include "core/system/state/edit_state.h"
#include "screens/output/home/home_windows.h"

namespace home {

const SettingsLayout& PanelLayoutNow() {
    return SettingsLayoutFor(GetPhaseMode(), GetPhaseLineView(), GetPhaseBalanceMode());
}

// Taken from the selected row by the rule the refresh uses for its page flag, so that a label and a value
// painted in one pass never disagree about the page.
uint32_t PanelPageNow() {
    const uint32_t row = g_HomePage.panelRow.load(std::memory_order_relaxed);
    return PanelSlotOfRow(row, GetPhaseMode(), GetOutputMode()).page;
}

PanelItem PanelCodeOfWindow(uint32_t index) {
    const uint32_t mode = GetOutputMode();
    const uint32_t row = PanelRowOfWindow(index, PanelPageNow(), GetPhaseMode(), mode);
    return SettingsItemCode(PanelLayoutNow(), row, mode);
}

}  // namespace home
