// Monospaced fonts: a main range of glyphs and composed codes built from two glyphs of a second block.
#include "GUI/text/gui_font.h"
#include "GUI/lcd/lcd.h"

namespace {

struct MonoGlyphs {
    const uint8_t* base = nullptr;
    const uint8_t* overlay = nullptr;
};

MonoGlyphs Find(const GUI_FONTDEF* font, uint16_t c) {
    const auto* m = static_cast<const GUI_FONT_MONO*>(font->pData);
    const int glyphBytes = m->BytesPerLine * font->YSize;
    if (m->First <= c && c <= m->Last) return {m->pData + (c - m->First) * glyphBytes, nullptr};
    const GUI_FONT_TRANSINFO* t = m->pTrans;
    if (t == nullptr || c < t->First || c > t->Last) return {};
    const GUI_FONT_TRANSLIST& pair = t->pList[c - t->First];
    if (pair.Base < 0) return {};
    return {m->pTransData + pair.Base * glyphBytes,
            pair.Overlay >= 0 ? m->pTransData + pair.Overlay * glyphBytes : nullptr};
}

}  // namespace

void MonoFont_DrawChar(uint16_t c) {
    const GUI_FONTDEF* font = GUI_Context.pFont;
    const auto* m = static_cast<const GUI_FONT_MONO*>(font->pData);
    const MonoGlyphs g = Find(font, c);
    const int x = GUI_Context.textX, y = GUI_Context.textY;
    if (g.base != nullptr) {
        const uint16_t textMode = GUI_Context.textMode;
        const uint8_t mode = LCD_SetPaintMode(static_cast<uint8_t>(textMode));
        const uint32_t colors[2] = {GUI_Context.bkColorIndex, GUI_Context.colorIndex};
        LCD_Blit(x, y, m->XSize, font->YSize, font->XMag, font->YMag, 1, m->BytesPerLine, g.base, colors);
        if (g.overlay != nullptr) {
            LCD_SetPaintMode(static_cast<uint8_t>(textMode | LCD_DRAWMODE_TRANS));
            LCD_Blit(x, y, m->XSize, font->YSize, font->XMag, font->YMag, 1, m->BytesPerLine, g.overlay,
                     colors);
        }
        // The line gap under the glyph: rows YSize to YDist - 1 of the cell, as wide as the glyph.
        if (font->YDist > font->YSize && textMode != GUI_TM_TRANS) {
            LCD_SetPaintMode(static_cast<uint8_t>(textMode ^ LCD_DRAWMODE_REV));
            LCD_FillBox(x, y + font->YMag * font->YSize, x + font->XMag * m->XSize - 1, y + font->YDist - 1);
        }
        LCD_SetPaintMode(mode);
    }
    GUI_Context.textX = static_cast<int16_t>(x + m->XDist);
}

int MonoFont_Advance(uint16_t, int* width) {
    const auto* m = static_cast<const GUI_FONT_MONO*>(GUI_Context.pFont->pData);
    if (width != nullptr) *width = m->XSize;
    return m->XDist;
}

void MonoFont_Info(uint16_t* flags) {
    *flags = GUI_FONTINFO_MONO;
}

int MonoFont_HasChar(const GUI_FONTDEF* font, uint16_t c) {
    return Find(font, c).base != nullptr ? 1 : 0;
}
