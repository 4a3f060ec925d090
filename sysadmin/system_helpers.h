#pragma once
// Small system services: the colour setters in 0xRRGGBB, the external web server, the key beep.
#include <atomic>
#include <cstdint>

// Set the graphics colours from 0xRRGGBB (the graphics library takes 0xBBGGRR).
void SetColorRGB(uint32_t rgb);
void SetBkColorRGB(uint32_t rgb);

// Stops the external web-server process: 0 when it is gone afterwards, -1 when none ran or it still runs.
int32_t WebServerStop();
// Checks that the web data belong to the current brand: 0, or the held popup "Web Data Error!".
int32_t WebDataCheck();

// Beep state: a request sounds the speaker from one service step to the next.
void BeepRequest();
// The 20 ms beep step.
void BeepService();

namespace sysadmin {
// Bits 1 (sounding) and 2 (pending) of the beep flag byte.
extern std::atomic<uint8_t> g_BeepFlags;
}  // namespace sysadmin
