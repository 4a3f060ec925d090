#include "panel/dialogs/limit_draw.h"

#include "GUI/bitmap/gui_image.h"
#include "GUI/draw/gui_2d.h"
#include "GUI/lcd/color_rgb.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "panel/draw/panel_shapes.h"
#include "panel/draw/panel_text.h"
#include "panel/draw/popup_art.h"
#include "panel/draw/value_format.h"
#include "panel/pages/panel_fonts.h"

namespace {

constexpr uint32_t kTitleColour = 0x3C3C3C;
constexpr uint32_t kButtonRowColour = 0xE6E6E6;

void Text(const char* text, int x, int y, uint16_t align) {
    if (text == nullptr) return;
    GUI_SetAlign(static_cast<uint16_t>(align | GUI_TA_TOP));
    GUI_DrawTextAt(text, x, y);
}

// The upper limits edit a positive number, the lower ones its magnitude: the sign stands apart.
const char* SignOfState(uint32_t state) {
    if (state == kParamVpkMax || state == kParamIpkMax) return "+";
    if (state == kParamVpkMin || state == kParamIpkMin) return "-";
    return nullptr;
}

struct EditPlaces {
    int typedX, rightX, y, signX;
};

void DrawEditedValue(const char* value, EditPlaces at) {
    SetBkColorRGB(0x000000);
    GUI_ClearWindow();
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    // The sign stands 50 pixels left of the value's end: five characters of the 24-pixel face need more.
    GUI_SelectFont(&kFontSignedValue);
    SetColorRGB(0xFFFFFF);
    if (EntryInProgress()) {
        char typed[sizeof g_EditBuf.entryText + 1];
        CopyEntryText(typed, sizeof typed);
        Text(typed, at.typedX, at.y, GUI_TA_LEFT);
        return;
    }
    GUI_SetAlign(GUI_TA_RIGHT | GUI_TA_TOP);
    DrawDigitsWithCursor(g_EditShown.cursor, value != nullptr ? value : "", at.rightX, at.y);
    if (const char* sign = SignOfState(g_MenuState.load(std::memory_order_relaxed)))
        Text(sign, at.signX, at.y, GUI_TA_LEFT);
}

void DrawDialogFrame(const char* title, const char* leftLabel, const char* middleLabel, const char* rightText,
                     int flag) {
    GUI_DrawImage(&panel::art::PopupBackground(), 0, 0);
    GUI_DrawImage(&panel::art::PopupTitleBand(), 0, 22);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    SetColorRGB(kTitleColour);
    GUI_SelectFont(&kFont24);
    Text(title, 15, 20, GUI_TA_LEFT);
    GUI_SelectFont(&kFont16);
    Text(leftLabel, 50, 55, GUI_TA_LEFT);
    Text(middleLabel, 160, 55, GUI_TA_LEFT);
    Text(rightText, 225, 55, GUI_TA_RIGHT);
    if (flag == 1) GUI_DrawImage(&panel::art::ValueFieldFrame(), 15, 70);
}

void DrawKindButtons(const char* first, const char* second, int focusSecond) {
    SetBkColorRGB(kButtonRowColour);
    GUI_ClearWindow();
    DrawButtonPair(110, focusSecond != 0);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    SetColorRGB(0x000000);
    GUI_SelectFont(&kFont24);
    Text(first, 80, 6, GUI_TA_RIGHT);
    Text(second, 190, 6, GUI_TA_RIGHT);
}

}  // namespace

void DrawLimitDialog(int layer, const char* title, const char* leftLabel, const char* middleLabel,
                     const char* rightText, int flag) {
    switch (layer) {
        case 0: DrawDialogFrame(title, leftLabel, middleLabel, rightText, flag); break;
        case 1: DrawKindButtons(leftLabel, middleLabel, flag); break;
        case 2: DrawEditedValue(rightText, {15, 155, 0, 105}); break;
        default: break;
    }
}

void DrawLimitPopup(int layer, const char* title, const char* rangeText, const char* valueText) {
    switch (layer) {
        case 0:
            GUI_DrawImage(&panel::art::SmallPopupBackground(), 0, 0);
            GUI_DrawImage(&panel::art::SmallPopupBand(), 10, 37);
            GUI_SetTextDrawMode(GUI_TM_TRANS);
            SetColorRGB(kTitleColour);
            GUI_SelectFont(&kFont24);
            Text(title, 5, 8, GUI_TA_LEFT);
            GUI_SelectFont(&kFont16);
            Text(rangeText, 195, 28, GUI_TA_RIGHT);
            break;
        case 1:
            SetBkColorRGB(0x000000);
            GUI_ClearWindow();
            GUI_SetTextDrawMode(GUI_TM_TRANS);
            SetColorRGB(0xFFFFFF);
            GUI_SelectFont(&kFont24);
            Text(valueText, 140, 5, GUI_TA_RIGHT);
            break;
        case 2: DrawEditedValue(valueText, {5, 130, 5, 80}); break;
        default: break;
    }
}
