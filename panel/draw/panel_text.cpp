#include "panel/draw/panel_text.h"

#include <algorithm>
#include <cstring>

#include "GUI/draw/gui_2d.h"
#include "GUI/lcd/color_rgb.h"
#include "panel/draw/panel_art.h"
#include "panel/pages/panel_fonts.h"

namespace panel {

int TextAdvanceWidth(const char* text) {
    int width = 0;
    for (const char* p = text; p != nullptr && *p != '\0'; ++p)
        width += GUI_GetCharAdvance(static_cast<unsigned char>(*p));
    return width;
}

}  // namespace panel

namespace {

using panel::TextAdvanceWidth;

int WindowWidth() {
    return WM_GetWidth(WM_GetSelected());
}
int WindowHeight() {
    return WM_GetHeight(WM_GetSelected());
}

void ClearIfAny(int x0, int y0, int x1, int y1) {
    if (x0 <= x1 && y0 <= y1) GUI_ClearBox(x0, y0, x1, y1);
}

void OpaqueText(uint32_t colour, uint32_t bkColour, const GUI_FONTDEF* font) {
    GUI_SelectFont(font);
    SetColorRGB(colour);
    SetBkColorRGB(bkColour);
    GUI_SetTextDrawMode(GUI_TM_NORMAL);
}

void DrawRight(const char* text, int right, int y) {
    GUI_SetAlign(GUI_TA_RIGHT | GUI_TA_TOP);
    GUI_DrawTextAt(text, right, y);
}

void DrawLeft(const char* text, int x, int y) {
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_TOP);
    GUI_DrawTextAt(text, x, y);
}

// The mark's offset from the character's top: an underscore one pixel lower, or two pixels higher.
void DrawWithCursor(uint32_t cursor, const char* text, int rightX, int bottomY, bool password) {
    if (text == nullptr) return;
    const int top = bottomY - GUI_TextYOffset();
    const int markY = top + (password ? -2 : 1);
    int left = rightX;
    uint32_t counted = 0;
    for (int i = static_cast<int>(std::strlen(text)) - 1; i >= 0; --i) {
        const auto c = static_cast<unsigned char>(text[i]);
        left -= GUI_GetCharAdvance(c);
        GUI_DrawCharAt(c, left, top);
        const bool digit = c >= '0' && c <= '9';
        const bool counts = digit || (password ? c == '*' : (c == '+' || c == '-'));
        if (!counts) continue;
        if (counted == cursor) GUI_DrawCharAt('_', left, markY);
        ++counted;
    }
    if (cursor < counted) return;
    // A place left of the text: the next one left of the first digit is one width of '8' away.
    const int64_t places = std::min<int64_t>(int64_t{cursor} - counted + 1, 1000);
    const int64_t x = rightX - TextAdvanceWidth(text) - places * GUI_GetCharAdvance('8');
    GUI_DrawCharAt('_', static_cast<int>(x), markY);
}

}  // namespace

void DrawSoftKey(const char* label, int style, int lines) {
    if (style < 0 || style > 2) style = 0;
    // The face starts one pixel in; the column left of it is the key column's black.
    SetColorRGB(0x000000);
    GUI_FillBox(0, 0, 0, WindowHeight() - 1);
    GUI_DrawImage(&panel::art::kSoftKeyFace[style], 1, 0);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SetAlign(GUI_TA_HCENTER | GUI_TA_VCENTER);
    GUI_SelectFont(&kFont16);
    SetColorRGB(style == 2 ? 0xFFFFFF : 0x000000);
    SetBkColorRGB(0xF79421);
    const int y = lines == 2 ? 23 : (lines == 3 ? 16 : 31);
    GUI_DrawTextAt(label, 40, y);
}

void DrawYellowText(const char* text) {
    SetBkColorRGB(0x000000);
    GUI_ClearWindow();
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SelectFont(&kFontTag);
    SetColorRGB(0xFFFF00);
    DrawLeft(text, 0, 0);
}

void DrawRightAlignedText(const char* text, uint32_t colour, uint32_t bkColour, const GUI_FONTDEF* font) {
    OpaqueText(colour, bkColour, font);
    const int w = WindowWidth(), h = WindowHeight();
    ClearIfAny(0, 0, w - TextAdvanceWidth(text) - 1, h - 1);
    DrawRight(text, w, 0);
}

void DrawRightAlignedTextAt(const char* text, int y, uint32_t colour, uint32_t bkColour,
                            const GUI_FONTDEF* font) {
    OpaqueText(colour, bkColour, font);
    const int w = WindowWidth(), h = WindowHeight();
    const int lineEnd = y + GUI_GetLineSpacing() - 1;
    ClearIfAny(0, y, w - TextAdvanceWidth(text) - 1, lineEnd);
    ClearIfAny(0, lineEnd + 1, w - 1, std::min(y + 36, h - 1));
    DrawRight(text, w, y);
}

void DrawLabelValueRow(const char* label, const char* value, uint32_t colour, uint32_t bkColour,
                       const GUI_FONTDEF* font) {
    OpaqueText(colour, bkColour, font);
    const int w = WindowWidth(), h = WindowHeight();
    ClearIfAny(TextAdvanceWidth(label), 0, w - TextAdvanceWidth(value) - 1, h - 1);
    DrawLeft(label, 0, 0);
    DrawRight(value, w, 0);
}

void DrawValueWithUnit(const char* value, const char* unit, uint32_t colour, int x, int y,
                       const GUI_FONTDEF* valueFont, const GUI_FONTDEF* unitFont) {
    const int w = WindowWidth(), h = WindowHeight();
    GUI_SetTextDrawMode(GUI_TM_NORMAL);
    GUI_SelectFont(valueFont);
    SetColorRGB(colour);
    ClearIfAny(0, y, x - TextAdvanceWidth(value) - 1, h - 1);
    DrawRight(value, x, y);
    GUI_SelectFont(unitFont);
    GUI_SetForeColor(0x00FFFF);
    ClearIfAny(x + TextAdvanceWidth(unit), y, w - 1, h - 1);
    DrawLeft(unit, x, y);
}

void DrawDigitsWithCursor(uint32_t cursor, const char* text, int rightX, int bottomY) {
    DrawWithCursor(cursor, text, rightX, bottomY, false);
}

void DrawPasswordWithCursor(uint32_t cursor, const char* text, int rightX, int bottomY) {
    DrawWithCursor(cursor, text, rightX, bottomY, true);
}
