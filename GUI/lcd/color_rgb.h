#pragma once
// The graphics colours set from 0xRRGGBB, as the rest of the instrument writes colours (the graphics
// library itself takes 0xBBGGRR).
#include <cstdint>

void SetColorRGB(uint32_t rgb);
void SetBkColorRGB(uint32_t rgb);
