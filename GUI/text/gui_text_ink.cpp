// The pixels a line of text inks, found from the glyph bitmaps of the current font's kind: a glyph's cell
// has blank rows and columns round its ink, so the cell tells badly whether a text fits a tight box.
#include <algorithm>

#include "GUI/text/gui_font.h"

namespace {

struct Ink {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -(1 << 30), y1 = -(1 << 30);
    bool Empty() const { return x0 > x1; }
};

// Adds the set bits of a w x h 1-bit bitmap (rows `stride` bytes, MSB leftmost) placed at (x, y) and
// magnified by (mx, my).
void AddBitmap(Ink* ink, const uint8_t* data, int w, int h, int stride, int x, int y, int mx, int my) {
    if (data == nullptr) return;
    for (int row = 0; row < h; ++row) {
        const uint8_t* line = data + row * stride;
        for (int col = 0; col < w; ++col) {
            if ((line[col >> 3] & (0x80 >> (col & 7))) == 0) continue;
            ink->x0 = std::min(ink->x0, x + col * mx);
            ink->x1 = std::max(ink->x1, x + (col + 1) * mx - 1);
            ink->y0 = std::min(ink->y0, y + row * my);
            ink->y1 = std::max(ink->y1, y + (row + 1) * my - 1);
        }
    }
}

void AddProp(Ink* ink, const GUI_FONTDEF* font, uint16_t c, int x, int y) {
    const GUI_FONT_PROP* range = PropFont_FindRange(static_cast<const GUI_FONT_PROP*>(font->pData), c);
    if (range == nullptr) return;
    const GUI_CHARINFO& g = range->paCharInfo[c - range->First];
    AddBitmap(ink, g.pData, g.XSize, font->YSize, g.BytesPerLine, x, y, font->XMag, font->YMag);
}

void AddPropExt(Ink* ink, const GUI_FONTDEF* font, uint16_t c, int x, int y) {
    GUI_CHARINFO_EXT g;
    if (PropExtFont_GlyphInfo(c, &g) != 0) return;
    AddBitmap(ink, g.pData, g.XSize, g.YSize, (g.XSize + 7) / 8, x + g.XPos, y + g.YPos, font->XMag,
              font->YMag);
}

void AddMono(Ink* ink, const GUI_FONTDEF* font, uint16_t c, int x, int y) {
    const auto* m = static_cast<const GUI_FONT_MONO*>(font->pData);
    const int glyphBytes = m->BytesPerLine * font->YSize;
    const uint8_t* base = nullptr;
    const uint8_t* overlay = nullptr;
    if (m->First <= c && c <= m->Last) {
        base = m->pData + (c - m->First) * glyphBytes;
    } else if (m->pTrans != nullptr && m->pTrans->First <= c && c <= m->pTrans->Last) {
        const GUI_FONT_TRANSLIST& pair = m->pTrans->pList[c - m->pTrans->First];
        if (pair.Base >= 0) base = m->pTransData + pair.Base * glyphBytes;
        if (pair.Base >= 0 && pair.Overlay >= 0) overlay = m->pTransData + pair.Overlay * glyphBytes;
    }
    AddBitmap(ink, base, m->XSize, font->YSize, m->BytesPerLine, x, y, font->XMag, font->YMag);
    AddBitmap(ink, overlay, m->XSize, font->YSize, m->BytesPerLine, x, y, font->XMag, font->YMag);
}

}  // namespace

bool GUI_LineInk(const char* text, int n, int x, int y, GUI_BOX* out) {
    const GUI_FONTDEF* font = GUI_Context.pFont;
    if (font == nullptr || text == nullptr) return false;
    Ink ink;
    for (int i = 0; i < n; ++i) {
        const uint16_t c = GUI_NextCharacter(&text);
        if (font->DrawChar == PropFont_DrawChar)
            AddProp(&ink, font, c, x, y);
        else if (font->DrawChar == PropExtFont_DrawChar)
            AddPropExt(&ink, font, c, x, y);
        else if (font->DrawChar == MonoFont_DrawChar)
            AddMono(&ink, font, c, x, y);
        x += font->Advance(c, nullptr);
    }
    if (ink.Empty()) return false;
    *out = GUI_BOX{static_cast<int16_t>(ink.x0), static_cast<int16_t>(ink.y0), static_cast<int16_t>(ink.x1),
                   static_cast<int16_t>(ink.y1)};
    return true;
}
