#include "GUI/lcd/color_rgb.h"

#include "GUI/gui.h"

namespace {

uint32_t SwapRedBlue(uint32_t rgb) {
    return ((rgb & 0xFFu) << 16) | (rgb & 0xFF00u) | ((rgb >> 16) & 0xFFu);
}

}  // namespace

void SetColorRGB(uint32_t rgb) {
    GUI_SetForeColor(SwapRedBlue(rgb));
}

void SetBkColorRGB(uint32_t rgb) {
    GUI_SetBackColor(SwapRedBlue(rgb));
}
