#pragma once
// The fonts of the panel: one row each (name, kind, metrics, DejaVu face, code ranges). The glyphs are
// rendered at the largest pixel size whose printable ASCII glyphs fit Baseline above and YSize -
// Baseline below the baseline (the fonts without ASCII letters: all their glyphs).
#include <cstdint>
#include <utility>
#include <vector>

namespace fontgen {

enum class Kind { Prop, PropExt, Mono };

struct FontRow {
    const char* name;
    Kind kind;
    int ySize, yDist, baseline, lHeight, cHeight;
    const char* face;  // file under the DejaVu font folder
    std::vector<std::pair<int, int>> ranges;
    // Our own choices where the cell leaves the glyphs little room: a capital height for the small unit
    // faces beside a large value (0: the table's, when it gives a real one), and the glyph width in percent
    // of the face's own for the value and unit faces that must fit a cell's width.
    int capPx = 0;
    int widthPercent = 100;
};

inline const std::vector<FontRow>& Fonts() {
    static const std::vector<FontRow> rows = {
        {"Font10",
         Kind::Prop,
         10,
         10,
         9,
         6,
         8,
         "DejaVuSansCondensed.ttf",
         {{0x20, 0x7E}, {0xB0, 0xB5}, {0xF2, 0xF2}}},
        {"Font15a",
         Kind::Prop,
         15,
         15,
         12,
         6,
         8,
         "DejaVuSans.ttf",
         {{0x20, 0x7E}, {0xB0, 0xB5}, {0xF2, 0xF2}}},
        {"Font15b",
         Kind::Prop,
         15,
         15,
         12,
         6,
         9,
         "DejaVuSans.ttf",
         {{0x09, 0x09}, {0x0D, 0x0D}, {0x20, 0x7E}, {0xA0, 0xFF}}},
        {"Font16a",
         Kind::Prop,
         16,
         16,
         13,
         7,
         10,
         "DejaVuSansCondensed.ttf",
         {{0x20, 0x7E}, {0xB0, 0xB5}, {0xF2, 0xF2}}},
        {"Font16c",
         Kind::Prop,
         16,
         16,
         13,
         7,
         10,
         "DejaVuSans.ttf",
         {{0x20, 0x81}, {0xB0, 0xB5}, {0xF2, 0xF2}}},
        {"Font16d", Kind::Prop, 16, 16, 13, 7, 10, "DejaVuSans.ttf", {{0x20, 0x7E}, {0xA0, 0xFF}}},
        {"Font16e",
         Kind::Prop,
         16,
         16,
         12,
         7,
         10,
         "DejaVuSansCondensed.ttf",
         {{0x20, 0x7F}, {0xB0, 0xB5}, {0xF2, 0xF2}}},
        {"Font20a",
         Kind::Prop,
         20,
         20,
         16,
         7,
         10,
         "DejaVuSans.ttf",
         {{0x09, 0x09}, {0x20, 0x7E}, {0xB0, 0xB5}, {0xF2, 0xF2}}},
        {"Font20b",
         Kind::Prop,
         20,
         20,
         16,
         8,
         11,
         "DejaVuSans-Bold.ttf",
         {{0x20, 0x7E}, {0xB0, 0xB5}, {0xF2, 0xF2}}},
        {"Font22a",
         Kind::Prop,
         22,
         22,
         17,
         8,
         11,
         "DejaVuSans.ttf",
         {{0x20, 0x7E}, {0xB0, 0xB5}, {0xF2, 0xF2}}},
        {"Font22b",
         Kind::Prop,
         22,
         22,
         17,
         11,
         16,
         "DejaVuSans-Bold.ttf",
         {{0x20, 0x7E}, {0xB0, 0xB5}, {0xF2, 0xF2}}},
        {"Font24a",
         Kind::Prop,
         24,
         24,
         19,
         9,
         13,
         "DejaVuSansCondensed.ttf",
         {{0x20, 0x7E}, {0xB0, 0xB5}, {0xF2, 0xF2}}},
        {"Font24b",
         Kind::Prop,
         24,
         24,
         19,
         9,
         13,
         "DejaVuSans-Bold.ttf",
         {{0x20, 0x7E}, {0xAB, 0xAB}, {0xB0, 0xB5}, {0xBB, 0xBB}, {0xF0, 0xF2}}},
        {"Font27a",
         Kind::Prop,
         27,
         27,
         24,
         6,
         8,
         "DejaVuSansCondensed.ttf",
         {{0x20, 0x7A}, {0xB0, 0xB5}, {0xF2, 0xF2}},
         9,
         80},
        {"Font27b",
         Kind::Prop,
         27,
         27,
         25,
         24,
         24,
         "DejaVuSansCondensed-Bold.ttf",
         {{0x20, 0x26}, {0x28, 0x7E}, {0xB0, 0xB5}, {0xF2, 0xF2}}},
        {"Font28",
         Kind::Prop,
         28,
         28,
         22,
         11,
         15,
         "DejaVuSans.ttf",
         {{0x20, 0x7E}, {0xB0, 0xB5}, {0xF2, 0xF2}}},
        {"Font30x",
         Kind::PropExt,
         30,
         30,
         23,
         12,
         16,
         "DejaVuSansCondensed-Bold.ttf",
         {{0x20, 0x7E}, {0xA0, 0xBF}, {0xF2, 0xF2}}},
        {"Font36a",
         Kind::Prop,
         36,
         36,
         28,
         14,
         19,
         "DejaVuSansCondensed.ttf",
         {{0x20, 0x7E}, {0xB0, 0xB5}, {0xF2, 0xF2}}},
        {"Font36b",
         Kind::Prop,
         36,
         36,
         25,
         6,
         8,
         "DejaVuSansCondensed.ttf",
         {{0x20, 0x7E}, {0xB0, 0xB5}, {0xF2, 0xF2}},
         8,
         90},
        {"Font44a",
         Kind::Prop,
         44,
         44,
         41,
         6,
         8,
         "DejaVuSansCondensed.ttf",
         {{0x20, 0x7E}, {0xB0, 0xB5}, {0xF2, 0xF2}},
         9},
        {"Font44b",
         Kind::Prop,
         44,
         44,
         43,
         42,
         42,
         "DejaVuSansCondensed-Bold.ttf",
         {{0x20, 0x26}, {0x28, 0x7A}, {0xB0, 0xB5}, {0xF2, 0xF2}},
         0,
         72},
        {"Font45a",
         Kind::Prop,
         45,
         45,
         35,
         17,
         23,
         "DejaVuSans.ttf",
         {{0x20, 0x7E}, {0xB0, 0xB5}, {0xF2, 0xF2}}},
        {"Font45b",
         Kind::Prop,
         45,
         45,
         35,
         17,
         23,
         "DejaVuSans-Bold.ttf",
         {{0x20, 0x7E}, {0xB0, 0xB5}, {0xF2, 0xF2}}},
        {"Font160",
         Kind::Prop,
         160,
         160,
         126,
         63,
         84,
         "DejaVuSans-Bold.ttf",
         {{0x20, 0x20}, {0x31, 0x35}, {0x53, 0x53}, {0x61, 0x61}, {0x65, 0x65}, {0x6C, 0x6C}, {0x76, 0x76}}},
        {"FontMono6x8", Kind::Mono, 8, 8, 7, 5, 7, "DejaVuSansMono.ttf", {{0x20, 0x7E}, {0x90, 0xFF}}},
    };
    return rows;
}

// The code each byte shows: 0 for a blank glyph. B0-B5 and F2 are instrument signs in every font; 7F-81
// and F0-F1 are our marks (up, down and right triangles; up and down arrows).
inline uint32_t Unicode(int code) {
    switch (code) {
        case 0x09:
        case 0x0D:
            return 0;
        case 0x7F:
            return 0x25B2;
        case 0x80:
            return 0x25BC;
        case 0x81:
            return 0x25B6;
        case 0xB2:
            return 0x2192;
        case 0xB3:
            return 0x2190;
        case 0xB4:
            return 0x03BC;
        case 0xB5:
            return 0x03A9;
        case 0xF0:
            return 0x2191;
        case 0xF1:
            return 0x2193;
        case 0xF2:
            return 0x2220;
        default:
            return static_cast<uint32_t>(code);
    }
}

}  // namespace fontgen
