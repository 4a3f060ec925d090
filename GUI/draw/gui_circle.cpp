// Circles, discs, ellipses and rings. Circles compute one octant (up to r x 707/1000, about r/sqrt 2) and
// mirror it; ellipses take each row's half-width from an integer square root, in 64 bits so that large
// radii do not overflow.
#include "GUI/draw/gui_circle.h"

#include <cstdint>

#include "GUI/lcd/lcd.h"
#include "GUI/draw/gui_2d.h"

namespace {

void HLine(int x0, int y, int x1) {
    GUI_Context.pDrawOps->HLine(x0, y, x1);
}

void Pixel(int x, int y) {
    GUI_Context.pDrawOps->Pixel(x, y);
}

void PlotOctants(int x0, int y0, int i, int j) {
    Pixel(x0 + i, y0 + j);
    Pixel(x0 - i, y0 + j);
    Pixel(x0 + j, y0 + i);
    Pixel(x0 + j, y0 - i);
    if (j != 0) {
        Pixel(x0 + i, y0 - j);
        Pixel(x0 - i, y0 - j);
        Pixel(x0 - j, y0 + i);
        Pixel(x0 - j, y0 - i);
    }
}

}  // namespace

namespace gui {

void CircleCore(int x0, int y0, int r) {
    PlotOctants(x0, y0, r, 0);
    const int limit = r * 707 / 1000 + 2;
    for (int i = 1, j = r; i < limit; ++i) {
        if (i * i + j * j > r * r + r / 2) {
            PlotOctants(x0, y0, i, j);
            --j;
        }
        PlotOctants(x0, y0, i, j);
    }
}

void FillDiscCore(int x0, int y0, int r) {
    HLine(x0 - r, y0, x0 + r);
    const int last = r * 707 / 1000 + 1;
    for (int i = 1, j = r; i <= last; ++i) {
        if (i * i + j * j > r * r + r / 2) {
            if (j > last) {
                HLine(x0 - i + 1, y0 - j, x0 + i - 1);
                HLine(x0 - i + 1, y0 + j, x0 + i - 1);
            }
            --j;
        }
        HLine(x0 - j, y0 - i, x0 + j);
        HLine(x0 - j, y0 + i, x0 + j);
    }
}

}  // namespace gui

namespace {

void CircleAt(int x0, int y0, int r) {
    const int ox = x0 + GUI_Context.xOff, oy = y0 + GUI_Context.yOff;
    const GUI_BOX area = gui::ClampedBox(ox - r, oy - r, ox + r, oy + r);
    gui::ForEachVisible(&area, [&] { gui::CircleCore(ox, oy, r); });
}

}  // namespace

void GUI_CircleOutline(int x0, int y0, int r) {
    if (r >= 0) CircleAt(x0, y0, r);
}

void GUI_FillDisc(int x0, int y0, int r) {
    if (r < 0) return;
    const int ox = x0 + GUI_Context.xOff, oy = y0 + GUI_Context.yOff;
    gui::ForEachVisible(nullptr, [&] { gui::FillDiscCore(ox, oy, r); });
}
