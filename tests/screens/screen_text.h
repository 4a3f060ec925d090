#pragma once
// What the screen tests read back: the text log ("x y align colour font text" a line), a colour 0xRRGGBB
// as the framebuffer holds it, and the anchor y of a soft key's label.
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "GUI/device/fb_driver.h"

namespace screentext {

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Whether the log holds the text at (x, y), in that colour and font where they are given.
inline bool Logged(const std::string& log, int x, int y, const std::string& text, const char* colour = nullptr,
                   const char* font = nullptr) {
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream f(line);
        int lx = -1, ly = -1;
        std::string align, rgb, fnt, rest;
        f >> lx >> ly >> align >> rgb >> fnt;
        if (lx != x || ly != y || (colour && rgb != colour) || (font && fnt != font)) continue;
        std::getline(f, rest);
        if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
        if (rest == text) return true;
    }
    return false;
}

inline uint16_t Pixel(uint32_t rgb) {
    return static_cast<uint16_t>(Color2Index_565(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16)));
}

// Soft key `key`'s label of one, two or three lines is anchored at this y.
inline int KeyY(int key, int lines) {
    return 60 * key + (lines == 1 ? 31 : lines == 2 ? 23 : 16);
}

}  // namespace screentext
