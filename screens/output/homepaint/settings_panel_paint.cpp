// Drawing one settings-panel row into its label or value window.
#include <algorithm>
#include <cstring>

#include "GUI/draw/gui_2d.h"
#include "GUI/gui_context.h"
#include "GUI/lcd/color_rgb.h"
#include "core/params/access/param_access.h"
#include "core/system/state/edit_state.h"
#include "panel/draw/panel_shapes.h"
#include "panel/menu/settings_layout.h"
#include "panel/pages/panel_fonts.h"
#include "platform/stage/wiring_codes.h"
#include "screens/output/homepaint/settings_labels.h"
#include "screens/output/homepaint/settings_panel.h"

namespace {

constexpr uint32_t kLabelBack = 0x333333, kValueBack = 0x4D4D4D, kWhite = 0xFFFFFF, kBlack = 0x000000;
// The highlight box: the whole value, or its left (wave) or right (duty) part.
constexpr int kBoxWidth = 103, kWaveWidth = 45, kDutyX = 45, kDutyWidth = 58;
constexpr int kTextX = 2, kSecondX = 47, kTextY = 3;
constexpr int kWindowWidth = 108, kCapWidth = 3;

bool EmptyRow(PanelItem code) {
    return code == kItemFiller || code == kItemEnd;
}

void Text(const char* text, uint32_t colour, int x) {
    if (text[0] == '\0') return;
    SetColorRGB(colour);
    GUI_DrawTextAt(text, x, kTextY);
}

void TextStyle() {
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SelectFont(&kFont24);
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_TOP);
}

}  // namespace

void SettingsPanel_PaintLabel(PanelItem code) {
    SetBkColorRGB(kLabelBack);
    GUI_ClearWindow();
    if (EmptyRow(code)) return;
    TextStyle();
    SetColorRGB(kWhite);
    GUI_DrawTextAt(home::SettingsLabelOf(code), 0, 0);
}

void SettingsPanel_SetAllFlag(bool highlighted, uint32_t value) {
    if (GetPhaseMode() != kWiring1P3W)
        g_HomePage.allPhasesLock.store(0, std::memory_order_relaxed);
    else if (highlighted)
        g_HomePage.allPhasesLock.store(value, std::memory_order_relaxed);
}

void SettingsPanel_PaintValue(PanelItem code, bool highlighted) {
    SetBkColorRGB(kValueBack);
    GUI_ClearWindow();
    if (EmptyRow(code)) return;
    SettingsPanel_SetAllFlag(highlighted, code == kItemAngleL2 ? 0 : 1);
    const home::PanelValueText t = home::PanelValueTextOf(code);
    TextStyle();
    if (!highlighted) {
        Text(t.main, kWhite, kTextX);
        if (t.code == kItemWave) Text(t.second, kWhite, kSecondX);
        return;
    }
    if (t.code == kItemDuty) {
        DrawPanelBar30(kDutyX, 0, kDutyWidth);
        Text(t.main, kBlack, kSecondX);
        Text(t.second, kWhite, kTextX);
    } else if (t.code == kItemWave) {
        DrawPanelBar30(0, 0, t.second[0] != '\0' ? kWaveWidth : kBoxWidth);
        Text(t.main, kBlack, kTextX);
        Text(t.second, kWhite, kSecondX);
    } else {
        // The widest names (AC+DC-Sync) have no room on the box before its right cap: the box then takes
        // the whole window and the name moves left to end before the cap.
        const int width = GUI_LineWidth(t.main, static_cast<int>(std::strlen(t.main)));
        if (kTextX + width <= kBoxWidth - kCapWidth) {
            DrawPanelBar30(0, 0, kBoxWidth);
            Text(t.main, kBlack, kTextX);
        } else {
            DrawPanelBar30(0, 0, kWindowWidth);
            Text(t.main, kBlack, std::max(0, kWindowWidth - kCapWidth - width));
        }
    }
}
