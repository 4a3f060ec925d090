// The framebuffer driver's device operations, properties and device functions.
#include "GUI/device/fb_driver.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

#include "GUI/device/gui_devfunc.h"

namespace {

FbDriverContext* Ctx(GUI_DEV* dev) {
    return static_cast<FbDriverContext*>(dev->data);
}

uint16_t* Row(const FbDriverContext* c, int y) {
    return c->vram + static_cast<std::ptrdiff_t>(y) * c->lineLength;
}

int Control(GUI_DEV* dev, int command, void* data) {
    return LCD_DriverControl(dev->layer, command, data);
}

// Two pixels share one aligned 32-bit word (the left one in the low half).
typedef uint32_t __attribute__((may_alias)) FbWord;

// One row of w pixels from p: a leading pixel alone up to a word boundary, then whole words in blocks of
// 8 (16 pixels), then the words left, then a trailing pixel alone. XOR mode inverts instead of storing.
template <bool Xor>
void FillRow(uint16_t* p, int w, uint16_t value) {
    auto half = [](uint16_t* at, uint16_t v) { *at = Xor ? static_cast<uint16_t>(*at ^ v) : v; };
    if (w > 0 && (reinterpret_cast<uintptr_t>(p) & 2) != 0) {
        half(p++, value);
        --w;
    }
    auto* q = reinterpret_cast<FbWord*>(p);
    const FbWord word = value * 0x10001u;
    for (; w >= 16; w -= 16, q += 8) {
        for (int k = 0; k < 8; ++k)
            q[k] = Xor ? q[k] ^ word : word;
    }
    for (; w >= 2; w -= 2, ++q)
        *q = Xor ? *q ^ word : word;
    if (w == 1) half(reinterpret_cast<uint16_t*>(q), value);
}

void FillRect(GUI_DEV* dev, int x0, int y0, int x1, int y1) {
    FbDriverContext* c = Ctx(dev);
    if (c->fillHook != nullptr) {
        c->fillHook(dev->layer, x0, y0, x1, y1, GUI_Context.colorIndex);
        return;
    }
    const int w = x1 - x0 + 1;
    if (GUI_Context.drawMode & LCD_DRAWMODE_XOR) {
        const auto mask = static_cast<uint16_t>(FbIndexMask(dev));
        for (int y = y0; y <= y1; ++y)
            FillRow<true>(Row(c, y) + x0, w, mask);
        return;
    }
    const auto index = static_cast<uint16_t>(GUI_Context.colorIndex);
    for (int y = y0; y <= y1; ++y)
        FillRow<false>(Row(c, y) + x0, w, index);
}

void DrawHLine(GUI_DEV* dev, int x0, int y, int x1) {
    FillRect(dev, x0, y, x1, y);
}

void DrawVLine(GUI_DEV* dev, int x, int y0, int y1) {
    FillRect(dev, x, y0, x, y1);
}

void DrawBitmap(GUI_DEV* dev, int x, int y, int xsize, int ysize, int bitsPerPixel, int bytesPerLine,
                const uint8_t* data, int bitOffset, const uint32_t* translation) {
    for (int r = 0; r < ysize; ++r, data += bytesPerLine)
        FbDrawBitmapRow(dev, x, y + r, data, bitOffset, xsize, bitsPerPixel, translation);
}

uint32_t GetPixelIndex(GUI_DEV* dev, int x, int y) {
    return Row(Ctx(dev), y)[x];
}

void SetPixelIndex(GUI_DEV* dev, int x, int y, uint32_t index) {
    Row(Ctx(dev), y)[x] = static_cast<uint16_t>(index);
}

void XorPixel(GUI_DEV* dev, int x, int y) {
    Row(Ctx(dev), y)[x] ^= static_cast<uint16_t>(FbIndexMask(dev));
}

void SetOrg(GUI_DEV* dev, int x, int y) {
    FbDriverContext* c = FbContext(dev);
    if (c == nullptr) return;
    const int32_t layer = dev->layer;
    const bool swapped = LCD_IsSwappedXYEx(layer) != 0;
    if (swapped) std::swap(x, y);
    const int32_t spareX = c->vxSize - c->xSize, spareY = c->vySize - c->ySize;
    if (LCD_IsMirroredXEx(layer)) x = (swapped ? spareY : spareX) - x;
    if (LCD_IsMirroredYEx(layer)) y = (swapped ? spareX : spareY) - y;
    int32_t words[2] = {x, y};
    Control(dev, 3, words);
}

int32_t GetDevProp(GUI_DEV* dev, int index) {
    const FbDriverContext* c = FbContext(dev);
    switch (index) {
        case 1:
            return c != nullptr ? c->xSize : 0;
        case 2:
            return c != nullptr ? c->ySize : 0;
        case 3:
            return c != nullptr ? c->vxSize : 0;
        case 4:
            return c != nullptr ? c->vySize : 0;
        case 8:
            return 16;
        case 9:
            return 0;
        case 10:
        case 11:
            return 1;
        case 12:
        case 13:
        case 14:
            return 0;
        default:
            return -1;
    }
}

void* GetDevData(GUI_DEV*, int) {
    return nullptr;
}

void GetRect(GUI_DEV* dev, GUI_BOX* rect) {
    const FbDriverContext* c = FbContext(dev);
    const int32_t vx = c != nullptr ? c->vxSize : 0, vy = c != nullptr ? c->vySize : 0;
    *rect = {0, 0, static_cast<int16_t>(vx - 1), static_cast<int16_t>(vy - 1)};
}

// Device functions.

void CopyRect(GUI_DEV* dev, int x0, int y0, int x1, int y1, uint16_t* buffer) {
    const FbDriverContext* c = Ctx(dev);
    for (int y = y0; y <= y1; ++y, buffer += x1 - x0 + 1)
        std::memcpy(buffer, Row(c, y) + x0, sizeof(uint16_t) * (x1 - x0 + 1));
}

void SetValue2(GUI_DEV* dev, int32_t value) {
    if (FbDriverContext* c = FbContext(dev)) {
        c->value2 = static_cast<uint32_t>(value);
        Control(dev, 10, &value);
    }
}

void SetPair(GUI_DEV* dev, int32_t first, int32_t second) {
    if (FbDriverContext* c = FbContext(dev)) {
        c->pair[0] = first;
        c->pair[1] = second;
        Control(dev, 8, c->pair);
    }
}

void GetPair(GUI_DEV* dev, int32_t* first, int32_t* second) {
    if (const FbDriverContext* c = FbContext(dev)) {
        *first = c->pair[0];
        *second = c->pair[1];
    }
}

void SetValue6(GUI_DEV* dev, int32_t value) {
    if (FbDriverContext* c = FbContext(dev)) {
        c->value6 = static_cast<uint32_t>(value);
        Control(dev, 9, &value);
    }
}

// Only the framebuffer's own mapping has a known end; the buffer copy stays inside it.
void SetVram(GUI_DEV* dev, void* address) {
    if (FbDriverContext* c = FbContext(dev)) {
        c->baseVram = c->vram = static_cast<uint16_t*>(address);
        c->vramBytes =
            address != nullptr && address == LCD_MappedFramebuffer() ? LCD_MappedFramebufferBytes() : 0;
        Control(dev, 2, &address);
    }
}

void SetVSize(GUI_DEV* dev, int32_t x, int32_t y) {
    if (FbDriverContext* c = FbContext(dev)) {
        c->vxSize = x;
        c->vySize = y;
        c->lineLength = LCD_IsSwappedXYEx(dev->layer) ? y : x;
    }
}

void SetSize(GUI_DEV* dev, int32_t x, int32_t y) {
    if (FbDriverContext* c = FbContext(dev)) {
        if (c->lineLength == 0) c->lineLength = LCD_IsSwappedXYEx(dev->layer) ? y : x;
        c->xSize = x;
        c->ySize = y;
        int32_t words[2] = {x, y};
        Control(dev, 7, words);
    }
}

int Init(GUI_DEV* dev) {
    const int missing = FbContext(dev) == nullptr ? 1 : 0;
    return Control(dev, 1, nullptr) | missing;
}

void DisplayOn(GUI_DEV* dev) {
    Control(dev, 5, nullptr);
}

void DisplayOff(GUI_DEV* dev) {
    Control(dev, 6, nullptr);
}

void Command11(GUI_DEV* dev, int32_t value) {
    Control(dev, 11, &value);
}

void Command12(GUI_DEV* dev, int32_t value) {
    Control(dev, 12, &value);
}

void Command13(GUI_DEV* dev, int32_t first, int32_t second) {
    int32_t words[2] = {first, second};
    Control(dev, 13, words);
}

void SetHook(GUI_DEV* dev, int32_t code, gui::DevFuncAny function) {
    FbDriverContext* c = FbContext(dev);
    if (c == nullptr) return;
    switch (code) {
        case 25:
            c->fillHook = reinterpret_cast<decltype(c->fillHook)>(function);
            break;
        case 32:
            c->hook32 = function;
            break;
        case 33:
            c->copyBufferHook = reinterpret_cast<decltype(c->copyBufferHook)>(function);
            break;
        case 35:
            c->hook35 = function;
            break;
        default:
            break;
    }
}

void ShowBuffer(GUI_DEV* dev, int32_t index) {
    Control(dev, 14, &index);
}

// A buffer that does not lie wholly inside the mapping is refused: nothing copied, nothing moved.
void CopyBuffer(GUI_DEV* dev, int32_t src, int32_t dst) {
    FbDriverContext* c = FbContext(dev);
    if (c == nullptr || src == dst || src < 0 || dst < 0) return;
    const uint64_t size = static_cast<uint64_t>(GetDevProp(dev, 8)) * c->xSize * c->ySize / 8;
    const uint64_t end = (static_cast<uint64_t>(src > dst ? src : dst) + 1) * size;
    if (c->baseVram == nullptr || end > c->vramBytes) return;
    auto* base = reinterpret_cast<uint8_t*>(c->baseVram);
    if (c->copyBufferHook != nullptr) {
        c->copyBufferHook(dev->layer, src, dst);
    } else {
        std::memcpy(base + dst * size, base + src * size, size);
    }
    c->vram = reinterpret_cast<uint16_t*>(base + dst * size);
}

template <class F>
gui::DevFuncAny Any(F* f) {
    return reinterpret_cast<gui::DevFuncAny>(f);
}

gui::DevFuncAny GetDevFunc(GUI_DEV** dev, int code) {
    switch (code) {
        case 1:
            return Any(CopyRect);
        case 2:
            return Any(SetValue2);
        case 3:
            return Any(SetPair);
        case 4:
            return Any(GetPair);
        case 6:
            return Any(SetValue6);
        case 9:
            return Any(SetVram);
        case 10:
            return Any(SetVSize);
        case 11:
            return Any(SetSize);
        case 12:
            return Any(Init);
        case 14:
            return Any(DisplayOn);
        case 15:
            return Any(DisplayOff);
        case 19:
            return Any(Command11);
        case 20:
            return Any(Command12);
        case 21:
            return Any(Command13);
        case 22:
            return Any(SetHook);
        case 33:
            return Any(CopyBuffer);
        case 34:
            return Any(ShowBuffer);
        case 35: {
            const FbDriverContext* c = Ctx(*dev);
            return c != nullptr ? c->hook35 : nullptr;
        }
        default:
            return nullptr;
    }
}

}  // namespace

const GUI_DEV_API FbDriver_API = {kGuiDevClassDriver, DrawBitmap,    DrawHLine, DrawVLine, FillRect,
                                  GetPixelIndex,      SetPixelIndex, XorPixel,  SetOrg,    GetDevFunc,
                                  GetDevProp,         GetDevData,    GetRect};

uint32_t FbIndexMask(const GUI_DEV* dev) {
    return dev->colorConv != nullptr ? dev->colorConv->GetIndexMask() : 0xFFFF;
}

FbDriverContext* FbContext(GUI_DEV* dev) {
    if (dev->data == nullptr) {
        void* block = GUI_ALLOC_GetFixedBlock(sizeof(FbDriverContext));
        if (block == nullptr) return nullptr;
        dev->data = new (block) FbDriverContext{};
    }
    return Ctx(dev);
}
