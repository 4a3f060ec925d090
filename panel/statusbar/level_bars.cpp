// The load level bars: up to eight teal segments per phase, the last one red at full load.
#include "GUI/draw/gui_2d.h"
#include "panel/statusbar/status_bar.h"
#include "panel/statusbar/status_draw.h"

namespace {

struct Span {
    int x0, x1;
};
constexpr Span kSegments[8] = {{1, 6}, {8, 11}, {13, 16}, {18, 21}, {23, 26}, {28, 31}, {33, 36}, {38, 41}};

void Segment(const Span& s, int y0, int y1, uint32_t rgb) {
    statusbar::Fill(s.x0 + 1, y0, s.x1 - 1, y1, rgb);
    statusbar::Fill(s.x0, y0 + 1, s.x0, y1 - 1, rgb);
    statusbar::Fill(s.x1, y0 + 1, s.x1, y1 - 1, rgb);
    GUI_Dot(s.x0, y0);
    GUI_Dot(s.x1, y0);
    GUI_Dot(s.x0, y1);
    GUI_Dot(s.x1, y1);
}

void Row(int percent, int y0, int y1) {
    const int n = statusbar::LevelSegments(percent);
    for (int i = 0; i < n; ++i) {
        const bool full = i == 7 && percent >= 100;
        Segment(kSegments[i], y0, y1, full ? statusbar::kRed : statusbar::kTeal);
    }
}

}  // namespace

void LevelBar3_Draw(int l1, int l2, int l3) {
    Row(l1, 2, 4);
    Row(l2, 10, 12);
    Row(l3, 18, 20);
}

void LevelBar2_Draw(int l1, int l2) {
    Row(l1, 2, 7);
    Row(l2, 13, 18);
}

void LevelBar1_Draw(int l1) {
    Row(l1, 6, 14);
}
