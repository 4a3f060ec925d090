#pragma once
// Texts of the panel's windows: soft-key captions, right-aligned values that clear what they leave free,
// digits with the edit cursor and a degree sign. All draw into the selected window, in its coordinates;
// colours are 0xRRGGBB except where a name says "library colour" (0xBBGGRR). GUI thread only.
#include <cstdint>

#include "GUI/text/gui_font.h"

// One of the three 82x63 key faces (style 0 normal, 1 selected, 2 active with white text) at (1, 0) and
// the label, one to three lines split by '\n', centred at x 40.
void DrawSoftKey(const char* label, int style, int lines);
// The window cleared black and the text in yellow at (0, 0), in the tags' face.
void DrawYellowText(const char* text);

// Opaque text ending at the window's right edge; the rest of the window (or of the row) is cleared with
// the background colour.
void DrawRightAlignedText(const char* text, uint32_t colour, uint32_t bkColour, const GUI_FONTDEF* font);
void DrawRightAlignedTextAt(const char* text, int y, uint32_t colour, uint32_t bkColour,
                            const GUI_FONTDEF* font);
void DrawLabelValueRow(const char* label, const char* value, uint32_t colour, uint32_t bkColour,
                       const GUI_FONTDEF* font);
// The value ending at x, the unit starting at x (yellow); left of the value and right of the unit the
// window is cleared from y down, in the current background colour.
void DrawValueWithUnit(const char* value, const char* unit, uint32_t colour, int x, int y,
                       const GUI_FONTDEF* valueFont, const GUI_FONTDEF* unitFont);

// The text ending at rightX, each character's top at bottomY less the current font's vertical offset, and
// an underscore under the digit ('+', '-') numbered cursor from the right (0 = last). A cursor beyond the
// text's digits marks the leading-zero place it names, left of the text. Current font, colours and mode.
void DrawDigitsWithCursor(uint32_t cursor, const char* text, int rightX, int bottomY);
// The same counting digits and '*', with the mark 2 pixels above the character.
void DrawPasswordWithCursor(uint32_t cursor, const char* text, int rightX, int bottomY);


namespace panel {
// Sum of the current font's advances over text.
int TextAdvanceWidth(const char* text);
}  // namespace panel
