// Character and string output in window coordinates: lines are measured, aligned, clipped per visible
// part of the selected window and handed to the current font's operations.
#include <atomic>
#include <cstdio>

#include "GUI/draw/gui_2d.h"
#include "GUI/draw/gui_box.h"
#include "GUI/lcd/lcd.h"
#include "GUI/text/gui_font.h"

namespace {

GUI_TEXT_HOOK g_textHook = nullptr;
std::atomic<uint32_t> g_missingGlyphs{0};

// A code the current font has no glyph for draws nothing and takes no room: counted, so that a text the
// panel shows blank is found.
void CountMissing(uint16_t c) {
    const GUI_FONTDEF* font = GUI_Context.pFont;
    if (c == '\n' || c == '\r' || font->HasChar == nullptr || font->HasChar(font, c) != 0) return;
    g_missingGlyphs.fetch_add(1, std::memory_order_relaxed);
}

void CountMissingIn(const char* text) {
    while (*text != 0)
        CountMissing(GUI_NextCharacter(&text));
}

std::atomic<uint32_t> g_overflows{0};
char g_lastOverflow[160];

bool Inside(const GUI_BOX& box, const GUI_BOX& area) {
    return box.x0 >= area.x0 && box.x1 <= area.x1 && box.y0 >= area.y0 && box.y1 <= area.y1;
}

// A text whose ink is partly outside the part of the screen its window owns (the window cut by its
// ancestors and by the clip limit) shows cut: counted, with the last one kept for a failure message. One
// wholly outside shows nothing and is not counted (a list longer than its window). The n characters start
// at (x, y), screen coordinates; `cell` is their cells' box, which holds the ink.
void CheckFits(const char* text, int n, int x, int y, const GUI_BOX& cell) {
    const WM_HWINDOW sel = GUI_Context.hSelWin;
    GUI_BOX area;
    {
        wm::Locked w(sel);
        if (!w) return;
        area = w->rect;
    }
    if (!wm::ClipToVisible(sel, &area)) return;  // hidden: nothing shows
    if (GUI_Context.pWmClipLimit != nullptr) {
        GUI_BOX limit = *GUI_Context.pWmClipLimit;
        GUI_MoveBox(&limit, GUI_Context.xOff, GUI_Context.yOff);
        if (!gui::IntersectBoxes(&area, area, limit)) area = {0, 0, -1, -1};
    }
    GUI_BOX ink;
    if (Inside(cell, area) || !GUI_LineInk(text, n, x, y, &ink) || Inside(ink, area)) return;
    GUI_BOX shown;
    if (!gui::IntersectBoxes(&shown, ink, area)) return;
    g_overflows.fetch_add(1, std::memory_order_relaxed);
    std::snprintf(g_lastOverflow, sizeof g_lastOverflow,
                  "\"%.*s\" inks (%d,%d)-(%d,%d) outside (%d,%d)-(%d,%d)", n, text, ink.x0, ink.y0, ink.x1,
                  ink.y1, area.x0, area.y0, area.x1, area.y1);
}

void LineCore(const char* text, int n, const GUI_BOX& rect) {
    const GUI_BOX* hl = GUI_Context.pClipRectHL;
    if (hl != nullptr && !GUI_BoxesOverlap(hl, &rect)) return;
    const GUI_FONTDEF* font = GUI_Context.pFont;
    LCD_DrawBatchControl(1);
    if (font->pLineOps != nullptr && font->pLineOps->DrawLine != nullptr) {
        font->pLineOps->DrawLine(text, n);
    } else {
        for (int i = 0; i < n; ++i)
            font->DrawChar(GUI_NextCharacter(&text));
    }
    LCD_DrawBatchControl(0);
}

}  // namespace

void GUI_DrawTextLine(const char* text, int n, const GUI_BOX* rect) {
    if (GUI_Context.pFont == nullptr) return;
    const GUI_BOX r = gui::ClampedBox(rect->x0 + GUI_Context.xOff, rect->y0 + GUI_Context.yOff,
                                      rect->x1 + GUI_Context.xOff, rect->y1 + GUI_Context.yOff);
    GUI_Context.textX = r.x0;
    GUI_Context.textY = r.y0;
    gui::ForEachVisible(&r, [&] {
        GUI_Context.textX = r.x0;
        GUI_Context.textY = r.y0;
        LineCore(text, n, r);
    });
    GUI_Context.textX = static_cast<int16_t>(GUI_Context.textX - GUI_Context.xOff);
    GUI_Context.textY = static_cast<int16_t>(GUI_Context.textY - GUI_Context.yOff);
}

void GUI_SetTextHook(GUI_TEXT_HOOK hook) {
    g_textHook = hook;
}

uint32_t GUI_MissingGlyphCount() {
    return g_missingGlyphs.load(std::memory_order_relaxed);
}

uint32_t GUI_TextOverflowCount() {
    return g_overflows.load(std::memory_order_relaxed);
}

const char* GUI_LastTextOverflow() {
    return g_lastOverflow;
}

void GUI_DrawText(const char* text) {
    if (text == nullptr || GUI_Context.pFont == nullptr) return;
    if (g_textHook != nullptr)
        g_textHook(text, GUI_Context.textX + GUI_Context.xOff, GUI_Context.textY + GUI_Context.yOff,
                   GUI_Context.textAlign, GUI_Context.foreColor, GUI_Context.pFont);
    CountMissingIn(text);
    const int lineDist = GUI_GetLineSpacing();
    const int x0 = GUI_Context.textX;
    const int yOffset = GUI_TextYOffset();
    const uint16_t hAlign = GUI_Context.textAlign & GUI_TA_HORIZONTAL;
    GUI_Context.textY = static_cast<int16_t>(GUI_Context.textY - yOffset);
    while (*text != 0) {
        const int n = GUI_LineCharCount(text, 32767);
        const int w = GUI_LineWidth(text, n);
        int x = GUI_Context.textX;
        if (hAlign == GUI_TA_RIGHT)
            x -= w;
        else if (hAlign == GUI_TA_HCENTER)
            x -= w / 2;
        const int y = GUI_Context.textY;
        const GUI_BOX line = gui::ClampedBox(x, y, x + w - 1, y + lineDist - 1);
        const int sx = x + GUI_Context.xOff, sy = y + GUI_Context.yOff;
        if (n > 0)
            CheckFits(text, n, sx, sy, gui::ClampedBox(sx, sy, sx + w - 1, sy + GUI_GetFontHeight() - 1));
        GUI_DrawTextLine(text, n, &line);
        GUI_Context.textY = static_cast<int16_t>(y);
        text += GUI_CharsToBytes(text, n);
        const char next = *text;
        if (next == '\n' || next == '\r') {
            GUI_Context.textX = static_cast<int16_t>(hAlign != GUI_TA_LEFT ? x0 : GUI_Context.leftBorder);
            if (next == '\n') GUI_Context.textY = static_cast<int16_t>(y + lineDist);
        } else {
            GUI_Context.textX = static_cast<int16_t>(x + w);
        }
        if (next == 0) break;
        ++text;
    }
    GUI_Context.textY = static_cast<int16_t>(GUI_Context.textY + yOffset);
    GUI_Context.textAlign = static_cast<uint16_t>(GUI_Context.textAlign & ~GUI_TA_HORIZONTAL);
}

void GUI_DrawTextAt(const char* text, int x, int y) {
    GUI_SetCursor(x, y);
    GUI_DrawText(text);
}

// A line feed moves the cursor without drawing, in window coordinates.
void GUI_DrawChar(uint16_t c) {
    const GUI_FONTDEF* font = GUI_Context.pFont;
    if (font == nullptr) return;
    CountMissing(c);
    if (c == '\n') {
        GUI_Context.textY = static_cast<int16_t>(GUI_Context.textY + font->YDist);
        GUI_Context.textX = GUI_Context.leftBorder;
        return;
    }
    const int x = GUI_Context.textX + GUI_Context.xOff, y = GUI_Context.textY + GUI_Context.yOff;
    const int right = x + GUI_GetCharAdvance(c) + GUI_CharOverhang(c);
    const GUI_BOX rect = gui::ClampedBox(x, y, right - 1, y + GUI_GetFontHeight() - 1);
    if (c != '\r') {
        const char one = static_cast<char>(c);
        CheckFits(&one, 1, x, y, rect);
    }
    gui::ForEachVisible(&rect, [&] {
        GUI_Context.textX = static_cast<int16_t>(x);
        GUI_Context.textY = static_cast<int16_t>(y);
        if (c != '\r') font->DrawChar(c);
    });
    GUI_Context.textX = static_cast<int16_t>(right - GUI_Context.xOff);
    GUI_Context.textY = static_cast<int16_t>(y - GUI_Context.yOff);
}

void GUI_DrawCharAt(uint16_t c, int x, int y) {
    GUI_SetCursor(x, y);
    GUI_DrawChar(c);
}
