// Reading the display back: rectangles of indices packed by the layer's depth, and the alpha blending
// of a line of colours over what the display shows.
#include <algorithm>
#include <cstring>
#include <vector>

#include "GUI/device/gui_devfunc.h"
#include "GUI/device/gui_pixels.h"

namespace {

GUI_DEV* FirstOfClass(GUI_DEV* dev, bool memoryToo) {
    for (; dev != nullptr; dev = dev->next)
        if (dev->api->devClass == kGuiDevClassDriver ||
            (memoryToo && dev->api->devClass == kGuiDevClassMemory))
            return dev;
    return nullptr;
}

GUI_DEV* Chain(GUI_DEV* device) {
    return device != nullptr ? device : GUI_Context.apDevice[0];
}

}  // namespace

void LCD_ReadBoxDevice(int x0, int y0, int x1, int y1, void* buffer, GUI_DEV* device) {
    if (device == nullptr || x0 > x1 || y0 > y1) return;
    auto* copy = reinterpret_cast<gui::DevFuncCopyRect*>(gui::GetDevFunc(device, 1));
    if (copy != nullptr) {
        copy(device, x0, y0, x1, y1, static_cast<uint16_t*>(buffer));
        return;
    }
    const int bpp = LCD_GetBitDepth();
    auto* out = static_cast<uint8_t*>(buffer);
    long bit = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const uint32_t v = device->api->GetPixelIndex(device, x, y);
            if (bpp <= 8) {
                const int shift = 8 - bpp - static_cast<int>(bit % 8);
                if (shift == 8 - bpp) out[bit / 8] = 0;
                out[bit / 8] |= static_cast<uint8_t>((v & ((1u << bpp) - 1)) << shift);
                bit += bpp;
            } else if (bpp <= 16) {
                const auto p = static_cast<uint16_t>(v);
                std::memcpy(out, &p, 2);
                out += 2;
            } else {
                std::memcpy(out, &v, 4);
                out += 4;
            }
        }
}

void LCD_ReadBox(int x0, int y0, int x1, int y1, void* buffer, GUI_DEV* device) {
    const GUI_BOX& c = GUI_Context.clipRect;
    LCD_ReadBoxDevice(std::max<int>(x0, c.x0), std::max<int>(y0, c.y0), std::min<int>(x1, c.x1),
                      std::min<int>(y1, c.y1), buffer, FirstOfClass(Chain(device), true));
}

void GUI_ReadBoxIndices(int x0, int y0, int x1, int y1, void* buffer, GUI_DEV* device) {
    const GUI_BOX& c = GUI_Context.clipRect;
    const int w = std::min<int>(x1, c.x1) - std::max<int>(x0, c.x0) + 1;
    const int h = std::min<int>(y1, c.y1) - std::max<int>(y0, c.y0) + 1;
    if (w <= 0 || h <= 0) return;
    LCD_ReadBox(x0, y0, x1, y1, buffer, device);
    GUI_ExpandIndices(buffer, w * h, LCD_GetBitDepth());
}

// The three line buffers live as long as the process (like the palette table), so a new graphics pool
// never leaves them dangling.
const uint32_t* GUI_BlendAlphaLine(int x, int y, const uint32_t* pixels, int n, const GUI_COLORCONV* conv,
                                   int* written) {
    static std::vector<uint32_t> line, back, indices;
    const auto size = static_cast<size_t>(std::max<int32_t>(LCD_GetVirtualWidthMax(), 1));
    if (line.size() != size) {
        line.assign(size, 0);
        back.assign(size, 0);
        indices.assign(size, 0);
    }
    n = std::clamp<int>(n, 0, static_cast<int>(size));
    int any = 0;
    bool backRead = false;
    for (int i = 0; i < n; ++i) {
        const uint32_t c = conv != nullptr ? conv->Index2Color(pixels[i]) : pixels[i];
        const uint32_t t = c >> 24;
        if (t != 0 && !backRead) {
            backRead = true;
            std::fill(back.begin() + i, back.begin() + n, 0u);
            const int from = std::max<int>(x + i, GUI_Context.clipRect.x0);
            const int count = x + n - from;
            if (count > 0) {
                for (int k = 0; k < count; ++k)
                    indices[k] = LCD_ReadPixelIndex(from + k, y);
                for (int k = 0; k < count; ++k)
                    back[from - x + k] = LCD_IndexToColor(indices[k]);
            }
        }
        if (t == 0)
            line[i] = c;
        else if (t == 255)
            line[i] = back[i];
        else
            line[i] = LCD_BlendColors(c & 0xFFFFFF, back[i], 255 - t);
        any |= t != 255;
    }
    if (written != nullptr) *written = any;
    return line.data();
}
