// Renders the panel's fonts from DejaVu into constant C++ data: one <Font>.cpp per face, cell and size
// (fonts that differ only in their code ranges share a file and its glyphs) and the header fonts.h,
// written into the output folder.
//   vrn-fontgen <DejaVu font folder> <output folder>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "scripts/fontgen/font_table.h"

namespace {

using fontgen::FontRow;
using fontgen::Kind;

// One rendered glyph: its ink as rows of bits, where it sits and how far it advances.
struct Glyph {
    bool present = false;
    int width = 0, rows = 0, left = 0, top = 0, advance = 0;
    std::vector<uint8_t> ink;  // rows x width, 0/1
};

struct Faces {
    FT_Library lib = nullptr;
    FT_Face main = nullptr;
    FT_Face fallback = nullptr;  // for signs the main face lacks
};

Glyph Render(Faces& f, uint32_t code) {
    Glyph g;
    FT_Face face = f.main;
    if (code != 0 && FT_Get_Char_Index(face, code) == 0) face = f.fallback;
    if (code != 0 && FT_Get_Char_Index(face, code) == 0) return g;
    const uint32_t shown = code == 0 ? 0x20 : code;
    if (FT_Load_Char(face, shown, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0) return g;
    const FT_GlyphSlot s = face->glyph;
    g.present = true;
    g.advance = static_cast<int>((s->advance.x + 32) >> 6);
    if (code == 0) return g;  // blank: the advance of a space
    g.width = static_cast<int>(s->bitmap.width);
    g.rows = static_cast<int>(s->bitmap.rows);
    g.left = s->bitmap_left;
    g.top = s->bitmap_top;
    g.ink.resize(static_cast<size_t>(g.width) * g.rows);
    for (int y = 0; y < g.rows; ++y)
        for (int x = 0; x < g.width; ++x)
            g.ink[static_cast<size_t>(y) * g.width + x] =
                (s->bitmap.buffer[y * s->bitmap.pitch + x / 8] >> (7 - x % 8)) & 1;
    return g;
}

std::vector<int> Codes(const FontRow& row) {
    std::vector<int> codes;
    for (const auto& [first, last] : row.ranges)
        for (int c = first; c <= last; ++c)
            codes.push_back(c);
    return codes;
}

void SetSize(Faces& f, int px, int widthPercent) {
    const auto width = static_cast<FT_UInt>(px * widthPercent / 100);
    FT_Set_Pixel_Sizes(f.main, width, static_cast<FT_UInt>(px));
    FT_Set_Pixel_Sizes(f.fallback, width, static_cast<FT_UInt>(px));
}

// The largest pixel size whose measured glyphs fit the cell around the baseline (and, monospaced, the
// cell's width), with capitals no taller than the font's capital height. A cell with less than a fifth
// of its height below the baseline has no room for descenders: only the ascent is measured and
// descenders are cut.
int FitSize(Faces& f, const FontRow& row, const std::vector<int>& codes, int maxAdvance = 255) {
    std::vector<int> measured;
    for (int c : codes)
        if (c >= 0x20 && c <= 0x7E) measured.push_back(c);
    if (measured.size() < 20) measured = codes;
    const int below = row.ySize - row.baseline;
    const bool descenders = below * 5 >= row.ySize;
    // Capitals no taller than CHeight where the table gives a real capital height, or than our own.
    const int capHeight = row.capPx > 0 ? row.capPx
                          : row.cHeight * 3 >= row.ySize && row.kind != Kind::Mono ? row.cHeight
                                                                                    : 0;
    for (int px = row.ySize * 2; px > 4; --px) {
        SetSize(f, px, row.widthPercent);
        bool fits = true;
        for (size_t i = 0; i < measured.size() && fits; ++i) {
            const Glyph g = Render(f, fontgen::Unicode(measured[i]));
            fits = g.advance <= maxAdvance;
            if (g.rows > 0) fits = fits && g.top <= row.baseline && (!descenders || g.rows - g.top <= below);
        }
        if (fits && capHeight > 0) fits = Render(f, 'H').rows <= capHeight;
        if (fits) return px;
    }
    return 4;
}

// The glyph's ink copied into a box of w x h pixels whose top-left is (bx, by) relative to the glyph's
// origin on the baseline (ink outside the box is cut), as rows of (w + 7) / 8 bytes.
std::vector<uint8_t> Pack(const Glyph& g, int bx, int by, int w, int h) {
    const int bpl = (w + 7) / 8;
    std::vector<uint8_t> out(static_cast<size_t>(bpl) * h);
    for (int y = 0; y < g.rows; ++y)
        for (int x = 0; x < g.width; ++x) {
            const int px = g.left + x - bx, py = -g.top + y - by;
            if (g.ink[static_cast<size_t>(y) * g.width + x] && px >= 0 && px < w && py >= 0 && py < h)
                out[static_cast<size_t>(py) * bpl + px / 8] |= static_cast<uint8_t>(0x80 >> (px % 8));
        }
    return out;
}

class Writer {
  public:
    void Bytes(const std::vector<uint8_t>& b) {
        for (uint8_t v : b) {
            if (count_ % 16 == 0)
                data_ << (count_ ? "\n    " : "    ");
            else
                data_ << ' ';
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%02X,", v);
            data_ << hex;
            ++count_;
        }
    }
    int Offset() const { return count_; }
    std::string Data() const { return data_.str(); }

  private:
    std::ostringstream data_;
    int count_ = 0;
};

// Ranges of consecutive codes, as the font record lists them.
std::vector<std::pair<int, int>> Runs(const std::vector<int>& codes) {
    std::vector<std::pair<int, int>> runs;
    for (int c : codes) {
        if (!runs.empty() && runs.back().second + 1 == c)
            runs.back().second = c;
        else
            runs.push_back({c, c});
    }
    return runs;
}

std::string Hex(int v) {
    char b[16];
    std::snprintf(b, sizeof b, "0x%02X", v);
    return b;
}

// The proportional fonts of one file, all of one face, cell and rendered size: each glyph of any of them
// is stored once, in record arrays over the runs of all their codes, and a font's code ranges point into
// those arrays.
std::string PropFonts(Faces& f, const std::vector<const FontRow*>& rows) {
    const FontRow& first = *rows[0];
    const bool ext = first.kind == Kind::PropExt;
    std::vector<int> all;
    for (const FontRow* row : rows)
        for (int c : Codes(*row))
            all.push_back(c);
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    const auto shared = Runs(all);

    Writer bits;
    std::ostringstream info;
    for (size_t r = 0; r < shared.size(); ++r) {
        info << "const " << (ext ? "GUI_CHARINFO_EXT" : "GUI_CHARINFO") << " kInfo" << r << "[] = {\n";
        for (int c = shared[r].first; c <= shared[r].second; ++c) {
            const Glyph g = Render(f, fontgen::Unicode(c));
            if (!g.present) throw std::runtime_error(std::string(first.name) + ": no glyph for " + Hex(c));
            const int offset = bits.Offset();
            if (ext) {
                const int w = g.width, h = std::min(g.rows, first.ySize);
                const int yPos = std::max(0, first.baseline - g.top);
                bits.Bytes(Pack(g, g.left, yPos - first.baseline, w, h));
                info << "    {" << w << ", " << h << ", " << g.left << ", " << yPos << ", " << g.advance
                     << ", kBits + " << offset << "},  // " << Hex(c) << "\n";
            } else {
                const int x0 = std::max(0, g.left);
                const int w = std::max(g.advance, x0 + g.width);
                bits.Bytes(Pack(g, 0, -first.baseline, w, first.ySize));
                info << "    {" << w << ", " << g.advance << ", " << (w + 7) / 8 << ", kBits + " << offset
                     << "},  // " << Hex(c) << "\n";
            }
        }
        info << "};\n";
    }

    const char* range = ext ? "GUI_FONT_PROP_EXT" : "GUI_FONT_PROP";
    const char* k = ext ? "PropExtFont" : "PropFont";
    std::ostringstream ranges, defs;
    for (const FontRow* row : rows) {
        const std::string name = rows.size() > 1 ? std::string("k") + row->name + "Range" : "kRange";
        const auto runs = Runs(Codes(*row));
        ranges << "\n";
        for (size_t r = runs.size(); r-- > 0;) {
            size_t s = 0;
            while (shared[s].second < runs[r].first)
                ++s;
            const int skip = runs[r].first - shared[s].first;
            ranges << "const " << range << " " << name << r << " = {" << Hex(runs[r].first) << ", "
                   << Hex(runs[r].second) << ", kInfo" << s << (skip ? " + " + std::to_string(skip) : "")
                   << ", " << (r + 1 < runs.size() ? "&" + name + std::to_string(r + 1) : "nullptr")
                   << "};\n";
        }
        defs << "const GUI_FONTDEF " << row->name << " = {" << k << "_DrawChar, " << k << "_Advance, " << k
             << "_Info, " << k << "_HasChar, "
             << (ext ? "PropExtFont_GlyphInfo, &PropExtFont_LineOps" : "nullptr, nullptr") << ", "
             << row->ySize << ", " << row->yDist << ", 1, 1, &" << name << "0, " << row->baseline << ", "
             << row->lHeight << ", " << row->cHeight << "};\n";
    }
    std::ostringstream out;
    out << "const uint8_t kBits[] = {\n"
        << bits.Data() << "\n};\n\n"
        << info.str() << ranges.str() << "\n}  // namespace\n\n"
        << defs.str();
    return out.str();
}

std::string MonoFont(Faces& f, const FontRow& row) {
    const int xSize = 6;
    const auto& main = row.ranges[0];
    const auto& composed = row.ranges[1];
    std::vector<int> ascii;
    for (int c = main.first; c <= main.second; ++c)
        ascii.push_back(c);
    SetSize(f, FitSize(f, row, ascii, xSize), row.widthPercent);
    Writer bits, trans;
    for (int c = main.first; c <= main.second; ++c) {
        const Glyph g = Render(f, fontgen::Unicode(c));
        bits.Bytes(Pack(g, g.left > 0 && g.left + g.width > xSize ? g.left + g.width - xSize : 0,
                        -row.baseline, xSize, row.ySize));
    }
    std::ostringstream list;
    int n = 0;
    for (int c = composed.first; c <= composed.second; ++c) {
        const Glyph g = c >= 0xA1 ? Render(f, fontgen::Unicode(c)) : Glyph{};
        if (!g.present || g.rows == 0) {
            list << "    {-1, -1},  // " << Hex(c) << "\n";
            continue;
        }
        trans.Bytes(Pack(g, g.left > 0 && g.left + g.width > xSize ? g.left + g.width - xSize : 0,
                         -row.baseline, xSize, row.ySize));
        list << "    {" << n++ << ", -1},  // " << Hex(c) << "\n";
    }
    std::ostringstream out;
    out << "const uint8_t kBits[] = {\n"
        << bits.Data() << "\n};\n\nconst uint8_t kComposed[] = {\n"
        << trans.Data() << "\n};\n\nconst GUI_FONT_TRANSLIST kList[] = {\n"
        << list.str() << "};\n\n"
        << "const GUI_FONT_TRANSINFO kTrans = {" << Hex(composed.first) << ", " << Hex(composed.second)
        << ", kList};\n\n"
        << "const GUI_FONT_MONO kMono = {kBits, kComposed, &kTrans, " << Hex(main.first) << ", "
        << Hex(main.second) << ", " << xSize << ", " << xSize << ", 1};\n\n}  // namespace\n\n";
    // The two monospaced records share the glyphs; the second has a line distance of 9.
    for (int yDist : {8, 9})
        out << "const GUI_FONTDEF FontMono6x" << yDist
            << " = {MonoFont_DrawChar, MonoFont_Advance, MonoFont_Info, "
            << "MonoFont_HasChar, nullptr, nullptr, " << row.ySize << ", " << yDist << ", 1, 1, &kMono, "
            << row.baseline << ", " << row.lHeight << ", " << row.cHeight << "};\n";
    return out.str();
}

bool WriteFile(const std::string& path, const std::string& text) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << text;
    return static_cast<bool>(f);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: vrn-fontgen FONTDIR OUTDIR\n");
        return 2;
    }
    const std::string fontDir = argv[1], outDir = argv[2];
    const char* head =
        "// Generated by scripts/gen-fonts.sh from the DejaVu fonts (licence: LICENSE-DejaVu.txt); do not "
        "edit.\n";
    Faces f;
    if (FT_Init_FreeType(&f.lib) != 0) return 1;
    if (FT_New_Face(f.lib, (fontDir + "/DejaVuSans.ttf").c_str(), 0, &f.fallback) != 0) {
        std::fprintf(stderr, "vrn-fontgen: no DejaVuSans.ttf in %s\n", fontDir.c_str());
        return 1;
    }
    std::ostringstream header;
    header << "#pragma once\n" << head << "// The panel's fonts.\n#include \"GUI/text/gui_font.h\"\n\n";
    try {
        // Fonts of one face rendered into the same cell at the same size go into one file, named after
        // the first of them, and share their glyphs.
        struct Family {
            std::string key;
            int px = 0;
            std::vector<const FontRow*> rows;
        };
        std::vector<Family> families;
        for (const FontRow& row : fontgen::Fonts()) {
            if (FT_New_Face(f.lib, (fontDir + "/" + row.face).c_str(), 0, &f.main) != 0) {
                std::fprintf(stderr, "vrn-fontgen: cannot open %s\n", row.face);
                return 1;
            }
            const int px = row.kind == Kind::Mono ? 0 : FitSize(f, row, Codes(row));
            FT_Done_Face(f.main);
            const std::string key = row.kind == Kind::Mono
                                        ? std::string(row.name)
                                        : std::string(row.face) + "/" +
                                              std::to_string(static_cast<int>(row.kind)) + "/" +
                                              std::to_string(row.ySize) + "/" + std::to_string(row.baseline) +
                                              "/" + std::to_string(px) + "/" +
                                              std::to_string(row.widthPercent);
            auto same =
                std::find_if(families.begin(), families.end(), [&](const Family& x) { return x.key == key; });
            if (same == families.end()) same = families.insert(families.end(), Family{key, px, {}});
            same->rows.push_back(&row);
        }
        for (const Family& family : families) {
            const FontRow& first = *family.rows[0];
            if (FT_New_Face(f.lib, (fontDir + "/" + first.face).c_str(), 0, &f.main) != 0) return 1;
            std::ostringstream src;
            src << head << "#include \"GUI/Fonts/fonts.h\"\n\nnamespace {\n\n";
            if (first.kind == Kind::Mono) {
                src << MonoFont(f, first);
            } else {
                SetSize(f, family.px, first.widthPercent);
                src << PropFonts(f, family.rows);
            }
            FT_Done_Face(f.main);
            if (!WriteFile(outDir + "/" + first.name + ".cpp", src.str())) return 1;
            for (const FontRow* row : family.rows) {
                if (row->kind == Kind::Mono)
                    header
                        << "extern const GUI_FONTDEF FontMono6x8;\nextern const GUI_FONTDEF FontMono6x9;\n";
                else
                    header << "extern const GUI_FONTDEF " << row->name << ";\n";
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vrn-fontgen: %s\n", e.what());
        return 1;
    }
    return WriteFile(outDir + "/fonts.h", header.str()) ? 0 : 1;
}
