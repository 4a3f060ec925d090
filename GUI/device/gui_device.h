#pragma once
// The device chain of layer 0: the devices' records and operation tables, and the chain itself.
#include <cstdint>

#include "GUI/gui_types.h"

struct GUI_COLORCONV;  // colour conversion of a device

// Device operation table; the class comes first, then the operations in slot order.
struct GUI_DEV_API {
    int32_t devClass;  // 0 display driver, 4 memory device, 5 alpha-layer device
    void (*DrawBitmap)(GUI_DEV* dev, int x, int y, int xsize, int ysize, int bitsPerPixel, int bytesPerLine,
                       const uint8_t* data, int bitOffset, const uint32_t* translation);
    void (*DrawHLine)(GUI_DEV* dev, int x0, int y, int x1);
    void (*DrawVLine)(GUI_DEV* dev, int x, int y0, int y1);
    void (*FillRect)(GUI_DEV* dev, int x0, int y0, int x1, int y1);
    uint32_t (*GetPixelIndex)(GUI_DEV* dev, int x, int y);
    void (*SetPixelIndex)(GUI_DEV* dev, int x, int y, uint32_t index);
    void (*XorPixel)(GUI_DEV* dev, int x, int y);
    void (*SetOrg)(GUI_DEV* dev, int x, int y);
    void (*(*GetDevFunc)(GUI_DEV** dev, int code))();
    int32_t (*GetDevProp)(GUI_DEV* dev, int index);
    void* (*GetDevData)(GUI_DEV* dev, int index);
    void (*GetRect)(GUI_DEV* dev, GUI_BOX* rect);
};

inline constexpr int32_t kGuiDevClassDriver = 0;
inline constexpr int32_t kGuiDevClassMemory = 4;
inline constexpr int32_t kGuiDevClassAlpha = 5;

// Pool blocks are only 4-byte aligned, so records kept in the pool are packed to 4.
#pragma pack(push, 4)
// One device of a layer's chain, kept in a fixed block of the graphics pool.
struct GUI_DEV {
    GUI_DEV* next;
    GUI_DEV* prev;
    void* data;  // the device's own data (the display driver's context)
    const GUI_DEV_API* api;
    const GUI_COLORCONV* colorConv;
    uint16_t insertBehind;  // 1: placed behind the devices of its own class
    int32_t layer;
};
#pragma pack(pop)

// Device chain of layer 0.
GUI_DEV* GUI_DEV_New(const GUI_DEV_API* api, const GUI_COLORCONV* colorConv, uint16_t insertBehind,
                     int layer);
int GUI_DEV_Insert(GUI_DEV* dev);
GUI_DEV* GUI_DEV_NewAndInsert(const GUI_DEV_API* api, const GUI_COLORCONV* colorConv, uint16_t insertBehind,
                              int layer);
// Tests take the devices they inserted out of the chain through it, leaving the display's driver alone.
void GUI_DEV_Remove(GUI_DEV* dev);
void GUI_DEV_Release(GUI_DEV* dev);
GUI_DEV* GUI_DEV_FindDriver(int layer);
