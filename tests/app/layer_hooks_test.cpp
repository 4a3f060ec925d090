// The start-up's hand-over of the MENU rows' entry to the panel below them.
#include "app/layer_hooks.h"

#include <gtest/gtest.h>

#include "core/system/config/iface_cfg.h"
#include "core/system/state/edit_state.h"
#include "panel/menu/row_entry_hook.h"

namespace {

TEST(LayerHooks, PanelEntersTheRs232DataBitsEditorThroughTheRowTable) {
    WireLayerHooks();
    g_IfaceCfg.rs232DataBits = 0;  // 7 bits
    g_MenuState.store(1);
    menuEnterRowState(174);
    EXPECT_EQ(g_MenuState.load(), 174u);
    EXPECT_EQ(g_EditParam.workValue.load(), 0);
    EXPECT_EQ(g_EditParam.max, 1);  // 7 or 8 bits
    EXPECT_EQ(g_EditParam.min, 0);
}

}  // namespace
