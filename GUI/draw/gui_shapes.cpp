// Gradients and column graphs, in window coordinates, drawn in every visible part.
#include <algorithm>
#include <initializer_list>

#include "GUI/lcd/lcd.h"
#include "GUI/draw/gui_2d.h"

namespace {

// Byte by byte (all four), c0 + step x (c1 - c0) / span, truncating.
uint32_t Mix(uint32_t c0, uint32_t c1, int step, int span) {
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int a = static_cast<int>((c0 >> shift) & 0xFF), b = static_cast<int>((c1 >> shift) & 0xFF);
        out |= (static_cast<uint32_t>(a + step * (b - a) / span) & 0xFF) << shift;
    }
    return out;
}

// Runs of equal colour along the gradient's axis become one fill each (a single line as a line).
void GradientCore(int x0, int y0, int x1, int y1, uint32_t c0, uint32_t c1, bool vertical) {
    if (c0 == c1) {
        LCD_SetForeColor(c0);
        LCD_FillBox(x0, y0, x1, y1);
        return;
    }
    const int from = vertical ? y0 : x0, to = vertical ? y1 : x1;
    const int span = std::max(to - from, 1);
    auto draw = [&](int a, int b) {
        if (vertical) {
            a == b ? LCD_HLine(x0, a, x1) : LCD_FillBox(x0, a, x1, b);
        } else {
            a == b ? LCD_VLine(a, y0, y1) : LCD_FillBox(a, y0, b, y1);
        }
    };
    int runStart = from;
    uint32_t runColor = c0;
    for (int v = from + 1; v <= to; ++v) {
        const uint32_t color = Mix(c0, c1, v - from, span);
        if (color == runColor) continue;
        LCD_SetForeColor(runColor);
        draw(runStart, v - 1);
        runStart = v;
        runColor = color;
    }
    LCD_SetForeColor(runColor);
    draw(runStart, to);
}

void Gradient(int x0, int y0, int x1, int y1, uint32_t c0, uint32_t c1, bool vertical) {
    const uint32_t saved = GUI_Context.foreColor;
    x0 += GUI_Context.xOff;
    x1 += GUI_Context.xOff;
    y0 += GUI_Context.yOff;
    y1 += GUI_Context.yOff;
    const GUI_BOX area = gui::ClampedBox(x0, y0, x1, y1);
    gui::ForEachVisible(&area, [&] { GradientCore(x0, y0, x1, y1, c0, c1, vertical); });
    LCD_SetForeColor(saved);
}

void PlotCore(const int16_t* values, int n, int x0, int y0) {
    int first = 1;
    const GUI_BOX* clip = GUI_Context.pClipRectHL;
    if (clip != nullptr) {
        first = std::max(first, clip->x0 - x0);
        n = std::min(n, clip->x1 - x0 + 1);
    }
    for (int k = first; k < n; ++k) {
        const int a = values[k - 1] + y0, b = values[k] + y0;
        if (clip != nullptr && ((a < clip->y0 && b < clip->y0) || (a > clip->y1 && b > clip->y1))) continue;
        const int m = (a + b) / 2;
        LCD_VLine(x0 + k - 1, std::min(a, m), std::max(a, m));
        LCD_VLine(x0 + k, std::min(m, b), std::max(m, b));
    }
}

}  // namespace

void GUI_GradientVertical(int x0, int y0, int x1, int y1, uint32_t color0, uint32_t color1) {
    Gradient(x0, y0, x1, y1, color0, color1, true);
}

void GUI_GradientHorizontal(int x0, int y0, int x1, int y1, uint32_t color0, uint32_t color1) {
    Gradient(x0, y0, x1, y1, color0, color1, false);
}

void GUI_PlotColumns(const int16_t* values, int count, int x0, int y0) {
    if (values == nullptr || count <= 0) return;
    x0 += GUI_Context.xOff;
    y0 += GUI_Context.yOff;
    const GUI_BOX area = gui::ClampedBox(x0, -32768, x0 + count - 1, 32767);
    gui::ForEachVisible(&area, [&] { PlotCore(values, count, x0, y0); });
}
