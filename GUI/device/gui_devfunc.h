#pragma once
// Device functions: a driver hands them out by code through GetDevFunc; each takes the device first.
#include <cstdint>

#include "GUI/device/gui_device.h"

namespace gui {

typedef void (*DevFuncAny)();
typedef void DevFuncCopyRect(GUI_DEV* dev, int x0, int y0, int x1, int y1, uint16_t* buffer);  // 1
typedef void DevFuncValue(GUI_DEV* dev, int32_t value);                      // 2, 6, 19, 20, 34
typedef void DevFuncPair(GUI_DEV* dev, int32_t first, int32_t second);       // 3, 10, 11, 21, 22, 33
typedef void DevFuncGetPair(GUI_DEV* dev, int32_t* first, int32_t* second);  // 4
typedef void DevFuncAddress(GUI_DEV* dev, void* address);                    // 9
typedef int DevFuncInit(GUI_DEV* dev);                                       // 12
typedef void DevFuncNone(GUI_DEV* dev);                                      // 14, 15, 23
typedef void DevFuncBatch(GUI_DEV* dev, int cmd);                            // 13
typedef void DevFuncPalette(GUI_DEV* dev, uint8_t index, uint32_t color);    // 16

// The function of that code offered by the device, or null.
inline DevFuncAny GetDevFunc(GUI_DEV* dev, int code) {
    if (dev == nullptr || dev->api->GetDevFunc == nullptr) return nullptr;
    return dev->api->GetDevFunc(&dev, code);
}

}  // namespace gui
