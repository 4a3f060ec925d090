#include "panel/pages/standin_page.h"

#include <cstdio>

#include "GUI/draw/gui_2d.h"
#include "GUI/gui.h"
#include "GUI/text/gui_font.h"
#include "panel/pages/panel_fonts.h"

WM_HWINDOW StandInPage_Create(WM_CALLBACK* cb) {
    return WM_CreateTop(0, 0, 800, 480, 0, cb, 0);
}

void StandInPage_Paint(uint32_t id) {
    GUI_SetBackColor(0x000000);
    GUI_ClearWindow();
    GUI_SelectFont(&kFont24);
    GUI_SetForeColor(0xFFFFFF);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SetAlign(GUI_TA_LEFT);
    char text[24];
    std::snprintf(text, sizeof text, "page %u", static_cast<unsigned>(id));
    GUI_DrawTextAt(text, 20, 40);
}
