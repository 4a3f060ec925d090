// Polygon fill by scan lines: crossings of each line with the edges, filled pairwise. A vertex that is a
// local minimum or maximum of its line is one pixel, not the start of a span.
#include "GUI/draw/gui_polygon.h"

#include <algorithm>

#include "GUI/lcd/lcd.h"
#include "GUI/draw/gui_2d.h"

namespace {

constexpr int kMaxCrossings = 12;
int16_t g_crossings[kMaxCrossings];
int g_numCrossings;

// Kept ascending; a new value goes before equal ones; beyond 12 crossings the rest are dropped.
void AddCrossing(int x) {
    if (g_numCrossings >= kMaxCrossings) return;
    int i = g_numCrossings++;
    while (i > 0 && g_crossings[i - 1] >= x) {
        g_crossings[i] = g_crossings[i - 1];
        --i;
    }
    g_crossings[i] = static_cast<int16_t>(x);
}

// The y of the nearest vertex before i whose y is not y (y itself when there is none).
int PreviousOtherY(const GUI_POINT* p, int n, int i, int y) {
    for (int step = 1; step < n; ++step) {
        const int py = p[(i - step + n) % n].y;
        if (py != y) return py;
    }
    return y;
}

}  // namespace

namespace gui {

void FillPolygon(const GUI_POINT* p, int n, int ox, int oy) {
    if (n < 2) return;
    const GUI_DRAWOPS* ops = GUI_Context.pDrawOps;
    int ymin = 4095, ymax = -4095;
    for (int i = 0; i < n; ++i) {
        ymin = std::min<int>(ymin, p[i].y);
        ymax = std::max<int>(ymax, p[i].y);
    }
    if (const GUI_BOX* clip = GUI_Context.pClipRectHL) {
        ymin = std::max(ymin, clip->y0 - oy);
        ymax = std::min(ymax, clip->y1 - oy);
    }
    for (int y = ymin; y <= ymax; ++y) {
        g_numCrossings = 0;
        for (int i = 0; i < n; ++i) {
            const GUI_POINT& a = p[i];
            const GUI_POINT& b = p[(i + 1) % n];
            const bool aOn = a.y == y, bOn = b.y == y;
            if (!aOn && !bOn) {
                const GUI_POINT& lo = a.y < b.y ? a : b;
                const GUI_POINT& hi = a.y < b.y ? b : a;
                if (y < lo.y || y > hi.y) continue;
                const int dy = hi.y - lo.y;
                const int product = (y - lo.y) * (hi.x - lo.x);
                const int r = product > 0 ? dy / 2 : 1 - dy / 2;
                AddCrossing(lo.x + (product + r) / dy);
            } else if (aOn && !bOn) {
                const int before = PreviousOtherY(p, n, i, y);
                if ((before < y) == (b.y < y)) {
                    ops->Pixel(a.x + ox, y + oy);
                } else {
                    AddCrossing(a.x);
                }
            } else if (aOn && bOn) {
                ops->HLine(std::min(a.x, b.x) + ox, y + oy, std::max(a.x, b.x) + ox);
            }
        }
        for (int k = 0; k + 1 < g_numCrossings; k += 2)
            ops->HLine(g_crossings[k] + ox, y + oy, g_crossings[k + 1] + ox);
    }
}

}  // namespace gui

void GUI_FillShape(const GUI_POINT* points, int count, int x, int y) {
    if (points == nullptr || count <= 0) return;
    x += GUI_Context.xOff;
    y += GUI_Context.yOff;
    int x0 = 4095, y0 = 4095, x1 = -4095, y1 = -4095;
    for (int i = 0; i < count; ++i) {
        x0 = std::min<int>(x0, points[i].x);
        x1 = std::max<int>(x1, points[i].x);
        y0 = std::min<int>(y0, points[i].y);
        y1 = std::max<int>(y1, points[i].y);
    }
    const GUI_BOX area = gui::ClampedBox(x0 + x, y0 + y, x1 + x, y1 + y);
    gui::ForEachVisible(&area, [&] { gui::FillPolygon(points, count, x, y); });
}
