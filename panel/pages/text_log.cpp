#include "panel/pages/text_log.h"

#include <cstdio>

#include "GUI/gui_types.h"
#include "GUI/text/gui_font.h"
#include "panel/pages/panel_fonts.h"

namespace {

FILE* g_log = nullptr;
bool g_masked = false;

void LogText(const char* text, int x, int y, uint16_t align, uint32_t color, const GUI_FONTDEF* font) {
    if (g_log == nullptr) return;
    std::fprintf(g_log, "%d %d %u 0x%04X %s ", x, y, static_cast<unsigned>(align), TextLog_Rgb565(color),
                 PanelFontName(font));
    for (const char* p = text; *p != 0; ++p) {
        if (g_masked)
            std::fputc('*', g_log);
        else if (*p == '\n')
            std::fputs("\\n", g_log);
        else if (*p == '\\')
            std::fputs("\\\\", g_log);
        else
            std::fputc(*p, g_log);
    }
    std::fputc('\n', g_log);
    // Whoever reads the log reads it while the panel runs.
    std::fflush(g_log);
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
    g_log = std::fopen(path.c_str(), "a");
    if (g_log == nullptr) return -1;
    GUI_SetTextHook(LogText);
    return 0;
}

void TextLog_Stop() {
    GUI_SetTextHook(nullptr);
    if (g_log != nullptr) std::fclose(g_log);
    g_log = nullptr;
}
