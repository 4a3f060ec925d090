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

// Half-width of an ellipse of radii rx, ry at row distance i.
int HalfWidth(int64_t rx, int64_t ry, int64_t i) {
    const int64_t rx2 = rx * rx;
    return static_cast<int>(GUI_IntSqrt(static_cast<uint32_t>(rx2 - rx2 * i * i / (ry * ry))));
}

// Both rows at distance i - 1 from the centre (one row for i = 1), the two spans given per side.
void MirrorRows(int x0, int y0, int i, int from, int to) {
    HLine(x0 + from, y0 - i + 1, x0 + to);
    HLine(x0 - to, y0 - i + 1, x0 - from);
    if (i > 1) {
        HLine(x0 + from, y0 + i - 1, x0 + to);
        HLine(x0 - to, y0 + i - 1, x0 - from);
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

void EllipseCore(int x0, int y0, int rx, int ry, int pen) {
    const int irx = rx - pen + 1, iry = ry - pen + 1;
    int w = rx;
    for (int i = 1; i <= ry; ++i) {
        const int n = HalfWidth(rx, ry, i);
        if (n != w) --w;
        if (pen > 0 && i < iry) {
            const int m = HalfWidth(irx, iry, i);
            MirrorRows(x0, y0, i, m, w);
        } else if (pen > 0) {
            HLine(x0 - w, y0 - i + 1, x0 + w);
            if (i > 1) HLine(x0 - w, y0 + i - 1, x0 + w);
        } else {
            // The left half-line stops short of the centre column, which the right one holds: in XOR
            // mode a pixel drawn twice would come back.
            HLine(x0, y0 - i + 1, x0 + w);
            HLine(x0 - w, y0 - i + 1, x0 - 1);
            if (i > 1) {
                HLine(x0, y0 + i - 1, x0 + w);
                HLine(x0 - w, y0 + i - 1, x0 - 1);
            }
        }
        w = n;
    }
}

}  // namespace gui

namespace {

void CircleAt(int x0, int y0, int r) {
    const int ox = x0 + GUI_Context.xOff, oy = y0 + GUI_Context.yOff;
    const GUI_BOX area = gui::ClampedBox(ox - r, oy - r, ox + r, oy + r);
    gui::ForEachVisible(&area, [&] { gui::CircleCore(ox, oy, r); });
}

void OvalAt(int x0, int y0, int rx, int ry, int pen) {
    const int ox = x0 + GUI_Context.xOff, oy = y0 + GUI_Context.yOff;
    const GUI_BOX area = gui::ClampedBox(ox - rx, oy - ry, ox + rx, oy + ry);
    gui::ForEachVisible(&area, [&] { gui::EllipseCore(ox, oy, rx, ry, pen); });
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

void GUI_FillOval(int x0, int y0, int rx, int ry) {
    const int grow = (GUI_Context.penSize + 1) / 2;
    OvalAt(x0, y0, rx + grow, ry + grow, 0);
}

// A pen wider than a radius leaves no ring; a pen as wide as one fills the ellipse.
void GUI_OvalRing(int x0, int y0, int rx, int ry) {
    const int pen = GUI_Context.penSize, grow = (pen + 1) / 2;
    rx += grow;
    ry += grow;
    if (pen > rx || pen > ry) return;
    OvalAt(x0, y0, rx, ry, pen == rx || pen == ry ? 0 : pen);
}
