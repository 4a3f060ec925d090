// The panel's drawing helpers on the framebuffer: their positions, sizes and colours asserted pixel by
// pixel, and golden pictures of the artwork.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>

#include "GUI/Fonts/fonts.h"
#include "GUI/device/fb_driver.h"
#include "GUI/lcd/color_rgb.h"
#include "core/params/access/wiring_state.h"
#include "core/system/state/edit_state.h"
#include "panel/pages/panel_fonts.h"
#include "panel/draw/list_items.h"
#include "panel/draw/panel_shapes.h"
#include "panel/draw/panel_text.h"
#include "panel/draw/phasor.h"
#include "panel/draw/warning_dialog.h"
#include "tests/GUI/screen_fixture.h"

namespace {

using namespace guitest;

// Colours as the display shows them: library colours (0xBBGGRR) and 0xRRGGBB.
uint16_t Lib(uint32_t bgr) {
    return static_cast<uint16_t>(Color2Index_565(bgr));
}
constexpr uint16_t kWhite565 = 0xFFFF;

// A window at (x, y) selected for drawing, on a white screen so that what a helper clears shows.
WM_HWINDOW Window(int x, int y, int w, int h, bool whiteScreen = false) {
    if (whiteScreen) {
        GUI_SetForeColor(0xFFFFFF);
        LCD_FillBox(0, 0, 799, 479);
    }
    const WM_HWINDOW win = WM_CreateTop(x, y, w, h, WM_CF_SHOW, nullptr, 0);
    WM_Select(win);
    return win;
}

// The menu/control thread publishes the edit words it set; the GUI thread's pass takes them to paint.
void ShowEditWords() {
    panel::EditPublish();
    panel::EditSnapshotTake();
}

class PanelDraw : public ::testing::Test {
  protected:
    void SetUp() override {
        FreshScreen();
        g_EditBuf = panel::EditBuf{};
        g_EditParam.workValue.store(0);
        g_EditParam.cursor = 0;
        ShowEditWords();
        g_PhaseMode.store(0);
    }
    void TearDown() override {
        g_EditBuf = panel::EditBuf{};
        g_PhaseMode.store(0);
    }
};

// The screen after draw() on a fresh screen in a 300x120 window at (100, 100).
std::vector<uint16_t> Drawn(const std::function<void()>& draw) {
    FreshScreen();
    Window(100, 100, 300, 120);
    draw();
    return Screen();
}

// ---- digits with a cursor ----

void DrawWithCursor(uint32_t cursor, const char* text, int right, int bottom, bool password,
                    uint16_t align = GUI_TA_TOP) {
    FreshScreen();
    Window(100, 100, 300, 120);
    GUI_SelectFont(&kFont24);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SetAlign(align);
    if (password)
        DrawPasswordWithCursor(cursor, text, right, bottom);
    else
        DrawDigitsWithCursor(cursor, text, right, bottom);
}
constexpr GUI_BOX kDrawnWindow{100, 100, 399, 219};

// "1.23": '3' is digit 0, '2' digit 1, '1' digit 2; the point is skipped. Beyond the digits: leading-zero
// places left of the "1", one width of '8' each. Signs count as digits. Bottom alignment takes the top from
// the font's height. A password marks its stars above them, and its sign is no digit.
TEST_F(PanelDraw, DigitAndPasswordCursorGoldens) {
    const struct {
        uint32_t cursor;
        const char* text;
        int y;
        uint16_t align;
        bool password;
    } rows[] = {{0, "1.23", 10, GUI_TA_TOP, false},   {1, "1.23", 10, GUI_TA_TOP, false},
                {2, "1.23", 10, GUI_TA_TOP, false},   {3, "1.23", 10, GUI_TA_TOP, false},
                {4, "1.23", 10, GUI_TA_TOP, false},   {1, "-5", 10, GUI_TA_TOP, false},
                {0, "23", 40, GUI_TA_BOTTOM, false},  {1, "***", 10, GUI_TA_TOP, true},
                {0, "-*", 10, GUI_TA_TOP, true},      {1, "-*", 10, GUI_TA_TOP, true}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        const auto& r = rows[i];
        DrawWithCursor(r.cursor, r.text, 150, r.y, r.password, r.align);
        ExpectGolden("panel_cursor_" + std::to_string(i), kDrawnWindow);
    }
}

// ---- texts ----

TEST_F(PanelDraw, RightAlignedTextClearsLeftOfItsWidth) {
    Window(100, 100, 200, 40, true);
    GUI_SelectFont(&kFont24);
    const int tw = GUI_GetCharAdvance('4') + GUI_GetCharAdvance('2');
    DrawRightAlignedText("42", 0xFFFF00, 0x0000FF, &kFont24);
    const uint16_t blue = Rgb565(0x0000FF);
    EXPECT_EQ(PixelAt(100, 100), blue);
    EXPECT_EQ(PixelAt(100 + 200 - tw - 1, 139), blue) << "cleared to the last row left of the text";
    EXPECT_EQ(PixelAt(100 + 200 - tw, 139), kWhite565) << "below the text's line: untouched";
    EXPECT_EQ(PixelAt(99, 120), kWhite565);
    EXPECT_GE(Extent({static_cast<int16_t>(300 - tw), 100, 299, 123}, Rgb565(0xFFFF00)).x0, 0)
        << "the text ends at the window's right edge";
}

TEST_F(PanelDraw, RightAlignedTextAtClearsItsLineAndTheBandBelow) {
    Window(100, 100, 200, 80, true);
    GUI_SelectFont(&kFont24);
    const int tw = GUI_GetCharAdvance('7');
    DrawRightAlignedTextAt("7", 10, 0xFFFFFF, 0x00FF00, &kFont24);
    const uint16_t green = Rgb565(0x00FF00);
    EXPECT_EQ(PixelAt(100, 109), kWhite565) << "above the line";
    EXPECT_EQ(PixelAt(100 + 199 - tw, 110), green);
    EXPECT_EQ(PixelAt(299, 110 + 24), green) << "the band below runs the full width";
    EXPECT_EQ(PixelAt(299, 146), green) << "down to y + 36";
    EXPECT_EQ(PixelAt(299, 147), kWhite565);
}

TEST_F(PanelDraw, LabelValueRowsClearTheGap) {
    Window(100, 100, 200, 40, true);
    GUI_SelectFont(&kFont24);
    const int lw = GUI_GetCharAdvance('A'), vw = GUI_GetCharAdvance('9');
    DrawLabelValueRow("A", "9", 0xFFFFFF, 0xFF0000, &kFont24);
    const uint16_t red = Rgb565(0xFF0000);
    EXPECT_EQ(PixelAt(100 + lw, 139), red);
    EXPECT_EQ(PixelAt(100 + 199 - vw, 139), red);
    EXPECT_EQ(PixelAt(100 + lw - 1, 139), kWhite565) << "under the label: untouched";
    EXPECT_EQ(PixelAt(100 + 200 - vw, 139), kWhite565);
}

TEST_F(PanelDraw, ValueWithUnitClearsBothSidesFromY) {
    Window(100, 100, 200, 50, true);
    GUI_SetBackColor(0x000000);
    GUI_SelectFont(&kFont24);
    const int vw = GUI_GetCharAdvance('5');
    GUI_SelectFont(&kFont16);
    const int uw = GUI_GetCharAdvance('V');
    DrawValueWithUnit("5", "V", 0xFFFFFF, 120, 10, &kFont24, &kFont16);
    EXPECT_EQ(PixelAt(100 + 120 - vw - 1, 149), 0);
    EXPECT_EQ(PixelAt(100, 110), 0);
    EXPECT_EQ(PixelAt(100, 109), kWhite565) << "above y";
    EXPECT_EQ(PixelAt(100 + 120 + uw, 149), 0);
    EXPECT_EQ(PixelAt(299, 110), 0);
    EXPECT_GE(Extent({220, 110, static_cast<int16_t>(219 + uw), 125}, Lib(0x00FFFF)).x0, 0)
        << "the unit in library colour 0x00FFFF from x";
}

TEST_F(PanelDraw, YellowTextOnACleanedWindow) {
    Window(100, 100, 200, 40, true);
    DrawYellowText("Hello");
    EXPECT_EQ(PixelAt(299, 139), 0);
    EXPECT_GE(Extent({100, 100, 139, 115}, Rgb565(0xFFFF00)).x0, 0);
}

// ---- list rows ----

TEST_F(PanelDraw, MenuRowLabelsStepBy25AndRestartInTheSecondColumn) {
    Window(100, 100, 300, 120);
    DrawMenuRowLabel(0, "Row", 0);
    EXPECT_EQ(PixelAt(390, 210), Rgb565(0x666666)) << "row 0 clears the window grey";
    auto only = [](int row, int dim) {
        return Drawn([&] {
            SetBkColorRGB(0x666666);
            GUI_ClearWindow();
            DrawMenuRowLabel(row, "Row", dim);
        });
    };
    const auto row0 = only(0, 0);
    EXPECT_EQ(only(15, 0), row0) << "row 15 at y 0 of the second column";
    const auto row2 = only(2, 0);
    for (int y = 100; y < 125; ++y)
        for (int x = 100; x < 300; ++x)
            ASSERT_EQ(row2[(y + 50) * 800 + x], row0[y * 800 + x]) << x << "," << y;
    // White label at x 10 over a black shadow at x 11, one lower, in the list font.
    only(0, 0);
    ExpectGolden("panel_menu_row_label", GUI_BOX{100, 100, 399, 124});
    const auto dim = only(0, 1);
    EXPECT_NE(std::find(dim.begin(), dim.end(), Rgb565(0x3C3C3C)), dim.end());
}

TEST_F(PanelDraw, ItemValuePrintsIntoTheBufferWithinItsSize) {
    Window(100, 100, 300, 60);
    g_EditParam.workValue.store(-123456);
    ShowEditWords();
    char text[8];
    std::memset(text, '#', sizeof text);
    DrawItemValue(4, text, 4);
    EXPECT_STREQ(text, "-12");
    EXPECT_EQ(text[4], '#');
    g_EditBuf.choiceValue = 7;
    ShowEditWords();
    DrawItemValue(7, text, sizeof text);
    EXPECT_STREQ(text, "0007");
    std::memcpy(g_EditBuf.entryText, "3.5", 3);
    g_EditBuf.entryLength = 3;
    g_EditBuf.entryState = 1u << 10;
    ShowEditWords();
    DrawItemValue(5, text, sizeof text);
    EXPECT_STREQ(text, "3.5") << "the typed text replaces the value";
}

TEST_F(PanelDraw, ItemValueGoldens) {
    g_EditParam.workValue.store(1234);
    g_EditParam.cursor = 1;
    g_EditBuf.choiceValue = 42;
    g_EditBuf.choiceCursor = 2;
    ShowEditWords();
    for (int style = 0; style <= 9; ++style) {
        FreshScreen();
        Window(0, 0, 180, 30);
        char text[16] = "Value";
        DrawItemValue(style, text, sizeof text);
        ExpectGolden("panel_item_value_" + std::to_string(style), GUI_BOX{0, 0, 179, 29});
    }
    // Typing: the entry text from the left, no cursor.
    FreshScreen();
    Window(0, 0, 180, 30);
    std::memcpy(g_EditBuf.entryText, "-0.5", 4);
    g_EditBuf.entryLength = 4;
    g_EditBuf.entryState = 4u << 10;
    ShowEditWords();
    char text[16];
    DrawItemValue(9, text, sizeof text);
    ExpectGolden("panel_item_value_9_typing", GUI_BOX{0, 0, 179, 29});
}

TEST_F(PanelDraw, IpFieldShowsTheEditedOctet) {
    const uint8_t address[4] = {192, 168, 1, 20};
    Window(0, 0, 180, 30);
    g_EditBuf.choiceValue = 7;
    g_EditBuf.choiceCursor = 4;
    ShowEditWords();
    DrawIpField(2, address);
    ExpectGolden("panel_ip_field", GUI_BOX{0, 0, 179, 29});  // "192.168.007.020", the cursor in the 7
    g_EditBuf.entryState = 1u << 10;
    g_EditBuf.entryValue = 33;
    ShowEditWords();
    FreshScreen();
    Window(0, 0, 180, 30);
    DrawIpField(0, address);
    // The typed 33 in place of the first octet: "033.168.001.020".
    ExpectGolden("panel_ip_field_typing", GUI_BOX{0, 0, 179, 29});
}

// ---- soft keys, bars, frames ----

TEST_F(PanelDraw, SoftKeyGoldens) {
    const char* labels[] = {"DEF1", "Save\nDEF1", "Wave\nShape\nSIN"};
    for (int style = 0; style <= 2; ++style) {
        for (int lines = 1; lines <= 3; ++lines) {
            FreshScreen();
            Window(0, 0, 84, 64);
            DrawSoftKey(labels[lines - 1], style, lines);
            ExpectGolden("panel_soft_key_" + std::to_string(style) + "_" + std::to_string(lines),
                         GUI_BOX{0, 0, 83, 63});
        }
    }
}

// What a drawing covers on a white screen.
GUI_BOX Covered() {
    return Extent({0, 0, 799, 479}, kWhite565, false);
}

TEST_F(PanelDraw, BackgroundsHaveTheirSizes) {
    const struct {
        const char* name;
        std::function<void()> draw;
        GUI_BOX want;
    } cases[] = {
        {"content", [] { DrawContentBackground(3, 4); }, {3, 4, 721, 448}},
        {"strip", [] { FillStrip185(3, 4, 7); }, {3, 4, 187, 10}},
        {"separator", [] { DrawSeparator185(3, 4); }, {3, 4, 187, 5}},
    };
    for (const auto& c : cases) {
        FreshScreen();
        Window(0, 0, 800, 480, true);
        c.draw();
        const GUI_BOX e = Covered();
        EXPECT_TRUE(e.x0 == c.want.x0 && e.x1 == c.want.x1 && e.y0 == c.want.y0 && e.y1 == c.want.y1)
            << c.name << ": " << e.x0 << ".." << e.x1 << ", " << e.y0 << ".." << e.y1;
    }
}

// ---- dialog, phasor, window placing ----

// The bar and lines are the golden's; here every wiring has its own name and none outside the table.
TEST_F(PanelDraw, WarningDialogNamesByWiring) {
    auto paint = [](int wiring) {
        FreshScreen();
        Window(100, 30, 612, 412, true);
        WarningDialog_Paint(wiring);
        return Screen();
    };
    EXPECT_EQ(paint(8), paint(-1)) << "no name outside the table";
    EXPECT_EQ(paint(8), paint(1000));
    const auto unnamed = paint(8);
    for (int wiring = 0; wiring < 8; ++wiring)
        EXPECT_NE(paint(wiring), unnamed) << wiring;
}

// 3P is the golden's; with fewer phases the missing arrows stay off.
TEST_F(PanelDraw, PhasorArrowsByWiring) {
    const int x = 100, y = 100, cx = x + 60, cy = y + 60;
    const auto along = [&](float deg, int r) {
        const float a = deg * 3.14159265f / 180.0f;
        return PixelAt(cx + static_cast<int>(std::lround(r * std::cos(a))),
                  cy + static_cast<int>(std::lround(r * std::sin(a))));
    };
    FreshScreen();
    Window(0, 0, 800, 480);
    g_PhaseMode.store(1);
    DrawPhasorDiagram(x, y, 120.0f, 240.0f);
    EXPECT_EQ(PixelAt(cx + 30, cy), Lib(0x19CAFF));
    EXPECT_NE(along(120.0f, 30), Lib(0xD87225)) << "no L2 in 1P2W";
    EXPECT_NE(along(240.0f, 30), Lib(0x2C9116));

    // 1P3W: L2 at its angle (the split phase's 180 degrees), no L3.
    FreshScreen();
    Window(0, 0, 800, 480);
    g_PhaseMode.store(2);
    DrawPhasorDiagram(x, y, 180.0f, 240.0f);
    EXPECT_EQ(along(180.0f, 30), Lib(0xD87225)) << "L2";
    EXPECT_EQ(along(180.0f, 55), Lib(0xD87225)) << "its head";
    EXPECT_NE(along(240.0f, 30), Lib(0x2C9116)) << "no L3";
    g_PhaseMode.store(0);
}

TEST_F(PanelDraw, BarFrameDialogAndPhasorGoldens) {
    const struct {
        const char* name;
        int w, h;
        std::function<void()> draw;
    } cases[] = {
        {"panel_bars", 240, 200,
         [] {
             DrawLabelBar(5, 5, 120);
             DrawEditFieldBar(5, 30, 120);
             DrawSelectFieldBar(5, 60, 120);
             DrawSelectFieldBarAccent(5, 90, 120);
             DrawPanelBar30(5, 120, 200);
             DrawPanelBar30Open(5, 155, 200);
         }},
        {"panel_frames", 300, 120,
         [] {
             DrawButtonFrame(5, 5, 130, 50);
             DrawButtonFrameFocused(150, 5, 130, 50);
             DrawFrame1px(5, 70, 280, 40);
         }},
        {"panel_warning_dialog", 612, 412,
         [] {
             SetBkColorRGB(0xE6E6E6);
             GUI_ClearWindow();
             WarningDialog_Paint(2);
         }},
        {"panel_phasor", 220, 200, [] { DrawPhasorDiagram(20, 20, 120.0f, 240.0f); }},
    };
    for (const auto& c : cases) {
        FreshScreen();
        Window(0, 0, c.w, c.h);
        c.draw();
        ExpectGolden(c.name, GUI_BOX{0, 0, static_cast<int16_t>(c.w - 1), static_cast<int16_t>(c.h - 1)});
    }
}

TEST_F(PanelDraw, MoveWindowRelativeTakesTheReferenceOrigin) {
    const WM_HWINDOW reference = WM_CreateTop(100, 50, 200, 100, WM_CF_SHOW, nullptr, 0);
    const WM_HWINDOW child = WM_CreateChild(5, 5, 20, 20, reference, WM_CF_SHOW, nullptr, 0);
    const WM_HWINDOW win = WM_CreateTop(0, 0, 30, 30, WM_CF_SHOW, nullptr, 0);
    MoveWindowRelative(win, 10, -20, reference);
    EXPECT_EQ(WM_GetLeft(win), 110);
    EXPECT_EQ(WM_GetTop(win), 30);
    MoveWindowRelative(win, 1, 2, child);
    EXPECT_EQ(WM_GetLeft(win), 106);
    EXPECT_EQ(WM_GetTop(win), 57);
}

}  // namespace
