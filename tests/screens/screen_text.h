#pragma once
// What the screen tests read back: the text log ("x y align colour font text" a line), a colour 0xRRGGBB
// as the framebuffer holds it, and the anchor y of a soft key's label.
#include <cstdint>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "GUI/device/fb_driver.h"

namespace screentext {

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct LogLine {
    int x = -1, y = -1;
    std::string align, colour, font, text;
};
// Whether `match` takes one of the log's lines, tried in order.
template <class Match>
bool AnyLine(const std::string& log, Match match) {
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream f(line);
        LogLine l;
        f >> l.x >> l.y >> l.align >> l.colour >> l.font;
        std::getline(f, l.text);
        if (!l.text.empty() && l.text[0] == ' ') l.text.erase(0, 1);
        if (match(l)) return true;
    }
    return false;
}

// Whether the log holds the text at (x, y), in that colour and font where they are given.
inline bool Logged(const std::string& log, int x, int y, const std::string& text,
                   const char* colour = nullptr, const char* font = nullptr) {
    return AnyLine(log, [&](const LogLine& l) {
        return l.x == x && l.y == y && l.text == text && (!colour || l.colour == colour) &&
               (!font || l.font == font);
    });
}
// Whether anything is drawn at (x, y).
inline bool AnythingAt(const std::string& log, int x, int y) {
    return AnyLine(log, [&](const LogLine& l) { return l.x == x && l.y == y; });
}
// "align colour font" of the text drawn at (x, y), "" when none was.
inline std::string Style(const std::string& log, int x, int y, const std::string& text) {
    std::string style;
    AnyLine(log, [&](const LogLine& l) {
        if (l.x == x && l.y == y && l.text == text) style = l.align + " " + l.colour + " " + l.font;
        return !style.empty();
    });
    return style;
}

// Texts of one font and colour anchored at one x on several rows form a column, which has one horizontal
// alignment: a painter that sets it once before a loop leaves every row after the first left-aligned.
// The columns with mixed alignments, a line each ("" when none).
inline std::string MixedColumns(const std::string& log) {
    std::map<std::string, std::pair<std::set<int>, std::set<int>>> columns;  // rows and alignments
    AnyLine(log, [&](const LogLine& l) {
        auto& [rows, aligns] = columns[std::to_string(l.x) + " " + l.colour + " " + l.font];
        rows.insert(l.y);
        aligns.insert(std::stoi(l.align) & 3);
        return false;
    });
    std::string out;
    for (const auto& [key, column] : columns)
        if (column.first.size() > 1 && column.second.size() > 1) out += "x " + key + "\n";
    return out;
}

// The pixels of a screen's box (inclusive), row by row.
inline std::vector<uint16_t> BoxPixels(const std::vector<uint16_t>& screen, int x0, int y0, int x1, int y1) {
    std::vector<uint16_t> out;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            out.push_back(screen[static_cast<size_t>(y) * 800 + x]);
    return out;
}

inline uint16_t Pixel(uint32_t rgb) {
    return static_cast<uint16_t>(Color2Index_565(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16)));
}

// Soft key `key`'s label of one, two or three lines is anchored at this y.
inline int KeyY(int key, int lines) {
    return 60 * key + (lines == 1 ? 31 : lines == 2 ? 23 : 16);
}

}  // namespace screentext
