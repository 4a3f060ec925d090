// Metrics of the current font and the measuring of text lines.
#include "GUI/text/gui_font.h"

int GUI_GetLineSpacing() {
    return GUI_Context.pFont != nullptr ? GUI_Context.pFont->YDist : 0;
}

int GUI_GetFontHeight() {
    const GUI_FONTDEF* font = GUI_Context.pFont;
    return font != nullptr ? font->YSize * font->YMag : 0;
}

int GUI_GetCharAdvance(uint16_t c) {
    return GUI_Context.pFont != nullptr ? GUI_Context.pFont->Advance(c, nullptr) : 0;
}

int GUI_GetCharAdvanceAndWidth(uint16_t c, int* width) {
    if (GUI_Context.pFont == nullptr) {
        if (width != nullptr) *width = 0;
        return 0;
    }
    return GUI_Context.pFont->Advance(c, width);
}

int GUI_TextYOffset() {
    const GUI_FONTDEF* font = GUI_Context.pFont;
    if (font == nullptr) return 0;
    switch (GUI_Context.textAlign & GUI_TA_VERTICAL) {
        case GUI_TA_BOTTOM:
            return font->YSize - 1;
        case GUI_TA_BASELINE:
        case GUI_TA_VCENTER:
            return font->YSize / 2;
        default:
            return 0;
    }
}

int GUI_CharOverhang(uint16_t c) {
    int width = 0;
    const int advance = GUI_GetCharAdvanceAndWidth(c, &width);
    return width > advance ? width - advance : 0;
}

int GUI_LineCharCount(const char* text, int max) {
    if (text == nullptr) return 0;
    const GUI_FONTDEF* font = GUI_Context.pFont;
    if (font != nullptr && font->pLineOps != nullptr && font->pLineOps->LineLength != nullptr)
        return font->pLineOps->LineLength(text, max);
    int n = 0;
    while (n < max) {
        const uint16_t c = GUI_NextCharacter(&text);
        if (c == 0 || c == '\n') break;
        ++n;
    }
    return n;
}

int GUI_LineWidth(const char* text, int n) {
    if (text == nullptr || GUI_Context.pFont == nullptr) return 0;
    const GUI_FONTDEF* font = GUI_Context.pFont;
    if (font->pLineOps != nullptr && font->pLineOps->LineWidth != nullptr)
        return font->pLineOps->LineWidth(text, n);
    int width = 0;
    uint16_t c = 0;
    for (int i = 0; i < n; ++i) {
        c = GUI_NextCharacter(&text);
        width += font->Advance(c, nullptr);
    }
    return n > 0 ? width + GUI_CharOverhang(c) : 0;
}
