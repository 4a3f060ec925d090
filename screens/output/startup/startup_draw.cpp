// The start-up screen's drawing. The logos are ours: a band in the brand's colour with its name.
#include "screens/output/startup/startup_draw.h"

#include "GUI/Fonts/fonts.h"
#include "GUI/draw/gui_2d.h"

namespace {

int g_x0 = 0, g_y0 = 0;

struct Logo {
    const char* name;
    uint32_t band;
};
constexpr Logo kLogos[2] = {{"QX", 0x803000}, {"TULVE", 0x205020}};

}  // namespace

void StartupSetOrigin(int x0, int y0) {
    g_x0 = x0;
    g_y0 = y0;
}

void StartupDrawText(const char* text, int x, int y, uint32_t color) {
    GUI_SelectFont(&Font36a);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_VCENTER);
    GUI_SetForeColor(color);
    GUI_DrawTextAt(text, g_x0 + x, g_y0 + y);
}

void StartupDrawLogo(uint32_t brand) {
    if (brand >= 2) return;
    const Logo& logo = kLogos[brand];
    GUI_SetForeColor(logo.band);
    GUI_FillBox(g_x0, g_y0, g_x0 + 799, g_y0 + 109);
    GUI_SelectFont(&Font45b);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SetAlign(GUI_TA_HCENTER | GUI_TA_VCENTER);
    GUI_SetForeColor(kStartupWhite);
    GUI_DrawTextAt(logo.name, g_x0 + 400, g_y0 + 55);
}
