// Constant bitmaps: the bitmap record drawn per visible window part, and the 16-bit RGB565 drawer that
// converts to the display's format where the formats differ.
#include "GUI/bitmap/gui_image.h"

#include "GUI/device/fb_driver.h"
#include "GUI/draw/gui_2d.h"

namespace {

uint16_t Pixel(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

void Draw565(LCD_CONVFUNC* conv, int x, int y, int xsize, int ysize, const uint8_t* data, int xmul,
             int ymul) {
    if (xsize <= 0 || ysize <= 0) return;
    const int stride = 2 * xsize;
    if (xmul == 1 && ymul == 1 && LCD_GetIndexToColorFunc(GUI_Context.selLayer) == conv) {
        LCD_Blit(x, y, xsize, ysize, 1, 1, 16, stride, data, nullptr);
        return;
    }
    const uint32_t fore = GUI_Context.colorIndex;
    const GUI_BOX& clip = GUI_Context.clipRect;
    if (xmul != 1 || ymul != 1) {
        for (int row = 0; row < ysize; ++row) {
            const int top = y + row * ymul;
            if (top + ymul - 1 < clip.y0 || top > clip.y1) continue;
            int last = -1;
            for (int col = 0; col < xsize; ++col) {
                const uint16_t v = Pixel(data + row * stride + 2 * col);
                if (v != last) LCD_SetForeIndex(LCD_ColorToIndex(conv(v)));
                last = v;
                LCD_FillBox(x + col * xmul, top, x + col * xmul + xmul - 1, top + ymul - 1);
            }
        }
        LCD_SetForeIndex(fore);
        return;
    }
    int x0 = x, y0 = y, x1 = x + xsize - 1, y1 = y + ysize - 1;
    if (y0 < clip.y0) {
        data += (clip.y0 - y0) * stride;
        y0 = clip.y0;
    }
    y1 = y1 < clip.y1 ? y1 : clip.y1;
    if (x0 < clip.x0) {
        data += 2 * (clip.x0 - x0);
        x0 = clip.x0;
    }
    x1 = x1 < clip.x1 ? x1 : clip.x1;
    if (x0 > x1 || y0 > y1) return;
    const GUI_LINE_WRITER& w = GUI_DeviceLineWriter;
    if (w.Begin(x0, y0, x1, y1) != 0) return;
    for (int row = 0; row <= y1 - y0; ++row) {
        if (row > 0) w.NextLine();
        for (int col = 0; col <= x1 - x0; ++col)
            w.WritePixel(LCD_ColorToIndex(conv(Pixel(data + row * stride + 2 * col))));
    }
    w.End();
}

}  // namespace

void GUI_DrawImage565(int x, int y, int xsize, int ysize, const uint8_t* data, const GUI_PALETTE*, int xmul,
                      int ymul) {
    Draw565(Index2Color_565, x, y, xsize, ysize, data, xmul, ymul);
}

const GUI_BITMAP_METHODS GUI_BitmapMethods565 = {GUI_DrawImage565, Index2Color_565, nullptr};

void GUI_DrawImage(const GUI_IMAGE* image, int x, int y) {
    if (image == nullptr) return;
    x += GUI_Context.xOff;
    y += GUI_Context.yOff;
    const GUI_BOX area = gui::ClampedBox(x, y, x + image->XSize - 1, y + image->YSize - 1);
    gui::ForEachVisible(&area, [&] {
        const GUI_PALETTE* pal = image->pPal;
        const uint8_t mode = GUI_Context.drawMode;
        LCD_SetPaintMode(pal != nullptr && pal->hasTransparency ? mode | LCD_DRAWMODE_TRANS
                                                                : mode & ~LCD_DRAWMODE_TRANS);
        if (image->pMethods != nullptr) {
            image->pMethods->Draw(x, y, image->XSize, image->YSize, image->pData, pal, 1, 1);
        } else {
            const uint32_t* table = LCD_GetPaletteIndexTable(pal);
            const uint32_t mono[2] = {GUI_Context.bkColorIndex, GUI_Context.colorIndex};
            if (table == nullptr && image->BitsPerPixel == 1) table = mono;
            LCD_Blit(x, y, image->XSize, image->YSize, 1, 1, image->BitsPerPixel, image->BytesPerLine,
                     image->pData, table);
        }
        LCD_SetPaintMode(mode);
    });
}
