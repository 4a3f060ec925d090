// The display device's capabilities, its device functions per layer and the drawing batch bracket.
#include <algorithm>

#include "GUI/lcd/lcd.h"
#include "GUI/device/gui_devfunc.h"

namespace {

int32_t Prop(int layer, int index) {
    return LCD_GetDeviceProperty(layer, index);
}

int32_t Max(int index) {
    int32_t best = 0;
    for (int layer = 0; layer < 1; ++layer)
        best = std::max(best, Prop(layer, index));
    return best;
}

// Calls the driver's function of that code: 0 when it was there, 1 when not.
template <class F, class... Args>
int Call(int layer, int code, Args... args) {
    GUI_DEV* dev = GUI_DEV_FindDriver(layer);
    auto* f = reinterpret_cast<F*>(gui::GetDevFunc(dev, code));
    if (f == nullptr) return 1;
    f(dev, args...);
    return 0;
}

int32_t g_batchDepth[1];

}  // namespace

int32_t LCD_GetDeviceProperty(int layer, int index) {
    GUI_DEV* dev = GUI_DEV_FindDriver(layer);
    if (dev == nullptr || dev->api->GetDevProp == nullptr) return 0;
    return dev->api->GetDevProp(dev, index);
}

int32_t LCD_GetBitDepthEx(int layer) {
    return Prop(layer, 8);
}
int32_t LCD_IsMirroredXEx(int layer) {
    return Prop(layer, 12);
}
int32_t LCD_IsMirroredYEx(int layer) {
    return Prop(layer, 13);
}
int32_t LCD_IsSwappedXYEx(int layer) {
    return Prop(layer, 14);
}
int32_t LCD_GetBitDepth() {
    return LCD_GetBitDepthEx(GUI_Context.selLayer);
}
int32_t LCD_GetVirtualWidthMax() {
    return Max(3);
}

int LCD_SetFramebufferAddrEx(int layer, void* address) {
    return Call<gui::DevFuncAddress>(layer, 9, address);
}
int LCD_SetVSizeEx(int layer, int xsize, int ysize) {
    return Call<gui::DevFuncPair>(layer, 10, xsize, ysize);
}
int LCD_SetSizeEx(int layer, int xsize, int ysize) {
    return Call<gui::DevFuncPair>(layer, 11, xsize, ysize);
}
int LCD_SetPaletteEntryEx(int layer, uint8_t index, uint32_t color) {
    return Call<gui::DevFuncPalette>(layer, 16, index, color);
}

// Only the outermost begin and end reach the driver; a driver without a batch function is never bracketed.
void LCD_DrawBatchControlEx(int layer, int cmd) {
    if (layer < 0 || layer >= 1) return;
    int32_t& depth = g_batchDepth[layer];
    GUI_DEV* dev = GUI_DEV_FindDriver(layer);
    auto* batch = reinterpret_cast<gui::DevFuncBatch*>(gui::GetDevFunc(dev, 13));
    switch (cmd) {
        case 1:
            if (depth > 0) {
                ++depth;
            } else if (batch != nullptr) {
                batch(dev, 1);
                depth = 1;
            }
            break;
        case 0:
            if (depth == 0) break;
            if (depth == 1 && batch != nullptr) batch(dev, 0);
            --depth;
            break;
        case 2:
            if (batch != nullptr) batch(dev, 2);
            break;
        default:
            break;
    }
}

void LCD_DrawBatchControl(int cmd) {
    LCD_DrawBatchControlEx(GUI_Context.selLayer, cmd);
}
