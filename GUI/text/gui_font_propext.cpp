// Extended proportional fonts: each glyph carries its size and its offset from the cursor, so a glyph
// may reach into its neighbour's cell; the line's background is painted once before its glyphs.
#include "GUI/text/gui_font.h"
#include "GUI/lcd/lcd.h"

namespace {

// Set while a line's background is painted: the glyphs then draw only their ink.
bool g_lineBackground = false;

const GUI_CHARINFO_EXT* FindGlyph(const GUI_FONTDEF* font, uint16_t c) {
    for (auto* r = static_cast<const GUI_FONT_PROP_EXT*>(font->pData); r != nullptr; r = r->pNext)
        if (r->First <= c && c <= r->Last) return &r->paCharInfo[c - r->First];
    return nullptr;
}

}  // namespace

const GUI_FONT_LINEOPS PropExtFont_LineOps = {nullptr, nullptr, PropExtFont_DrawLine};

void PropExtFont_DrawChar(uint16_t c) {
    const GUI_FONTDEF* font = GUI_Context.pFont;
    const GUI_CHARINFO_EXT* g = FindGlyph(font, c);
    if (g == nullptr) return;
    const int x = GUI_Context.textX, y = GUI_Context.textY;
    uint8_t textMode = static_cast<uint8_t>(GUI_Context.textMode);
    if (g_lineBackground) textMode |= LCD_DRAWMODE_TRANS;
    const uint8_t mode = LCD_SetPaintMode(textMode);
    const uint32_t colors[2] = {GUI_Context.bkColorIndex, GUI_Context.colorIndex};
    LCD_Blit(x + g->XPos, y + g->YPos, g->XSize, g->YSize, font->XMag, font->YMag, 1, (g->XSize + 7) / 8,
             g->pData, colors);
    LCD_SetPaintMode(mode);
    GUI_Context.textX = static_cast<int16_t>(x + font->XMag * g->XDist);
}

int PropExtFont_Advance(uint16_t c, int* width) {
    const GUI_FONTDEF* font = GUI_Context.pFont;
    const GUI_CHARINFO_EXT* g = FindGlyph(font, c);
    if (width != nullptr) *width = g != nullptr ? font->XMag * g->XSize : 0;
    return g != nullptr ? font->XMag * g->XDist : 0;
}

void PropExtFont_Info(uint16_t* flags) {
    *flags = GUI_FONTINFO_PROP;
}

int PropExtFont_HasChar(const GUI_FONTDEF* font, uint16_t c) {
    return FindGlyph(font, c) != nullptr ? 1 : 0;
}

int PropExtFont_GlyphInfo(uint16_t c, GUI_CHARINFO_EXT* out) {
    const GUI_CHARINFO_EXT* g = FindGlyph(GUI_Context.pFont, c);
    if (g == nullptr) return 1;
    *out = *g;
    return 0;
}

void PropExtFont_ClearLine(const char* text, int n) {
    const GUI_FONTDEF* font = GUI_Context.pFont;
    int width = 0;
    uint16_t last = 0;
    for (int i = 0; i < n; ++i) {
        last = GUI_NextCharacter(&text);
        const GUI_CHARINFO_EXT* g = FindGlyph(font, last);
        const int step = g != nullptr ? font->XMag * (g->XPos + g->XDist) : 0;
        if (step > 0) width += step;
    }
    if (n > 0) width += GUI_CharOverhang(last);
    const int x = GUI_Context.textX, y = GUI_Context.textY;
    // Reverse text paints its background in the foreground colour.
    const uint8_t mode =
        LCD_SetPaintMode((GUI_Context.textMode & GUI_TM_REV) ? uint8_t{0} : LCD_DRAWMODE_REV);
    if (width > 0) LCD_FillBox(x, y, x + width - 1, y + font->YMag * font->YDist - 1);
    LCD_SetPaintMode(mode);
    g_lineBackground = true;
}

void PropExtFont_DrawLine(const char* text, int n) {
    const uint16_t textMode = GUI_Context.textMode;
    if ((textMode & 3) == 0) PropExtFont_ClearLine(text, n);
    for (int i = 0; i < n; ++i)
        GUI_Context.pFont->DrawChar(GUI_NextCharacter(&text));
    g_lineBackground = false;
    GUI_Context.textMode = textMode;
}
