#pragma once
// Backgrounds, bars and button frames of the panel's windows, in the selected window's coordinates, and
// the placing of one window relative to another. GUI thread only.
#include "GUI/gui_types.h"

void ClearWindow();
void DrawContentBackground(int x, int y);        // 719x445
void FillStrip185(int x, int y, int height);     // a 185-pixel strip, height rows
void DrawSeparator185(int x, int y);             // 185x2
// An outline over columns x..x + width and rows y..y + height.
void DrawFrame1px(int x, int y, int width, int height);

// Bars of width pixels from x: label 21 high, edit and select fields 27, panel bars 30.
void DrawLabelBar(int x, int y, int width);
void DrawEditFieldBar(int x, int y, int width);
void DrawSelectFieldBar(int x, int y, int width);
void DrawSelectFieldBarAccent(int x, int y, int width);
void DrawPanelBar30(int x, int y, int width);
void DrawPanelBar30Open(int x, int y, int width);

// A blue gradient button with an inner light and an outer dark border; the focused one carries a blue
// mark inside.
void DrawButtonFrame(int x, int y, int width, int height);
void DrawButtonFrameFocused(int x, int y, int width, int height);
// The two 90x35 buttons of a dialog's answer row, at x 0 and secondX, the focus on one of them.
void DrawButtonPair(int secondX, bool focusSecond);

// Moves window to the reference window's top-left corner plus (dx, dy).
void MoveWindowRelative(WM_HWINDOW window, int dx, int dy, WM_HWINDOW reference);
