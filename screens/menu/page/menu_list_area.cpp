// The list area (the top menu with its preview frame, or a titled configuration list) and the top menu's
// focus bar.
#include <cstdio>

#include "GUI/draw/gui_2d.h"
#include "GUI/lcd/color_rgb.h"
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/model_table.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/state/output_flags.h"
#include "panel/draw/panel_shapes.h"
#include "panel/menu/menu_page_words.h"
#include "screens/menu/page/menu_art.h"
#include "screens/menu/page/menu_fonts.h"
#include "screens/menu/page/menu_page_cache.h"
#include "screens/menu/page/menu_page_ops.h"
#include "screens/menu/page/menu_paint.h"
#include "screens/menu/page/menu_windows.h"

namespace {

constexpr uint32_t kListGrey = 0x666666, kDim = 0x3C3C3C, kWhite = 0xFFFFFF, kBlack = 0x000000;
constexpr int kTopRowsPerScreen = 13, kTopRowPitch = 32;
constexpr int kSecondColumnFrom = 15;  // MISC rows from here stand in the second column

void TextAt(const char* text, uint32_t colour, int x, int y) {
    SetColorRGB(colour);
    GUI_DrawTextAt(text, x, y);
}

// The text in its colour over a black copy one pixel right and down.
void ShadowedText(const char* text, uint32_t colour, int x, int y) {
    TextAt(text, kBlack, x + 1, y + 1);
    TextAt(text, colour, x, y);
}

bool TopRowDim(uint32_t state) {
    switch (state) {
        case kMenuRs232:
            return g_Rs232Present.load(std::memory_order_relaxed) == 0;
        case kMenuOption:
            return g_GpibPresent.load(std::memory_order_relaxed) == 0;
        case kMenuImpedance:
            return g_ParallelActive.load(std::memory_order_relaxed) == 1;
        default:
            return false;
    }
}

void PaintTopMenu() {
    GUI_SelectFont(&kMenuTopFont);
    const MenuListRow* rows = g_MenuListTables[0];
    char text[48];
    for (int i = 0; rows[i].SelectState != kMenuListEnd; ++i) {
        std::snprintf(text, sizeof text, "%d. %s", i % kTopRowsPerScreen + 1, rows[i].Label);
        TextAt(text, TopRowDim(rows[i].SelectState) ? kDim : kWhite, 5,
               (i % kTopRowsPerScreen) * kTopRowPitch + 5);
    }
    SetColorRGB(kBlack);
    GUI_DrawFrame(359, 4, 750, 410);
    SetColorRGB(0xC0C0C0);
    GUI_FillBox(360, 5, 749, 409);
}

bool MiscOutputModeWithoutTrigger() {
    const uint32_t mode = g_OutputModeIdx.load(std::memory_order_relaxed);
    return SeqSimIsActive() != 0 || IsDcOrExtMode(mode);
}

bool RowDim(uint32_t list, uint32_t state) {
    switch (list) {
        case 2:
            return std::atomic_ref<const uint8_t>(g_IfaceCfg.rs232Enable).load(std::memory_order_relaxed) ==
                   0;
        case 7:
            return (state == kMenuParallelNumber || state == kMenuParallelEnable) &&
                   paramGetValue(kParamParallelPosition, 0) == 0;
        case 10: {
            const uint32_t phase = GetPhaseMode();
            if (state == kMenuPhaseMode && (phase == 1 || phase == 2)) return true;
            if (state == kMenuRelock && phase == 1) return true;
            return (state == kMenuTriggerWidth || state == kMenuTriggerSource) &&
                   MiscOutputModeWithoutTrigger();
        }
        default:
            return false;
    }
}

void PaintUnderline() {
    SetColorRGB(kBlack);
    GUI_Line(0, 26, 201, 26);
    SetColorRGB(kWhite);
    GUI_Line(0, 25, 200, 25);
    SetColorRGB(kBlack);
    GUI_FillDisc(201, 26, 3);
    SetColorRGB(kWhite);
    GUI_FillDisc(200, 25, 3);
}

void PaintConfigList(uint32_t list) {
    GUI_SelectFont(&kMenuListFont);
    ShadowedText(menu::ListTitle(list), kWhite, 5, 0);
    PaintUnderline();
    if (list == 6) GUI_DrawImage(&menu::art::ImpedancePicture(), 310, 35);
    const MenuListRow* rows = g_MenuListTables[list];
    const bool allData = SaveRecallType.load(std::memory_order_relaxed) == 4;
    for (int i = 0; rows[i].SelectState != kMenuListEnd; ++i) {
        const uint32_t state = rows[i].SelectState;
        if (list == 12 && state == kMenuSavRecMemory && allData) continue;  // no memory number for All Data
        const uint32_t colour = RowDim(list, state) ? kDim : kWhite;
        int x = 10, colonX = menu::ListColonX(list), y = 25 * i + 35;
        if (list == 10 && i >= kSecondColumnFrom) {
            x = 350;
            colonX = 520;
            y = 25 * i - 340;
        }
        ShadowedText(rows[i].Label, colour, x, y);
        ShadowedText(":", colour, colonX, y);
    }
}

}  // namespace

void MenuPage_PaintListArea(WM_MSG_RECORD* msg) {
    if (!MenuWin_BeginPaint(msg)) return;
    SetBkColorRGB(kListGrey);
    GUI_ClearWindow();
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SetAlign(GUI_TA_LEFT);
    const uint32_t list = g_MenuPageCache.currentList;
    if (list == 0)
        PaintTopMenu();
    else if (list < kMenuLists && list != kMenuListSpecial)
        PaintConfigList(list);
}

void MenuPage_PaintFocusBar(WM_MSG_RECORD* msg) {
    if (!MenuWin_BeginPaint(msg)) return;
    char text[48] = "";
    if (g_MenuPageCache.currentList == 0) {
        const int row = menu::RowOfState(g_MenuListTables[0], MenuPage_State());
        if (row >= 0) std::snprintf(text, sizeof text, "%d. %s", row + 1, g_MenuListTables[0][row].Label);
    }
    DrawSelectFieldBar(0, 0, 268);
    GUI_SelectFont(&kMenuTopFont);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_VCENTER);
    SetColorRGB(kBlack);
    GUI_DrawTextAt(text, 5, 14);
}
