#pragma once
// Drawing pieces the status bar's cells share, in the selected window's coordinates; colours 0xRRGGBB.
#include <cstdint>

#include "GUI/draw/gui_box.h"
#include "GUI/text/gui_font.h"

namespace statusbar {

inline constexpr uint32_t kWhite = 0xFFFFFF;
inline constexpr uint32_t kBlack = 0x000000;
inline constexpr uint32_t kYellow = 0xFFFF00;
inline constexpr uint32_t kTeal = 0x008080;
inline constexpr uint32_t kRed = 0xFF0000;
inline constexpr uint32_t kBlue = 0x0000FF;
inline constexpr uint32_t kShadow = 0x606060;
inline constexpr uint32_t kDimBox = 0x333333;
inline constexpr uint32_t kDimText = 0x727272;

// The whole cell to black.
void ClearCell();
void Fill(int x0, int y0, int x1, int y1, uint32_t rgb);
// A box from its tall and its wide rectangle, its corners rounded by a dot in each notch (or left
// stepped without the dots).
void RoundedBox(const GUI_BOX& tall, const GUI_BOX& wide, uint32_t rgb, bool dots = true);
// Transparent text in the status font; align is GUI_TA_LEFT, GUI_TA_HCENTER or GUI_TA_RIGHT, y its top.
void Text(const char* text, int x, int y, uint16_t align, uint32_t rgb);

// The icons, each at (0, 0) of its cell: 62x22 except the 27x23 key lock.
void DrawUsbDevIcon(bool cdc);
void DrawAlarmIcon();
void DrawUsbMemIcon(bool accessError);
void DrawNetIcon();
void DrawLockIcon();
// The 480x7 strip along the bottom of the bar, its top-left at (x, y).
void DrawBarStrip(int x, int y);

}  // namespace statusbar
