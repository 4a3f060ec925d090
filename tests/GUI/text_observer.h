#pragma once
// The texts the graphics library draws, recorded through its text hook: set `Observe` with
// GUI_SetTextHook, clear `g_texts` between pictures.
#include <string>
#include <vector>

#include "GUI/text/gui_font.h"

namespace drawn {

struct Text {
    std::string text;
    int x, y;
    uint16_t align;
};
inline std::vector<Text> g_texts;

inline void Observe(const char* text, int x, int y, uint16_t align, uint32_t, const GUI_FONTDEF*) {
    g_texts.push_back({text, x, y, align});
}
inline bool DrawnAt(const std::string& text, int x, int y) {
    for (const auto& d : g_texts)
        if (d.text == text && d.x == x && d.y == y) return true;
    return false;
}
inline bool Drawn(const std::string& text) {
    for (const auto& d : g_texts)
        if (d.text == text) return true;
    return false;
}
// Every text with its place, a line each (for failure messages).
inline std::string All() {
    std::string out;
    for (const auto& d : g_texts)
        out += d.text + " @" + std::to_string(d.x) + "," + std::to_string(d.y) + "\n";
    return out;
}

}  // namespace drawn
