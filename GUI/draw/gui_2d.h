#pragma once
// Two-dimensional drawing in window coordinates (inclusive corners): each call adds the window origin
// and draws once for every visible part of the selected window. Also the integer trigonometry and
// square root the circles, pens and rotation rest on, and the rectangle helpers. GUI thread only.
#include <cstdint>

#include "GUI/gui.h"
#include "GUI/wm/wm.h"

struct GUI_POINT {
    int16_t x, y;
};

// Line styles.
inline constexpr uint8_t GUI_LS_SOLID = 0;
inline constexpr uint8_t GUI_LS_DASH = 1;
inline constexpr uint8_t GUI_LS_DOT = 2;
inline constexpr uint8_t GUI_LS_DASHDOT = 3;
inline constexpr uint8_t GUI_LS_DASHDOTDOT = 4;

// Clearing and frames (the window manager's own drawing calls).
void GUI_ClearBox(int x0, int y0, int x1, int y1);
void GUI_ClearWindow();
void GUI_DrawFrame(int x0, int y0, int x1, int y1);

// Lines and dots.
void GUI_Line(int x0, int y0, int x1, int y1);
// The status bar's level bars and marks.
void GUI_Dot(int x, int y);

// Areas and shapes.
void GUI_FillBox(int x0, int y0, int x1, int y1);
void GUI_CircleOutline(int x0, int y0, int r);
void GUI_FillDisc(int x0, int y0, int r);
// The panel's bars draw gradients, the waveform editor plots its preview columns, the phasor diagram and
// the status bar fill shapes.
void GUI_GradientVertical(int x0, int y0, int x1, int y1, uint32_t color0, uint32_t color1);
void GUI_GradientHorizontal(int x0, int y0, int x1, int y1, uint32_t color0, uint32_t color1);
void GUI_PlotColumns(const int16_t* values, int count, int x0, int y0);
void GUI_FillShape(const GUI_POINT* points, int count, int x, int y);

// Math: angles in 4096 units per circle (values scaled by 1024) or in thousandths of a degree (values
// scaled by 65536).
int GUI_Sin4096(int angle);
int GUI_Cos4096(int angle);
int GUI_Atan2_4096(int x, int y);
void GUI_GetPerpendicular(int dx, int dy, int length, int* x, int* y);
int32_t GUI_SinMilli(int32_t angle);
int32_t GUI_CosMilli(int32_t angle);
// The circle and shape drawing take their square roots here; the phasor diagram turns its points.
uint32_t GUI_IntSqrt(uint32_t n);
void GUI_RotatePoints(GUI_POINT* out, const GUI_POINT* in, int count, float angle);

namespace gui {

// A box from int corners, each clamped to the 16-bit range.
GUI_BOX ClampedBox(int x0, int y0, int x1, int y1);

// Runs draw() once per visible part of the selected window inside rect (screen coordinates; null: the
// whole window), with the clip rectangle set to that part.
template <class F>
void ForEachVisible(const GUI_BOX* rect, F draw) {
    if (!WM_ClipBegin(rect)) return;
    do {
        draw();
    } while (WM_ClipNext());
}

}  // namespace gui
