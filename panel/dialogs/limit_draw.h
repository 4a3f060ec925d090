#pragma once
// The painters of the limit popups, in the selected window's coordinates; the calibration pages' value
// popups use the small one too. GUI thread only.

// The 231x131 popups. Part 0, the frame: background, title band, title, the two labels and the text
// ending at x 225 (the range of a value popup); flag 1 adds the value-field frame. Part 1, the two value
// buttons of a kind popup: leftLabel and middleLabel are the values, flag 1 puts the focus on the second.
// Part 2, the value being edited: rightText (or the digits being typed) with the sign of the menu state.
void DrawLimitDialog(int part, const char* title, const char* leftLabel, const char* middleLabel,
                     const char* rightText, int flag);

// The 201x91 popup. Part 0: background, band, title and range; part 1: the value, no cursor; part 2: the
// value being edited, as part 2 above.
void DrawLimitPopup(int part, const char* title, const char* rangeText, const char* valueText);
