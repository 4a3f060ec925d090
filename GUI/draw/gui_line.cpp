// Lines with the current pen and line style, and pen dots. A 1-pixel line steps along its major axis;
// a wider pen fills the quadrilateral around the line and, with round ends, a dot at each end.
#include <algorithm>
#include <cstdlib>

#include "GUI/lcd/lcd.h"
#include "GUI/draw/gui_2d.h"
#include "GUI/draw/gui_circle.h"
#include "GUI/draw/gui_polygon.h"

namespace {

int Mod(int n, int m) {
    const int r = n % m;
    return r < 0 ? r + m : r;
}

// True where the style leaves the pixel out.
bool Skipped(uint8_t style, int n) {
    switch (style) {
        case GUI_LS_DASH:
            return Mod(n + 6, 16) < 12;
        case GUI_LS_DOT:
            return Mod(n, 4) < 2;
        case GUI_LS_DASHDOT: {
            const int k = Mod(n, 20);
            return k <= 11 || k == 16 || k == 17;
        }
        case GUI_LS_DASHDOTDOT: {
            const int k = Mod(n, 24);
            return k <= 11 || k == 16 || k == 17 || k == 20 || k == 21;
        }
        default:
            return false;
    }
}

void PenDot(int x, int y) {
    const int p = GUI_Context.penSize;
    if (p <= 1) {
        GUI_Context.pDrawOps->Pixel(x, y);
    } else {
        gui::FillDiscCore(x, y, (p - 1) / 2);
    }
}

void ThinLine(int x0, int y0, int x1, int y1, int* counter) {
    const GUI_DRAWOPS* ops = GUI_Context.pDrawOps;
    const uint8_t style = GUI_Context.lineStyle;
    int dx = x1 - x0, dy = y1 - y0;
    if (dx == 0 && dy == 0) {
        ops->Pixel(x0, y0);
        return;
    }
    const bool steep = std::abs(dx) < std::abs(dy);
    // (a, b): major and minor axis.
    int a0 = steep ? y0 : x0, b0 = steep ? x0 : y0;
    int da = steep ? dy : dx, db = steep ? dx : dy;
    const bool reversed = da < 0;
    if (reversed) {
        a0 += da;
        b0 += db;
        da = -da;
        db = -db;
    }
    auto plot = [&](int a, int b) { steep ? ops->Pixel(b, a) : ops->Pixel(a, b); };
    if (db == 0 && style == GUI_LS_SOLID) {
        steep ? LCD_VLine(b0, a0, a0 + da) : ops->HLine(a0, b0, a0 + da);
    } else if (db == 0) {
        for (int i = 0; i <= da; ++i) {
            if (!Skipped(style, *counter + i)) plot(a0 + i, b0);
        }
    } else if (style == GUI_LS_SOLID) {
        // Pixels that share their minor coordinate are one run, drawn as one line.
        const int h = db < 0 ? -da / 2 : da / 2;
        int runStart = 0, runB = b0 + h / da;
        for (int i = 1; i <= da + 1; ++i) {
            const int b = b0 + (i * db + h) / da;
            if (i <= da && b == runB) continue;
            steep ? LCD_VLine(runB, a0 + runStart, a0 + i - 1) : ops->HLine(a0 + runStart, runB, a0 + i - 1);
            runStart = i;
            runB = b;
        }
    } else {
        const int h = db < 0 ? -da / 2 : da / 2;
        for (int i = 0; i <= da; ++i) {
            const int t = reversed ? da - i : i;  // distance from the given start
            if (Skipped(style, *counter + (reversed ? t - 1 : t + 1))) continue;
            plot(a0 + i, b0 + (i * db + h) / da);
        }
    }
    *counter += da;
}

// Each offset split into the halves on either side of the line.
void Halves(int v, int* a, int* b) {
    if (v >= 1) {
        *a = (v + 1) / 2;
        *b = v / 2;
    } else {
        *a = v / 2;
        *b = (v - 1) / 2;
    }
}

void WideLine(int x0, int y0, int x1, int y1) {
    if (x0 == x1 && y0 == y1) return;
    int ox, oy, ax, bx, ay, by;
    GUI_GetPerpendicular(x0 - x1, y0 - y1, GUI_Context.penSize - 1, &ox, &oy);
    Halves(ox, &ax, &bx);
    Halves(oy, &ay, &by);
    const GUI_POINT quad[4] = {
        {static_cast<int16_t>(x0 + ax), static_cast<int16_t>(y0 + ay)},
        {static_cast<int16_t>(x0 - bx), static_cast<int16_t>(y0 - by)},
        {static_cast<int16_t>(x1 - bx), static_cast<int16_t>(y1 - by)},
        {static_cast<int16_t>(x1 + ax), static_cast<int16_t>(y1 + ay)},
    };
    gui::FillPolygon(quad, 4, 0, 0);
    if (GUI_Context.penShape == 0) {
        PenDot(x0, y0);
        PenDot(x1, y1);
    }
}

void LineCore(int x0, int y0, int x1, int y1, int* counter) {
    if (GUI_Context.penSize > 1) {
        WideLine(x0, y0, x1, y1);
    } else {
        ThinLine(x0, y0, x1, y1, counter);
    }
}

// Absolute line in every visible part of the window, each part starting the pattern afresh.
void VisibleLine(int x0, int y0, int x1, int y1) {
    const int grow = GUI_Context.penSize;
    const GUI_BOX area = gui::ClampedBox(std::min(x0, x1) - grow, std::min(y0, y1) - grow,
                                         std::max(x0, x1) + grow, std::max(y0, y1) + grow);
    gui::ForEachVisible(&area, [&] {
        int counter = 0;
        LineCore(x0, y0, x1, y1, &counter);
    });
}

}  // namespace

void GUI_Line(int x0, int y0, int x1, int y1) {
    VisibleLine(x0 + GUI_Context.xOff, y0 + GUI_Context.yOff, x1 + GUI_Context.xOff, y1 + GUI_Context.yOff);
}

void GUI_Dot(int x, int y) {
    x += GUI_Context.xOff;
    y += GUI_Context.yOff;
    const int r = GUI_Context.penSize / 2 + 1;
    const GUI_BOX area = gui::ClampedBox(x - r, y - r, x + r, y + r);
    gui::ForEachVisible(&area, [&] { PenDot(x, y); });
}
