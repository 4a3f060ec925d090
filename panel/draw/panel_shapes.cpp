#include "panel/draw/panel_shapes.h"

#include "GUI/draw/gui_2d.h"
#include "GUI/gui_context.h"
#include "GUI/lcd/color_rgb.h"
#include "panel/draw/panel_art.h"

namespace {

using namespace panel::art;

constexpr uint32_t kFrameColour = 0xC0C0C0;

// The middle runs from the left cap while below middleEnd; the right cap goes at rightAt.
void DrawBar(const BarArt& art, const GUI_IMAGE* middle, int x, int y, int middleEnd, int rightAt) {
    GUI_DrawImage(art.left, x, y);
    for (int i = x + art.left->XSize; i < middleEnd; ++i)
        GUI_DrawImage(middle, i, y);
    GUI_DrawImage(art.right, rightAt, y);
}

void DrawPlainBar(const BarArt& art, int x, int y, int width) {
    const int cap = art.right->XSize;
    DrawBar(art, art.middle, x, y, x + width - cap, x + width - cap);
}

}  // namespace

void ClearWindow() {
    GUI_SetBackColor(0x000000);
    GUI_ClearWindow();
}

void DrawContentBackground(int x, int y) {
    GUI_DrawImage(&ContentBackground(), x, y);
}

void FillStrip185(int x, int y, int height) {
    for (int i = 0; i < height; ++i)
        GUI_DrawImage(&kStrip185, x, y + i);
}

void DrawSeparator185(int x, int y) {
    GUI_DrawImage(&kSeparator185, x, y);
}

void DrawFrame1px(int x, int y, int width, int height) {
    // Four runs of one colour; the pen colour is the caller's again afterwards.
    const uint32_t pen = GUI_GetForeColor();
    SetColorRGB(kFrameColour);
    GUI_FillBox(x, y, x + width, y);
    GUI_FillBox(x, y + height, x + width, y + height);
    GUI_FillBox(x, y + 1, x, y + height - 1);
    GUI_FillBox(x + width, y + 1, x + width, y + height - 1);
    GUI_SetForeColor(pen);
}

void DrawLabelBar(int x, int y, int width) {
    DrawPlainBar(kLabelBar, x, y, width);
}
void DrawEditFieldBar(int x, int y, int width) {
    DrawPlainBar(kEditFieldBar, x, y, width);
}
void DrawSelectFieldBar(int x, int y, int width) {
    DrawPlainBar(kSelectFieldBar, x, y, width);
}
void DrawSelectFieldBarAccent(int x, int y, int width) {
    DrawBar(kSelectFieldBar, &kSelectAccentMiddle, x, y, x + width - 2, x + width - 2);
}
void DrawPanelBar30(int x, int y, int width) {
    DrawPlainBar(kPanelBar30, x, y, width);
}
void DrawPanelBar30Open(int x, int y, int width) {
    DrawPlainBar(kPanelBar30Open, x, y, width);
}

void DrawButtonFrame(int x, int y, int width, int height) {
    GUI_GradientVertical(x + 2, y + 2, x + width - 3, y + height - 3, 0xF0F8FF, 0x66B7FA);
    GUI_SetForeColor(0xE5CDCB);
    GUI_FillBox(x + 1, y + 1, x + width - 1, y + 1);
    GUI_FillBox(x + 1, y + height - 2, x + width - 1, y + height - 2);
    GUI_FillBox(x + 1, y + 1, x + 1, y + height - 2);
    GUI_FillBox(x + width - 2, y + 1, x + width - 2, y + height - 2);
    GUI_SetForeColor(0x765E5E);
    GUI_FillBox(x, y, x + width - 1, y);
    GUI_FillBox(x, y + height - 1, x + width - 1, y + height - 1);
    GUI_FillBox(x, y, x, y + height - 1);
    GUI_FillBox(x + width - 1, y, x + width - 1, y + height - 1);
}

void DrawButtonFrameFocused(int x, int y, int width, int height) {
    DrawButtonFrame(x, y, width, height);
    GUI_SetForeColor(0xFA4300);
    GUI_FillBox(x + 6, y + 6, x + width - 6, y + height - 6);
}

void DrawButtonPair(int secondX, bool focusSecond) {
    if (focusSecond) {
        DrawButtonFrame(0, 0, 90, 35);
        DrawButtonFrameFocused(secondX, 0, 90, 35);
    } else {
        DrawButtonFrameFocused(0, 0, 90, 35);
        DrawButtonFrame(secondX, 0, 90, 35);
    }
}

void MoveWindowRelative(WM_HWINDOW window, int dx, int dy, WM_HWINDOW reference) {
    WM_MoveToPos(window, WM_GetLeft(reference) + dx, WM_GetTop(reference) + dy);
}
