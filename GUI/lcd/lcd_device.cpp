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
int32_t LCD_GetColorCountEx(int layer) {
    return Prop(layer, 9);
}
int32_t LCD_GetXScaleEx(int layer) {
    return Prop(layer, 10);
}
int32_t LCD_GetYScaleEx(int layer) {
    return Prop(layer, 11);
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
int32_t LCD_GetColorCount() {
    return LCD_GetColorCountEx(GUI_Context.selLayer);
}
int32_t LCD_GetXScale() {
    return LCD_GetXScaleEx(GUI_Context.selLayer);
}
int32_t LCD_GetYScale() {
    return LCD_GetYScaleEx(GUI_Context.selLayer);
}
int32_t LCD_IsMirroredX() {
    return LCD_IsMirroredXEx(GUI_Context.selLayer);
}
int32_t LCD_IsMirroredY() {
    return LCD_IsMirroredYEx(GUI_Context.selLayer);
}
int32_t LCD_IsSwappedXY() {
    return LCD_IsSwappedXYEx(GUI_Context.selLayer);
}
int32_t LCD_GetWidthMax() {
    return Max(1);
}
int32_t LCD_GetHeightMax() {
    return Max(2);
}
int32_t LCD_GetVirtualWidthMax() {
    return Max(3);
}
int32_t LCD_GetVirtualHeightMax() {
    return Max(4);
}
int32_t LCD_GetBitDepthMax() {
    return Max(8);
}

int32_t LCD_GetDeviceBitDepth(int layer) {
    GUI_DEV* dev = layer == 0 ? GUI_Context.apDevice[0] : nullptr;
    if (dev == nullptr || dev->api->GetDevProp == nullptr) return 0;
    return dev->api->GetDevProp(dev, 8);
}

int LCD_CountLayers() {
    return GUI_Context.apDevice[0] != nullptr ? 1 : 0;
}

void* LCD_GetFramebufferAddr(int layer) {
    GUI_DEV* dev = GUI_DEV_FindDriver(layer);
    return dev != nullptr && dev->api->GetDevData != nullptr ? dev->api->GetDevData(dev, 2) : nullptr;
}

int LCD_DevFunc2Ex(int layer, int32_t value) {
    return Call<gui::DevFuncValue>(layer, 2, value);
}
int LCD_DevFunc3Ex(int layer, int32_t first, int32_t second) {
    return Call<gui::DevFuncPair>(layer, 3, first, second);
}
int LCD_DevFunc4Ex(int layer, int32_t* first, int32_t* second) {
    return Call<gui::DevFuncGetPair>(layer, 4, first, second);
}
int LCD_DevFunc6Ex(int layer, int32_t value) {
    return Call<gui::DevFuncValue>(layer, 6, value);
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
