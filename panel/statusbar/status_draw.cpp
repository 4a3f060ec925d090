// The status bar's boxes, texts and icons. The icons are ours, drawn from boxes and lines at the
// sizes of the bitmaps they stand for.
#include "panel/statusbar/status_draw.h"

#include "GUI/draw/gui_2d.h"
#include "GUI/lcd/color_rgb.h"
#include "panel/pages/panel_fonts.h"

namespace statusbar {

void ClearCell() {
    SetBkColorRGB(kBlack);
    GUI_ClearWindow();
}

void Fill(int x0, int y0, int x1, int y1, uint32_t rgb) {
    SetColorRGB(rgb);
    GUI_FillBox(x0, y0, x1, y1);
}

void RoundedBox(const GUI_BOX& tall, const GUI_BOX& wide, uint32_t rgb, bool dots) {
    Fill(tall.x0, tall.y0, tall.x1, tall.y1, rgb);
    Fill(wide.x0, wide.y0, wide.x1, wide.y1, rgb);
    if (!dots) return;
    // One dot inside each corner's notch rounds it off.
    GUI_Dot(tall.x0 - 1, tall.y0 + 1);
    GUI_Dot(tall.x1 + 1, tall.y0 + 1);
    GUI_Dot(tall.x0 - 1, tall.y1 - 1);
    GUI_Dot(tall.x1 + 1, tall.y1 - 1);
    GUI_Dot(wide.x0 + 1, wide.y0 - 1);
    GUI_Dot(wide.x1 - 1, wide.y0 - 1);
    GUI_Dot(wide.x0 + 1, wide.y1 + 1);
    GUI_Dot(wide.x1 - 1, wide.y1 + 1);
}

void Text(const char* text, int x, int y, uint16_t align, uint32_t rgb) {
    GUI_SelectFont(&kFont16);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SetAlign(static_cast<uint16_t>(align | GUI_TA_TOP));
    SetColorRGB(rgb);
    GUI_DrawTextAt(text, x, y);
}

namespace {

void SmallText(const char* text, int x, int y, uint32_t rgb) {
    GUI_SelectFont(&kFont10);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_VCENTER);
    SetColorRGB(rgb);
    GUI_DrawTextAt(text, x, y);
}

// The USB trident: a stem with a disc at its root and two raised prongs.
void UsbSymbol(int x, int y, uint32_t rgb) {
    Fill(x, y - 1, x + 16, y, rgb);
    SetColorRGB(rgb);
    GUI_FillDisc(x, y, 2);
    Fill(x + 5, y - 5, x + 10, y - 5, rgb);
    Fill(x + 5, y - 5, x + 5, y - 1, rgb);
    Fill(x + 8, y + 1, x + 13, y + 4, rgb);
    Fill(x + 16, y - 3, x + 18, y + 2, rgb);
}

}  // namespace

void DrawUsbDevIcon(bool cdc) {
    SetColorRGB(kWhite);
    GUI_DrawFrame(0, 0, 61, 21);
    UsbSymbol(6, 11, kWhite);
    SmallText(cdc ? "CDC" : "TMC", 32, 11, kYellow);
}

void DrawAlarmIcon() {
    static const GUI_POINT kTriangle[] = {{11, 0}, {22, 21}, {0, 21}};
    SetColorRGB(kRed);
    GUI_FillShape(kTriangle, 3, 2, 0);
    Fill(12, 7, 14, 14, kBlack);
    Fill(12, 17, 14, 19, kBlack);
    SmallText("ALARM", 25, 11, kRed);
}

void DrawUsbMemIcon(bool accessError) {
    const uint32_t body = accessError ? kDimText : kWhite;
    Fill(4, 5, 44, 16, body);
    Fill(45, 7, 56, 14, kDimText);
    Fill(48, 9, 50, 10, kBlack);
    Fill(52, 9, 54, 10, kBlack);
    Fill(8, 9, 30, 12, kTeal);
    if (!accessError) return;
    // A red cross over the stick that could not be read.
    for (int i = 0; i < 20; ++i) {
        Fill(20 + i, 1 + i, 21 + i, 1 + i, kRed);
        Fill(39 - i, 1 + i, 40 - i, 1 + i, kRed);
    }
}

void DrawNetIcon() {
    SetColorRGB(kWhite);
    GUI_DrawFrame(24, 0, 37, 7);
    GUI_DrawFrame(4, 14, 17, 21);
    GUI_DrawFrame(44, 14, 57, 21);
    Fill(30, 8, 31, 10, kTeal);
    Fill(10, 10, 51, 11, kTeal);
    Fill(10, 12, 11, 13, kTeal);
    Fill(50, 12, 51, 13, kTeal);
}

void DrawLockIcon() {
    // Shackle over the body, with a keyhole.
    Fill(7, 1, 19, 2, kYellow);
    Fill(7, 1, 9, 10, kYellow);
    Fill(17, 1, 19, 10, kYellow);
    Fill(3, 10, 23, 22, kYellow);
    Fill(12, 13, 14, 19, kBlack);
}

void DrawBarStrip(int x, int y) {
    // A teal rule fading out to the right over a dark base line.
    GUI_GradientHorizontal(x, y + 3, x + 479, y + 4, 0x808000u, 0x000000u);
    Fill(x, y + 6, x + 479, y + 6, kDimBox);
}

}  // namespace statusbar
