#include "panel/edit/recalled_preset.h"

#include "core/control/preset_output.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "panel/menu_entries.h"
#include "panel/statusbar/status_bar.h"

void menuApplyRecalledPreset() {
    core::PresetRunForOutput(0, g_HomePage.recallIndex.load(std::memory_order_acquire));
    g_ParamFlags.fetch_or(core::kFlagPresetRecalled, std::memory_order_relaxed);
    menuReturnHome();
    g_OutputRefresh.store(1, std::memory_order_release);
}
