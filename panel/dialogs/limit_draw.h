#pragma once
// The painters of the limit popups, in the selected window's coordinates; the calibration pages' value
// popups use the small one too. GUI thread only.

// A popup is painted in layers, each over the one before. The 231x131 popups: layer 0, the frame:
// background, title band, title, the two labels and the text ending at x 225 (the range of a value popup);
// flag 1 adds the value-field frame. Layer 1, the two value buttons of a kind popup: leftLabel and
// middleLabel are the values, flag 1 puts the focus on the second. Layer 2, the value being edited:
// rightText (or the digits being typed) with the sign of the menu state.
void DrawLimitDialog(int layer, const char* title, const char* leftLabel, const char* middleLabel,
                     const char* rightText, int flag);

// The 201x91 popup. Layer 0: background, band, title and range; layer 1: the value, no cursor; layer 2:
// the value being edited, as layer 2 above.
void DrawLimitPopup(int layer, const char* title, const char* rangeText, const char* valueText);
