#include "panel/pages/text_log.h"

#include <cstdio>

#include "GUI/gui_types.h"
#include "GUI/text/gui_font.h"
#include "panel/pages/panel_fonts.h"
#include "platform/host/log_file.h"

namespace {

std::string g_path;  // empty: not logging
bool g_masked = false;

void LogText(const char* text, int x, int y, uint16_t align, uint32_t color, const GUI_FONTDEF* font) {
    if (g_path.empty()) return;
    char head[96];
    std::snprintf(head, sizeof head, "%d %d %u 0x%04X %s ", x, y, static_cast<unsigned>(align),
                  TextLog_Rgb565(color), PanelFontName(font));
    std::string line = head;
    for (const char* p = text; *p != 0; ++p) {
        if (g_masked)
            line += '*';
        else if (*p == '\n')
            line += "\\n";
        else if (*p == '\\')
            line += "\\\\";
        else
            line += *p;
    }
    line += '\n';
    // Written through at once (whoever reads the log reads it while the panel runs) and kept within the
    // logs' limit: a panel left running redraws its texts many times a second.
    plat::LogAppend(g_path, line, plat::LogLimitBytes());
}

}  // namespace

void TextLog_CharsDrawn(const char* text, int x, int y) {
    if (text == nullptr) return;
    LogText(text, x + GUI_Context.xOff, y + GUI_Context.yOff, GUI_Context.textAlign, GUI_Context.foreColor,
            GUI_Context.pFont);
}

void TextLog_SetMasked(bool masked) {
    g_masked = masked;
}

uint16_t TextLog_Rgb565(uint32_t color) {
    const uint32_t r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
    return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

int TextLog_Start(const std::string& path) {
    TextLog_Stop();
    FILE* file = std::fopen(path.c_str(), "a");
    if (file == nullptr) return -1;
    std::fclose(file);
    g_path = path;
    GUI_SetTextHook(LogText);
    return 0;
}

void TextLog_Stop() {
    GUI_SetTextHook(nullptr);
    g_path.clear();
}
