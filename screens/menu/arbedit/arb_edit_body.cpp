// The waveform editor's body (background, frame and axes) and its preview: the curve drawn four times one
// pixel apart for a thick trace, and for the LF-ring type the advice and the amplitude it reaches.
#include <array>
#include <cstdio>

#include "GUI/bitmap/gui_image.h"
#include "GUI/draw/gui_2d.h"
#include "GUI/lcd/color_rgb.h"
#include "GUI/text/gui_font.h"
#include "engine/arb/arb_builder.h"
#include "panel/draw/panel_shapes.h"
#include "screens/menu/arbedit/arb_edit_paint.h"
#include "screens/menu/page/menu_fonts.h"

namespace arbedit {
namespace {

constexpr uint16_t To565(uint32_t rgb) {
    return static_cast<uint16_t>(((rgb >> 19) & 0x1F) << 11 | ((rgb >> 10) & 0x3F) << 5 |
                                 ((rgb >> 3) & 0x1F));
}

// An axis half: a white line along the long side with a tick every 20 pixels, on black.
template <int W, int H>
constexpr std::array<uint8_t, W * H * 2> Axis() {
    std::array<uint8_t, W * H * 2> d{};
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const bool vertical = H > W;
            const int along = vertical ? y : x, across = vertical ? W - 1 - x : y;
            const bool on = across == 0 || (along % 20 == 0 && across <= 3);
            const uint16_t v = To565(on ? 0xFFFFFF : 0x000000);
            d[2 * (y * W + x)] = static_cast<uint8_t>(v);
            d[2 * (y * W + x) + 1] = static_cast<uint8_t>(v >> 8);
        }
    return d;
}

constexpr auto kVerticalData = Axis<7, 162>();
constexpr auto kHorizontalData = Axis<170, 7>();
constexpr GUI_IMAGE kVerticalAxis{7, 162, 14, 16, kVerticalData.data(), nullptr, &GUI_BitmapMethods565};
constexpr GUI_IMAGE kHorizontalAxis{170, 7, 340, 16, kHorizontalData.data(), nullptr, &GUI_BitmapMethods565};

constexpr int kPreviewPoints = 340;
constexpr int kLfRingType = 30;
constexpr int32_t kActualAmpLimit = 999;
constexpr uint32_t kTraceColour = 0x00FF00;

// Black one pixel right and down, then white over it.
void ShadowedText(const char* text, int x, int y) {
    SetColorRGB(0x000000);
    GUI_DrawTextAt(text, x + 1, y + 1);
    SetColorRGB(0xFFFFFF);
    GUI_DrawTextAt(text, x, y);
}

}  // namespace

void PaintBody() {
    ClearWindow();
    DrawContentBackground(0, 0);
    SetColorRGB(0xFFFFFF);
    DrawFrame1px(10, 10, 428, 428);
    GUI_DrawImage(&kVerticalAxis, 15, 60);
    GUI_DrawImage(&kVerticalAxis, 15, 220);
    GUI_DrawImage(&kHorizontalAxis, 30, 400);
    GUI_DrawImage(&kHorizontalAxis, 199, 400);
}

void PaintPreview() {
    ClearWindow();
    SetColorRGB(kTraceColour);
    const int16_t* curve = ArbBuild_GetPreview();
    for (int y = 202; y <= 205; ++y)
        GUI_PlotColumns(curve, kPreviewPoints, 0, y);
    if (DisplayedType() != kLfRingType) return;
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SelectFont(&kMenuListFont);
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_TOP);
    ShadowedText("Ring freq When setting high frequency,\n      it is recommended to use VRN-HF models.", 20,
                 0);
    const int32_t amp = g_LFRingActualAmp.load(std::memory_order_relaxed);
    char text[48];
    if (amp > kActualAmpLimit)
        std::snprintf(text, sizeof text, "Actual Amp = Err  %%");
    else
        std::snprintf(text, sizeof text, "Actual Amp = %d %%", static_cast<int>(amp));
    ShadowedText(text, 170, 40);
}

}  // namespace arbedit
