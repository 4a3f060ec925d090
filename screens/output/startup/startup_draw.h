#pragma once
// What the start-up self-test screen draws: its texts in the 36-pixel font and the brand's logo.
#include <cstdint>

// Colours of the screen (0x00BBGGRR).
inline constexpr uint32_t kStartupWhite = 0xFFFFFF;
inline constexpr uint32_t kStartupGreen = 0x00FF00;
inline constexpr uint32_t kStartupRed = 0x0000FF;
inline constexpr uint32_t kStartupBlack = 0x000000;  // erases the progress dots

// text at (x, y) relative to the screen's origin: transparent, left-aligned, vertically centred.
void StartupDrawText(const char* text, int x, int y, uint32_t color);
// The logo of brand 0 or 1 at the origin; no logo for another brand.
void StartupDrawLogo(uint32_t brand);
// Where the texts are placed from (the origin StartupScreen was given).
void StartupSetOrigin(int x0, int y0);
