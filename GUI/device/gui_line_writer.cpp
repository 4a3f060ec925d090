// The two line writers: a buffer of display indices for one row (as long as the heap allows), flushed
// as a one-row bitmap at the current x whenever it is full and at each line end. The buffer stays locked
// from begin to end (a locked block never moves).
#include <cstring>

#include "GUI/bitmap/gui_image.h"

namespace {

struct WriterState {
    GUI_HBLOCK buffer = 0;
    uint8_t* data = nullptr;
    int x0 = 0, x = 0, y = 0, step = 1;
    int bytesPerPixel = 2, capacity = 0, count = 0;
    bool device = false;
};
WriterState g_w;

int BytesPerPixel() {
    const int bpp = LCD_GetBitDepth();
    return bpp <= 8 ? 1 : bpp <= 16 ? 2 : 4;
}

void Flush() {
    if (g_w.count == 0 || g_w.data == nullptr) return;
    const int bits = g_w.bytesPerPixel * 8;
    const int bytes = g_w.count * g_w.bytesPerPixel;
    GUI_DEV* dev = GUI_Context.apDevice[0];
    if (!g_w.device)
        LCD_Blit(g_w.x, g_w.y, g_w.count, 1, 1, 1, bits, bytes, g_w.data, nullptr);
    else if (dev != nullptr)
        dev->api->DrawBitmap(dev, g_w.x, g_w.y, g_w.count, 1, bits, bytes, g_w.data, 0, nullptr);
    g_w.x += g_w.count;
    g_w.count = 0;
}

// The buffer shrinks by halves until the heap holds it.
int Begin(int x0, int x1, int y, int step, bool device) {
    g_w = WriterState{};
    g_w.bytesPerPixel = BytesPerPixel();
    for (int pixels = x1 - x0 + 1; pixels > 0 && g_w.buffer == 0; pixels /= 2) {
        g_w.buffer = GUI_ALLOC_NewBlock(static_cast<uint32_t>(pixels * g_w.bytesPerPixel));
        g_w.capacity = pixels;
    }
    if (g_w.buffer == 0) return 1;
    g_w.data = static_cast<uint8_t*>(GUI_ALLOC_LockBlock(g_w.buffer));
    if (g_w.data == nullptr) {
        GUI_ALLOC_ReleaseBlock(g_w.buffer);
        g_w.buffer = 0;
        return 1;
    }
    g_w.x0 = g_w.x = x0;
    g_w.y = y;
    g_w.step = step;
    g_w.device = device;
    return 0;
}

void WritePixel(uint32_t index) {
    if (g_w.data == nullptr) return;
    uint8_t* p = g_w.data + g_w.count * g_w.bytesPerPixel;
    if (g_w.bytesPerPixel == 1)
        *p = static_cast<uint8_t>(index);
    else if (g_w.bytesPerPixel == 2)
        std::memcpy(p, &index, 2);  // little-endian host: the low half
    else
        std::memcpy(p, &index, 4);
    if (++g_w.count == g_w.capacity) Flush();
}

void NextLine() {
    Flush();
    g_w.x = g_w.x0;
    g_w.y += g_w.step;
}

void End() {
    if (g_w.data == nullptr) return;
    Flush();
    GUI_ALLOC_UnlockBlock(&g_w.data);
    GUI_ALLOC_ReleaseBlock(g_w.buffer);
    g_w = WriterState{};
}

int BeginBmp(int x0, int, int x1, int y1) {
    return Begin(x0, x1, y1, -1, false);
}

int BeginDevice(int x0, int y0, int x1, int) {
    return Begin(x0, x1, y0, 1, true);
}

}  // namespace

const GUI_LINE_WRITER GUI_BmpLineWriter = {BeginBmp, WritePixel, NextLine, End};
const GUI_LINE_WRITER GUI_DeviceLineWriter = {BeginDevice, WritePixel, NextLine, End};
