#include "panel/draw/list_items.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "GUI/draw/gui_2d.h"
#include "GUI/lcd/color_rgb.h"
#include "core/params/param_store.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/edit_state.h"
#include "core/system/util/format_number.h"
#include "panel/draw/panel_art.h"
#include "panel/draw/panel_text.h"
#include "panel/draw/value_format.h"
#include "panel/pages/panel_fonts.h"

namespace {

using namespace panel::art;

constexpr uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF;

void ListText(uint32_t colour) {
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SelectFont(&kFontList);
    SetColorRGB(colour);
}

void Centred(const char* text, int x) {
    GUI_SetAlign(GUI_TA_HCENTER | GUI_TA_VCENTER);
    GUI_DrawTextAt(text, x, 13);
}

void Left(const char* text, int x, int y) {
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_TOP);
    GUI_DrawTextAt(text, x, y);
}

// Terminated copy cut to size.
void CopyInto(char* out, size_t size, const char* text) {
    const size_t n = std::min(std::strlen(text), size - 1);
    std::memcpy(out, text, n);
    out[n] = '\0';
}

// The edited value of styles 4-7 and 9 with its cursor, ending at rightX in the box's first rows.
void EditedValue(int style, char* buffer, size_t size, int rightX) {
    uint32_t cursor = g_EditShown.cursor;
    const int32_t work = g_EditShown.workValue;
    if (style == 6) {
        ParamRec record{};
        paramGetRecord(g_MenuState.load(std::memory_order_relaxed), &record, core::SelectedPhase());
        char text[kNumberTextSize];
        FormatNumber(0, text, record.decimals, "", static_cast<float>(work) * record.scale);
        CopyInto(buffer, size, text);
    } else if (style == 7) {
        std::snprintf(buffer, size, "%04d", static_cast<int>(g_EditShown.buf.choiceValue));
        cursor = g_EditShown.buf.choiceCursor;
    } else {
        std::snprintf(buffer, size, "%d", static_cast<int>(work));
    }
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_TOP);
    DrawDigitsWithCursor(cursor, buffer, rightX, 1);
}

}  // namespace

void DrawItemValue(int style, char* buffer, size_t size) {
    if (buffer == nullptr || size == 0) return;
    switch (style) {
        case 0:
        case 2:
            GUI_DrawImage(style == 0 ? &kBoxLongLight : &kBoxLongDark, 0, 0);
            ListText(style == 0 ? kBlack : kWhite);
            Centred(buffer, 85);
            return;
        case 1:
        case 3:
            GUI_DrawImage(style == 1 ? &kBoxShortLight : &kBoxShortDark, 0, 0);
            ListText(style == 1 ? kBlack : kWhite);
            Centred(buffer, 50);
            return;
        case 8:
            GUI_DrawImage(&kBoxLongDark, 0, 0);
            ListText(kWhite);
            Left(buffer, 9, 1);
            return;
        case 4:
        case 5:
        case 6:
        case 7:
        case 9: {
            const bool shortBox = style == 5 || style == 6;
            GUI_DrawImage(shortBox ? &kBoxShortDark : &kBoxLongDark, 0, 0);
            ListText(kWhite);
            if (EntryInProgress()) {
                CopyEntryText(buffer, size);
                Left(buffer, style == 9 ? 75 : 30, 0);
                return;
            }
            const int rightX = style == 9 ? 90 : (shortBox ? 85 : 140);
            EditedValue(style, buffer, size, rightX);
            return;
        }
        default:
            return;
    }
}

void DrawIpField(int octet, const uint8_t address[4]) {
    int fields[4] = {address[0], address[1], address[2], address[3]};
    const bool typing = EntryInProgress();
    if (octet >= 0 && octet < 4) {
        const double typed = std::clamp(g_EditShown.buf.entryValue, 0.0, 999.0);
        fields[octet] = typing ? static_cast<int>(typed)
                               : static_cast<int>(std::min<uint32_t>(g_EditShown.buf.choiceValue, 999));
    }
    char text[24];
    std::snprintf(text, sizeof text, "%03d.%03d.%03d.%03d", fields[0], fields[1], fields[2], fields[3]);
    if (typing) {
        DrawItemValue(8, text, sizeof text);
        return;
    }
    GUI_DrawImage(&kBoxLongDark, 0, 0);
    ListText(kWhite);
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_TOP);
    DrawDigitsWithCursor(g_EditShown.buf.choiceCursor, text, 145, 1);
}

void DrawMenuRowLabel(int row, const char* label, int dim) {
    if (row < 0) return;
    if (row == 0) {
        SetBkColorRGB(0x666666);
        GUI_ClearWindow();
    }
    // Every row selects the text look, so a second column's window drawn alone gets it too.
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SelectFont(&kFontList);
    const int y = row < 15 ? 25 * row : 25 * row - 375;
    SetColorRGB(0x000000);
    Left(label, 11, y + 1);
    SetColorRGB(dim ? 0x3C3C3C : 0xFFFFFF);
    Left(label, 10, y);
}
