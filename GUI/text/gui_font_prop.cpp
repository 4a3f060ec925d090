// Proportional fonts: 1-bit glyphs in ranges of codes.
#include "GUI/text/gui_font.h"
#include "GUI/lcd/lcd.h"

namespace {

const GUI_CHARINFO* FindGlyph(const GUI_FONTDEF* font, uint16_t c) {
    const GUI_FONT_PROP* range = PropFont_FindRange(static_cast<const GUI_FONT_PROP*>(font->pData), c);
    return range != nullptr ? &range->paCharInfo[c - range->First] : nullptr;
}

}  // namespace

const GUI_FONT_PROP* PropFont_FindRange(const GUI_FONT_PROP* first, uint16_t c) {
    for (const GUI_FONT_PROP* r = first; r != nullptr; r = r->pNext)
        if (r->First <= c && c <= r->Last) return r;
    return nullptr;
}

void PropFont_DrawChar(uint16_t c) {
    const GUI_FONTDEF* font = GUI_Context.pFont;
    const GUI_CHARINFO* g = FindGlyph(font, c);
    if (g == nullptr) return;
    const int x = GUI_Context.textX, y = GUI_Context.textY;
    const uint8_t mode = LCD_SetPaintMode(static_cast<uint8_t>(GUI_Context.textMode));
    const uint32_t colors[2] = {GUI_Context.bkColorIndex, GUI_Context.colorIndex};
    LCD_Blit(x, y, g->XSize, font->YSize, font->XMag, font->YMag, 1, g->BytesPerLine, g->pData, colors);
    // The line gap under the glyph: rows YSize to YDist - 1 of the cell, as wide as the glyph.
    if (font->YDist > font->YSize && GUI_Context.textMode != GUI_TM_TRANS) {
        LCD_SetPaintMode(static_cast<uint8_t>(GUI_Context.textMode ^ LCD_DRAWMODE_REV));
        LCD_FillBox(x, y + font->YMag * font->YSize, x + font->XMag * g->XSize - 1,
                    y + font->YMag * font->YDist - 1);
    }
    LCD_SetPaintMode(mode);
    GUI_Context.textX = static_cast<int16_t>(x + font->XMag * g->XDist);
}

int PropFont_Advance(uint16_t c, int* width) {
    const GUI_FONTDEF* font = GUI_Context.pFont;
    const GUI_CHARINFO* g = FindGlyph(font, c);
    if (width != nullptr) *width = g != nullptr ? font->XMag * g->XSize : 0;
    return g != nullptr ? font->XMag * g->XDist : 0;
}

void PropFont_Info(uint16_t* flags) {
    *flags = GUI_FONTINFO_PROP;
}

int PropFont_HasChar(const GUI_FONTDEF* font, uint16_t c) {
    return FindGlyph(font, c) != nullptr ? 1 : 0;
}
