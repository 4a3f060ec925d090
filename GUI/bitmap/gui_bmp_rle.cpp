// Run-length BMP data (RLE8 and RLE4), drawn from the bottom row up. Runs, deltas and absolute runs
// are cut at the image's right edge and nothing is drawn above its top row; pixels a line end or the
// bitmap end skip, and the rectangle a delta spans, take palette colour 0.
#include <algorithm>

#include "GUI/bitmap/gui_bmp.h"

namespace gui {

namespace {

class RleDecoder {
  public:
    RleDecoder(const BmpSource& src, const BmpHeader& h, const uint32_t* palette, int x0, int y0)
        : src_(src),
          palette_(palette),
          rle4_(h.compression == 2),
          left_(x0),
          right_(x0 + h.width - 1),
          top_(y0),
          x_(x0),
          y_(y0 + h.height - 1),
          offset_(h.paletteOffset + 4 * h.paletteSize) {}

    int Run() {
        const uint32_t fore = GUI_Context.colorIndex;
        const int result = Decode();
        LCD_SetForeIndex(fore);
        return result;
    }

  private:
    const uint8_t* Next(int n) {
        const uint8_t* p = src_.Read(offset_, n);
        offset_ += static_cast<uint64_t>(n);
        return p;
    }

    void Span(int x0, int x1, int y, uint32_t index) {
        if (x1 > right_) x1 = right_;
        if (x0 > x1 || y < top_) return;
        LCD_SetForeIndex(index);
        LCD_HLine(x0, y, x1);
    }

    // Colour 0 from the cursor to the end of its row and over every row up to (not including) row y.
    void FillUpTo(int y) {
        for (; y_ > y && y_ >= top_; --y_, x_ = left_)
            Span(x_, right_, y_, palette_[0]);
    }

    int Decode() {
        for (;;) {
            if (y_ < top_) return 0;  // every row is done
            const uint8_t* p = Next(2);
            if (p == nullptr) return 1;
            const int count = p[0], value = p[1];
            if (count > 0) {
                Repeat(count, value);
                continue;
            }
            switch (value) {
                case 0:  // end of line
                    FillUpTo(y_ - 1);
                    break;
                case 1:  // end of bitmap
                    FillUpTo(top_ - 1);
                    return 0;
                case 2: {  // delta
                    const uint8_t* d = Next(2);
                    if (d == nullptr) return 1;
                    const int tx = std::min(x_ + d[0], right_ + 1), ty = y_ - d[1];
                    if (ty < top_) return 1;  // past the top row: out of rows
                    // The rectangle from the cursor to its new place, both corners included; the
                    // skipped pixels beside it keep what the screen shows.
                    for (int y = y_; y >= ty; --y)
                        Span(x_, x_ + d[0], y, palette_[0]);
                    x_ = tx;
                    y_ = ty;
                    break;
                }
                default:
                    if (Absolute(value) != 0) return 1;
            }
        }
    }

    void Repeat(int count, int value) {
        if (!rle4_ || (value >> 4) == (value & 15)) {
            Span(x_, x_ + count - 1, y_, palette_[rle4_ ? value & 15 : value]);
        } else {
            for (int i = 0; i < count && x_ + i <= right_; ++i)
                Span(x_ + i, x_ + i, y_, palette_[i % 2 == 0 ? value >> 4 : value & 15]);
        }
        Advance(count);
    }

    // The cursor never runs further than one past the row's end.
    void Advance(int n) { x_ = std::min(x_ + n, right_ + 1); }

    int Absolute(int n) {
        const int bytes = rle4_ ? (n + 1) / 2 : n;
        const uint8_t* p = Next(bytes + (bytes % 2));
        if (p == nullptr) return 1;
        const int visible = x_ + n - 1 <= right_ ? n : right_ - x_ + 1;
        if (visible > 0 && y_ >= top_) LCD_Blit(x_, y_, visible, 1, 1, 1, rle4_ ? 4 : 8, bytes, p, palette_);
        Advance(n);
        return 0;
    }

    const BmpSource& src_;
    const uint32_t* palette_;
    bool rle4_;
    int left_, right_, top_;
    int x_, y_;
    uint64_t offset_;
};

}  // namespace

int DrawBmpRle(const BmpSource& src, const BmpHeader& h, const uint32_t* palette, int x0, int y0) {
    return RleDecoder(src, h, palette, x0, y0).Run();
}

}  // namespace gui
