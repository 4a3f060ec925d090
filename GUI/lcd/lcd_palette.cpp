// The palette conversion table (colours of a bitmap's palette as display indices) and the index-width
// helpers.
#include "GUI/lcd/lcd.h"

namespace {

// Static, so it never fails to exist and outlives any pool the library is given.
constexpr int kPaletteCapacity = 256;
uint32_t g_paletteTable[kPaletteCapacity];

}  // namespace

const uint32_t* LCD_GetPaletteIndexTable(const LCD_PALETTE* palette) {
    if (palette == nullptr || palette->colors == nullptr || palette->numEntries > kPaletteCapacity)
        return nullptr;
    const int n = palette->numEntries < kPaletteCapacity ? palette->numEntries : kPaletteCapacity;
    for (int i = 0; i < n; ++i)
        g_paletteTable[i] = LCD_ColorToIndex(palette->colors[i]);
    return g_paletteTable;
}

// Only a display of at most 8 bits per pixel has a colour lookup table to load.
void LCD_LoadPalette() {
    if (GUI_DEV_FindDriver(0) == nullptr || LCD_GetDeviceProperty(0, 8) >= 9) return;
    const int32_t colors = LCD_GetDeviceProperty(0, 9);
    for (int i = 0; i < colors; ++i) {
        if (LCD_SetPaletteEntryEx(0, static_cast<uint8_t>(i), LCD_IndexToColor(static_cast<uint32_t>(i))) !=
            0)
            return;
    }
}
