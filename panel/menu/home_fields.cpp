#include "panel/menu/home_fields.h"

#include "core/system/state/edit_state.h"
#include "panel/menu/home_field_rows.h"

void menuSyncHomePanelRow() {
    const uint32_t state = g_MenuState.load(std::memory_order_relaxed);
    const panel::home::HomeFieldRow* row = panel::home::HomeFieldOf(state);
    if (row != nullptr && row->panelRow != panel::home::kNoPanelRow)
        g_HomePage.panelRow.store(static_cast<uint32_t>(row->panelRow), std::memory_order_relaxed);
}
