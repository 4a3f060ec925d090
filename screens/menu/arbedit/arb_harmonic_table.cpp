// The harmonic content of the 22 stored shapes, shown under ARB NO. while one of them is the builder's
// type: harmonic order and amplitude in percent of the fundamental.
#include <cstdio>

#include "GUI/lcd/color_rgb.h"
#include "GUI/text/gui_font.h"
#include "core/system/state/menu_state_ids.h"
#include "engine/arb/arb_builder.h"
#include "panel/draw/panel_shapes.h"
#include "panel/pages/panel_fonts.h"
#include "screens/menu/arbedit/arb_edit_paint.h"
#include "screens/menu/page/menu_page_ops.h"

namespace arbedit {
namespace {

struct Harmonic {
    uint8_t order;
    const char* percent;
};
struct Shape {
    const Harmonic* entries;
    int count;
};
template <int N>
constexpr Shape S(const Harmonic (&h)[N]) {
    return {h, N};
}

constexpr Harmonic kDst01[] = {{1, "100.0"}, {2, "2.07"}, {5, "9.80"}, {7, "15.80"}, {8, "2.16"}};
constexpr Harmonic kDst02[] = {{1, "100.0"}, {3, "1.50"}, {7, "1.50"}, {19, "2.00"}};
constexpr Harmonic kDst03[] = {{1, "100.0"}, {3, "2.00"},  {5, "1.40"},
                               {7, "2.00"},  {23, "1.40"}, {31, "1.00"}};
constexpr Harmonic kDst04[] = {{1, "100.0"}, {3, "2.50"},  {5, "1.90"},  {7, "2.50"},
                               {23, "1.90"}, {25, "1.10"}, {31, "1.50"}, {33, "1.10"}};
constexpr Harmonic kDst05[] = {{1, "100.0"}, {3, "1.10"}, {5, "2.80"},
                               {7, "1.40"},  {9, "2.30"}, {11, "1.50"}};
constexpr Harmonic kDst06[] = {{1, "100.0"}, {3, "1.65"},  {5, "4.20"},
                               {7, "3.45"},  {15, "1.05"}, {19, "3.00"}};
constexpr Harmonic kDst07[] = {{1, "100.0"}, {3, "2.20"},  {5, "5.60"},  {7, "2.80"},
                               {9, "4.60"},  {11, "3.00"}, {15, "1.40"}, {21, "1.00"}};
constexpr Harmonic kDst08[] = {{1, "100.0"}, {3, "4.90"},  {5, "1.60"}, {7, "2.70"},
                               {11, "1.40"}, {15, "2.00"}, {17, "1.10"}};
constexpr Harmonic kDst09[] = {{1, "100.0"}, {3, "7.35"},  {5, "2.40"},  {7, "4.05"},
                               {11, "2.10"}, {13, "1.05"}, {15, "3.00"}, {17, "1.65"},
                               {19, "1.05"}, {21, "1.05"}, {23, "1.20"}, {25, "1.05"}};
constexpr Harmonic kDst10[] = {{1, "100.0"}, {3, "9.80"},  {5, "3.20"},  {7, "5.40"},  {9, "1.20"},
                               {11, "2.80"}, {13, "1.40"}, {15, "4.00"}, {17, "2.20"}, {19, "1.40"},
                               {21, "1.40"}, {23, "1.60"}, {25, "1.40"}};
constexpr Harmonic kDst11[] = {{1, "100.0"}, {3, "17.75"}};
constexpr Harmonic kDst12[] = {{1, "100.0"}, {3, "21.25"}};
constexpr Harmonic kDst13[] = {{1, "100.0"}, {3, "24.50"}};
constexpr Harmonic kDst14[] = {{1, "100.0"}, {2, "2.30"}, {5, "9.80"}, {7, "15.80"}, {8, "2.50"}};
constexpr Harmonic kDst15[] = {{1, "100.0"}, {2, "1.15"}, {5, "4.90"}, {7, "7.90"}, {8, "1.25"}};
constexpr Harmonic kDst16[] = {{1, "100.0"}, {5, "2.45"}, {7, "3.95"}};
constexpr Harmonic kDst17[] = {{1, "100.0"}, {3, "11.11"}, {5, "4.00"},  {7, "2.04"},  {9, "1.23"},
                               {11, "0.83"}, {13, "0.59"}, {15, "0.44"}, {17, "0.35"}, {19, "0.28"},
                               {21, "0.23"}, {23, "0.19"}, {25, "0.16"}, {27, "0.14"}};
constexpr Harmonic kDst18[] = {{1, "100.0"}, {3, "7.17"}, {5, "3.42"}, {9, "0.80"}};
constexpr Harmonic kDst19[] = {{1, "100.0"}, {3, "8.07"}, {5, "3.55"}, {9, "0.96"}, {13, "0.92"}};
constexpr Harmonic kDst20[] = {{1, "100.0"}, {3, "33.39"}, {5, "20.01"}, {7, "13.76"}, {9, "10.70"},
                               {11, "8.39"}, {13, "7.06"}, {15, "5.85"}, {17, "4.86"}, {19, "4.86"},
                               {21, "4.52"}, {23, "4.00"}, {25, "3.49"}, {27, "2.91"}, {29, "2.45"},
                               {31, "1.94"}, {33, "1.95"}, {35, "1.91"}, {37, "1.89"}, {39, "1.83"}};
constexpr Harmonic kDst21[] = {{1, "100.0"}, {3, "33.39"}, {5, "20.01"}, {7, "13.75"}, {9, "10.70"},
                               {11, "8.37"}, {13, "7.05"}, {15, "5.84"}, {17, "4.84"}, {19, "4.83"},
                               {21, "4.48"}, {23, "3.93"}, {25, "0.89"}, {27, "0.92"}, {29, "0.94"},
                               {31, "0.94"}, {33, "0.94"}, {35, "0.93"}, {37, "0.92"}, {39, "0.91"}};
constexpr Harmonic kDst22[] = {{1, "100.0"}, {3, "33.39"}, {5, "20.01"}, {7, "13.75"},
                               {9, "10.70"}, {11, "8.33"}, {13, "6.99"}, {15, "5.26"}};

constexpr Shape kShapes[] = {
    S(kDst01), S(kDst02), S(kDst03), S(kDst04), S(kDst05), S(kDst06), S(kDst07), S(kDst08),
    S(kDst09), S(kDst10), S(kDst11), S(kDst12), S(kDst13), S(kDst14), S(kDst15), S(kDst16),
    S(kDst17), S(kDst18), S(kDst19), S(kDst20), S(kDst21), S(kDst22),
};
constexpr int32_t kFirstStoredType = 6;
constexpr int kShapeCount = sizeof kShapes / sizeof kShapes[0];
constexpr int kPerColumn = 10, kRowPitch = 15;
// Right edges of the order and the percentage, first and second column.
constexpr int kOrderX[2] = {20, 95}, kPercentX[2] = {70, 140};

constexpr bool FitsTwoColumns() {
    for (const Shape& s : kShapes)
        if (s.count > 2 * kPerColumn) return false;
    return true;
}
static_assert(FitsTwoColumns(), "every table fits the two columns");

// The type's choice (543) keeps the table of the builder's type until the choice is entered.
bool ShownInState(uint32_t state) {
    return state == kMenuArbArbNoEdit || state == kMenuArbArbNo || state == kMenuArbTypeEdit ||
           state == kMenuArbType;
}

}  // namespace

void PaintHarmonicTable() {
    ClearWindow();
    const int32_t shape = ArbBuild_GetType() - kFirstStoredType;
    if (!ShownInState(MenuPage_State()) || shape < 0 || shape >= kShapeCount) return;
    GUI_SetTextDrawMode(GUI_TM_NORMAL);
    GUI_SelectFont(&Font15a);
    SetColorRGB(0xFFFFFF);
    SetBkColorRGB(0x000000);
    const Shape& s = kShapes[shape];
    for (int i = 0; i < s.count; ++i) {
        const int col = i / kPerColumn, y = kRowPitch * (i % kPerColumn);
        char order[8], percent[16];
        std::snprintf(order, sizeof order, "%2d:", s.entries[i].order);
        std::snprintf(percent, sizeof percent, " %s %%", s.entries[i].percent);
        // Each text takes the alignment again: drawing one clears its horizontal part.
        GUI_SetAlign(GUI_TA_RIGHT | GUI_TA_TOP);
        GUI_DrawTextAt(order, kOrderX[col], y);
        GUI_SetAlign(GUI_TA_RIGHT | GUI_TA_TOP);
        GUI_DrawTextAt(percent, kPercentX[col], y);
    }
}

}  // namespace arbedit
