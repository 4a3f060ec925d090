#include "panel/draw/warning_dialog.h"

#include <cstdio>

#include "GUI/draw/gui_2d.h"
#include "GUI/lcd/color_rgb.h"
#include "panel/pages/panel_fonts.h"

namespace {

constexpr const char* kWiringNames[] = {"3P4W",    "1P2W",    "1P3W", "L1 LINE",
                                        "L2 LINE", "L3 LINE", "EXT",  "L1 Ext"};
constexpr int kWiringCount = sizeof kWiringNames / sizeof kWiringNames[0];

void FillRounded(int x0, int y0, int x1, int y1, int r) {
    GUI_FillBox(x0 + r, y0, x1 - r, y1);
    GUI_FillBox(x0, y0 + r, x1, y1 - r);
    GUI_FillDisc(x0 + r, y0 + r, r);
    GUI_FillDisc(x1 - r, y0 + r, r);
    GUI_FillDisc(x0 + r, y1 - r, r);
    GUI_FillDisc(x1 - r, y1 - r, r);
}

void Text(const char* text, int x, int y) {
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_TOP);
    GUI_DrawTextAt(text, x, y);
}

}  // namespace

void WarningDialog_Paint(int wiring) {
    SetColorRGB(0xF6A635);
    FillRounded(0, 0, 610, 40, 5);
    SetColorRGB(0x000000);
    GUI_FillBox(1, 0, 609, 1);
    GUI_FillBox(1, 408, 609, 409);
    GUI_FillBox(0, 0, 1, 410);
    GUI_FillBox(608, 0, 609, 410);

    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SelectFont(&kFont30);
    Text("Warning !", 5, -5);
    GUI_SelectFont(&kFont24);
    Text("The AC source and/or DUT might be damaged,", 70, 75);
    Text("if the output is not connecter properly", 70, 105);
    const char* name = (wiring >= 0 && wiring < kWiringCount) ? kWiringNames[wiring] : "";
    char line[64];
    std::snprintf(line, sizeof line, "Are you want to change %s?", name);
    Text(line, 70, 225);
}
