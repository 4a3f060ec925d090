#include "panel/draw/phasor.h"

#include <cmath>

#include "GUI/draw/gui_2d.h"
#include "core/params/access/wiring_state.h"
#include "panel/pages/panel_fonts.h"
#include "platform/stage/wiring_codes.h"

namespace {

constexpr float kPi = 3.14159265f;
// An arrow along +x from the centre: shaft to 50, head to 60.
constexpr GUI_POINT kArrow[7] = {{0, 1}, {50, 1}, {50, 5}, {60, 0}, {50, -5}, {50, -1}, {0, -1}};

void Arrow(float degrees, uint32_t colour, int cx, int cy) {
    GUI_POINT points[7];
    GUI_RotatePoints(points, kArrow, 7, -degrees * kPi / 180.0f);
    GUI_SetForeColor(colour);
    GUI_FillShape(points, 7, cx, cy);
}

void Label(const char* text, int x, int y) {
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_TOP);
    GUI_DrawTextAt(text, x, y);
}

// At the arrow's direction, 70 pixels out.
void PhaseLabel(const char* text, float degrees, int x, int y) {
    const float a = degrees * kPi / 180.0f;
    Label(text, x + 123 - static_cast<int>(70.0f - 70.0f * std::cos(a)),
          y + 61 + static_cast<int>(70.0f * std::sin(a)));
}

}  // namespace

void DrawPhasorDiagram(int x, int y, float angleL2, float angleL3) {
    const int cx = x + 60, cy = y + 60;
    GUI_SetForeColor(0x808080);
    const uint8_t style = GUI_SetLineKind(GUI_LS_DOT);
    GUI_Line(x, cy, x + 120, cy);
    GUI_Line(cx, y, cx, y + 120);
    GUI_Line(x + 112, y + 30, x + 8, y + 90);
    GUI_Line(x + 8, y + 30, x + 112, y + 90);
    GUI_Line(x + 30, y + 8, x + 90, y + 112);
    GUI_Line(x + 90, y + 8, x + 30, y + 112);
    for (int r : {60, 45, 30, 15})
        GUI_CircleOutline(cx, cy, r);
    GUI_SetLineKind(style);

    GUI_SelectFont(&kFont16);
    GUI_SetTextDrawMode(GUI_TM_NORMAL);
    GUI_SetBackColor(0x000000);
    Arrow(0.0f, 0x19CAFF, cx, cy);
    GUI_SetForeColor(0xFFFFFF);
    Label("L1", x + 123, y + 61);
    const uint32_t wiring = g_PhaseMode.load(std::memory_order_relaxed);
    if (wiring != kWiring3P4W && wiring != kWiring1P3W) return;
    if (wiring == kWiring3P4W) Arrow(angleL3, 0x2C9116, cx, cy);
    Arrow(angleL2, 0xD87225, cx, cy);
    GUI_SetForeColor(0xFFFFFF);
    PhaseLabel("L2", angleL2, x, y);
    if (wiring == kWiring3P4W) PhaseLabel("L3", angleL3, x, y);
}
