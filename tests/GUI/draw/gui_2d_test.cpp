// The drawing primitives: the math vectors, exact small shapes, clearing inside a paint, and golden
// pictures of the rest.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>

#include "GUI/device/fb_driver.h"
#include "GUI/draw/gui_box.h"
#include "tests/GUI/screen_fixture.h"

namespace {

using namespace guitest;

using Gui2d = ScreenTest;

// The lit pixels of the screen.
std::set<std::pair<int, int>> Lit() {
    std::set<std::pair<int, int>> out;
    const auto s = Screen();
    for (int i = 0; i < 800 * 480; ++i)
        if (s[i] != 0) out.insert({i % 800, i / 800});
    return out;
}

TEST(Gui2dMath, Vectors) {
    const struct {
        const char* what;
        int64_t got, want;
    } cases[] = {
        {"sin 3072", GUI_Sin4096(3072), -1024},
        {"atan2 1,1", GUI_Atan2_4096(1, 1), 512},  // slope 1: the last table entry alone
        {"atan2 0,0", GUI_Atan2_4096(0, 0), 0},
        {"atan2 -1,0", GUI_Atan2_4096(-1, 0), 2048},
        {"atan2 0,-5", GUI_Atan2_4096(0, -5), 3072},
        {"sinmilli -30000", GUI_SinMilli(-30000), -32768},
        {"sqrt max", GUI_IntSqrt(0xFFFFFFFFu), 65535},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.want) << c.what;
    const GUI_POINT in[2] = {{100, 0}, {-7, 33}};
    GUI_POINT out[2];
    GUI_RotatePoints(out, in, 2, 0.0f);
    EXPECT_TRUE(out[0].x == 100 && out[0].y == 0 && out[1].x == -7 && out[1].y == 33);
    GUI_RotatePoints(out, in, 1, 1.5707964f);
    EXPECT_LE(std::abs(out[0].x), 1);
    EXPECT_LE(std::abs(out[0].y + 100), 1);
}

// Every entry of the three tables, read where no interpolation touches it: the quarter sine at multiples
// of 64 units, the arc tangent of slopes 64 i / 1024, the sine of each whole degree (round(65536 sin d)).
// The root is the floor of the real one on both sides of each square.
TEST(Gui2dMath, TableEntriesAndRoots) {
    const int quarterSine[17] = {0,   100, 200, 297, 392, 483,  569,  650, 724,
                                 792, 851, 903, 946, 980, 1004, 1019, 1024};
    const int arcTangent[17] = {0, 41, 81, 121, 160, 197, 234, 269, 302, 334, 364, 393, 419, 445, 469, 491, 512};
    for (int i = 0; i <= 16; ++i) {
        EXPECT_EQ(GUI_Sin4096(64 * i), quarterSine[i]) << i;
        EXPECT_EQ(GUI_Atan2_4096(1024, 64 * i), arcTangent[i]) << i;
    }
    for (int d = 0; d <= 90; ++d)
        EXPECT_EQ(GUI_SinMilli(d * 1000), std::lround(65536.0 * std::sin(d * M_PI / 180.0))) << d;
    for (const uint32_t root : {0u, 1u, 2u, 3u, 10u, 255u, 4096u, 65535u}) {
        EXPECT_EQ(GUI_IntSqrt(root * root), root);
        if (root > 0) {
            EXPECT_EQ(GUI_IntSqrt(root * root - 1), root - 1);
        }
    }
}

// A box holds its edge pixels: two boxes sharing one pixel row or column overlap, two that only touch do
// not, whichever is asked first.
TEST(GuiBox, BoxesSharingOnePixelRowOrColumnOverlapTouchingOnesDoNot) {
    const GUI_BOX a{10, 20, 29, 39};
    const struct {
        GUI_BOX b;
        int overlap;
    } cases[] = {
        {{29, 25, 40, 30}, 1}, {{0, 25, 10, 30}, 1},  {{15, 39, 20, 50}, 1}, {{15, 0, 20, 20}, 1},
        {{29, 39, 35, 45}, 1},  // the corner pixel alone
        {{30, 25, 40, 30}, 0}, {{0, 25, 9, 30}, 0},   {{15, 40, 20, 50}, 0}, {{15, 0, 20, 19}, 0},
        {{30, 40, 35, 45}, 0},  // the diagonal neighbour
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GUI_BoxesOverlap(&a, &c.b), c.overlap) << c.b.x0 << "," << c.b.y0;
        EXPECT_EQ(GUI_BoxesOverlap(&c.b, &a), c.overlap) << c.b.x0 << "," << c.b.y0;
    }
}

TEST_F(Gui2d, SmallShapesAreExact) {
    using Pixels = std::set<std::pair<int, int>>;
    const struct {
        const char* what;
        std::function<void()> draw;
        Pixels want;
    } cases[] = {
        {"disc r 0", [] { GUI_FillDisc(10, 10, 0); }, {{10, 10}}},
        {"disc r 1", [] { GUI_FillDisc(10, 10, 1); }, {{10, 10}, {9, 10}, {11, 10}, {10, 9}, {10, 11}}},
        {"point line", [] { GUI_Line(10, 10, 10, 10); }, {{10, 10}}},
        {"dotted line",
         [] {
             GUI_SetLineKind(GUI_LS_DOT);
             GUI_Line(0, 5, 9, 5);
         },
         {{2, 5}, {3, 5}, {6, 5}, {7, 5}}},
        {"dotted line drawn backwards",
         [] {
             GUI_SetLineKind(GUI_LS_DOT);
             GUI_Line(9, 5, 0, 5);
         },
         {{2, 5}, {3, 5}, {6, 5}, {7, 5}}},
        {"frame",
         [] { GUI_DrawFrame(1, 1, 3, 3); },
         {{1, 1}, {2, 1}, {3, 1}, {1, 2}, {3, 2}, {1, 3}, {2, 3}, {3, 3}}},
    };
    for (const auto& c : cases) {
        FreshScreen();
        c.draw();
        EXPECT_EQ(Lit(), c.want) << c.what;
    }
}

// The top vertex is a local minimum of y: one pixel there, no span starting from it.
TEST_F(Gui2d, PolygonVertexAtALocalMinimumIsOnePixel) {
    const GUI_POINT triangle[3] = {{20, 0}, {40, 20}, {0, 20}};
    GUI_FillShape(triangle, 3, 100, 100);
    const auto lit = Lit();
    int top = 0, row10 = 0;
    for (const auto& [x, y] : lit) {
        top += y == 100;
        row10 += y == 110;
    }
    EXPECT_EQ(top, 1);
    EXPECT_TRUE(lit.count({120, 100}));
    EXPECT_EQ(row10, 21);
}

TEST_F(Gui2d, GradientOf256RowsStepsTheRedByteEveryRow) {
    GUI_GradientVertical(0, 0, 3, 255, 0x000000, 0x0000FF);
    const auto s = Screen();
    for (int y = 0; y < 256; ++y)
        ASSERT_EQ(s[static_cast<size_t>(y) * 800], Color2Index_565(static_cast<uint32_t>(y))) << y;
    EXPECT_EQ(GUI_GetForeColor(), 0xFFFFFFu) << "the colour before the gradient is back";
}

// The parent's paint clears its whole window, yet only its clip: the child's area keeps its pixels.
TEST_F(Gui2d, ClearWindowInAPaintClearsOnlyTheClip) {
    static const auto paint = [](WM_MSG_RECORD* msg) {
        if (msg->MsgId != WM_MSG_PAINT) return WM_DefaultHandler(msg);
        GUI_SetBackColor(0x0000FF);
        GUI_ClearWindow();
    };
    GUI_SetForeColor(0xFFFFFF);
    LCD_FillBox(0, 0, 799, 479);
    const WM_HWINDOW parent = WM_CreateTop(100, 100, 200, 100, WM_CF_SHOW, paint, 0);
    WM_CreateChild(50, 20, 40, 30, parent, WM_CF_SHOW, nullptr, 0);
    GUI_RunAll();
    EXPECT_EQ(PixelAt(100, 100), 0xF800);
    EXPECT_EQ(PixelAt(299, 199), 0xF800);
    EXPECT_EQ(PixelAt(100, 99), 0xFFFF) << "outside the window";
    EXPECT_EQ(PixelAt(150, 120), 0xFFFF) << "under the child";
    EXPECT_EQ(PixelAt(189, 149), 0xFFFF) << "under the child";
}

TEST_F(Gui2d, Goldens) {
    const GUI_BOX box{0, 0, 99, 79};
    const struct {
        const char* name;
        std::function<void()> draw;
    } cases[] = {
        {"pens_and_styles",
         [] {
             for (int style = 0; style <= 4; ++style) {
                 GUI_SetLineKind(static_cast<uint8_t>(style));
                 GUI_Line(2, 2 + 6 * style, 97, 8 + 6 * style);
             }
             GUI_SetLineKind(GUI_LS_DASH);
             GUI_Line(5, 40, 30, 77);
             GUI_SetLineKind(GUI_LS_SOLID);
             for (int pen = 2; pen <= 6; pen += 2) {
                 GUI_SetPenWidth(static_cast<uint8_t>(pen));
                 GUI_Line(30 + 10 * pen, 40, 45 + 8 * pen, 75);
             }
             GUI_SetPenWidth(5);
             GUI_Dot(38, 52);
         }},
        {"circles",
         [] {
             for (int r : {2, 5, 11, 20, 37})
                 GUI_CircleOutline(50, 40, r);
         }},
        {"discs",
         [] {
             GUI_SetForeColor(0x0000FF);
             GUI_FillDisc(12, 12, 10);
             GUI_SetForeColor(0x00FF00);
             GUI_FillDisc(40, 20, 17);
             GUI_SetForeColor(0xFF0000);
             GUI_FillDisc(75, 45, 30);
             GUI_SetForeColor(0xFFFFFF);
             GUI_FillDisc(20, 60, 3);
         }},
        {"gradients",
         [] {
             GUI_GradientVertical(0, 0, 49, 79, 0x0000FF, 0xFF0000);
             GUI_GradientHorizontal(50, 0, 99, 39, 0x000000, 0x00FFFF);
             GUI_GradientHorizontal(50, 40, 99, 79, 0x123456, 0x123456);
         }},
        {"plot_columns",
         [] {
             int16_t values[100];
             for (int i = 0; i < 100; ++i)
                 values[i] = static_cast<int16_t>(std::lround(35 * std::sin(i / 8.0)));
             GUI_PlotColumns(values, 100, 0, 40);
         }},
        {"polygons",
         [] {
             const GUI_POINT star[10] = {{0, -35}, {8, -11},  {33, -11}, {13, 4},    {20, 28},
                                         {0, 14},  {-20, 28}, {-13, 4},  {-33, -11}, {-8, -11}};
             GUI_FillShape(star, 10, 35, 40);
             const GUI_POINT notch[6] = {{0, 0}, {25, 0}, {25, 30}, {12, 15}, {0, 30}, {0, 0}};
             GUI_SetForeColor(0x00FF00);
             GUI_FillShape(notch, 6, 72, 25);
         }},
    };
    for (const auto& c : cases) {
        FreshScreen();
        WM_Select(WM_CreateTop(0, 0, 100, 80, WM_CF_SHOW, nullptr, 0));
        c.draw();
        ExpectGolden(c.name, box);
    }
}

}  // namespace
