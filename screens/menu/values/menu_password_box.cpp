// The small dialog over the page for the default-setting confirmation (222) and the special functions'
// password (224), and its entry field.
#include <cstdio>

#include "GUI/draw/gui_2d.h"
#include "GUI/lcd/color_rgb.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "panel/draw/panel_shapes.h"
#include "panel/draw/panel_text.h"
#include "panel/draw/value_format.h"
#include "panel/pages/text_log.h"
#include "screens/menu/page/menu_fonts.h"
#include "screens/menu/page/menu_page_ops.h"
#include "screens/menu/page/menu_paint.h"
#include "screens/menu/page/menu_windows.h"

namespace {

constexpr uint32_t kDefaultState = kMenuDefaultSetEnter, kPasswordState = kMenuPassword;
constexpr uint32_t kFieldGrey = 0xE6E6E6;
constexpr int kMaxDigits = 4;

// The dialog's frame, 201 x 91: a light face with a dark outline and a light inner edge.
void DrawBoxFrame() {
    SetColorRGB(kFieldGrey);
    GUI_FillBox(0, 0, 200, 90);
    SetColorRGB(0x3C3C3C);
    GUI_DrawFrame(0, 0, 200, 90);
    SetColorRGB(0xFFFFFF);
    GUI_DrawFrame(1, 1, 199, 89);
}

// A text of the password's own digits, which the text log writes masked.
void DrawSecret(const char* text, int x, int y) {
    TextLog_SetMasked(true);
    GUI_DrawTextAt(text, x, y);
    TextLog_SetMasked(false);
}

void PaintTyped() {
    GUI_SetAlign(GUI_TA_HCENTER | GUI_TA_VCENTER);
    const uint32_t typed = g_EditShown.buf.entryLength;
    if (typed == 0) return GUI_DrawTextAt("****", 75, 14);
    if (typed > kMaxDigits) return GUI_DrawTextAt("Error", 75, 14);
    char text[sizeof g_EditShown.buf.entryText + 1];
    CopyEntryText(text, sizeof text);
    DrawSecret(text, 75, 14);
}

// The code the knob and cursor keys set: the working value with its digit cursor.
void PaintChoice() {
    const auto value = static_cast<uint32_t>(g_EditShown.workValue);
    char text[16] = "****";
    if (value != 0) std::snprintf(text, sizeof text, "%04u", static_cast<unsigned>(value));
    GUI_SetAlign(GUI_TA_RIGHT | GUI_TA_VCENTER);
    TextLog_SetMasked(value != 0);
    TextLog_CharsDrawn(text, 83, 14);
    TextLog_SetMasked(false);
    // Centred on y 14 like the typed text: the characters' tops half the font's height higher.
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_VCENTER);
    DrawPasswordWithCursor(g_EditShown.cursor, text, 83, 14);
}

}  // namespace

void MenuPage_PaintPasswordBox(WM_MSG_RECORD* msg) {
    if (!MenuWin_BeginPaint(msg)) return;
    const uint32_t state = MenuPage_State();
    if (state != kDefaultState && state != kPasswordState) return;
    DrawBoxFrame();
    GUI_SelectFont(&kMenuDialogFont);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_TOP);
    SetColorRGB(0x3C3C3C);
    GUI_DrawTextAt(state == kDefaultState ? "Default Setting" : "Password", 5, 8);
}

void MenuPage_PaintPasswordField(WM_MSG_RECORD* msg) {
    if (!MenuWin_BeginPaint(msg)) return;
    const uint32_t state = MenuPage_State();
    if (state != kDefaultState && state != kPasswordState) return;
    SetBkColorRGB(kFieldGrey);
    GUI_ClearWindow();
    GUI_SelectFont(&kMenuDialogFont);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    if (state == kDefaultState) {
        DrawSelectFieldBar(35, 0, 77);
        SetColorRGB(0x000000);
        GUI_SetAlign(GUI_TA_LEFT | GUI_TA_TOP);
        GUI_DrawTextAt("ENTER", 45, 2);
        return;
    }
    DrawEditFieldBar(35, 0, 77);
    SetColorRGB(0xFFFFFF);
    if (EntryInProgress())
        PaintTyped();
    else
        PaintChoice();
}
