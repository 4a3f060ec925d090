#include "screens/output/simple/simple_windows.h"

#include "screens/output/simple/simple_paint.h"

std::array<WM_HWINDOW, simple::kWinCount> g_SimpleWin{};
statusbar::View g_SimpleBar{};

namespace simple {
namespace {

constexpr int kDesktop = -1;

struct WinDef {
    int parent;  // index, or kDesktop
    int x, y, width, height;
    bool shown;
    WM_CALLBACK* paint;
};

constexpr int kColumnX[kColumns] = {0, 233, 466};  // the three phase columns, from the first
constexpr int kRowY[kRows] = {13, 51, 89, 127, 165, 203, 241, 279, 317, 355, 395};
constexpr int kHarmColumnX[6] = {12, 362, 110, 460, 240, 590};  // orders, values, percents; left then right
constexpr int kHarmColumnWidth[6] = {80, 80, 120, 120, 100, 100};

constexpr std::array<WinDef, kWinCount> BuildTree() {
    std::array<WinDef, kWinCount> t{};
    t[kWinRoot] = {kDesktop, 0, 0, 800, 480, false, SimplePaint_Root};
    t[kWinBody] = {kWinRoot, 0, 28, 720, 452, true, SimplePaint_Body};
    t[kWinTable] = {kWinBody, 5, 3, 710, 440, true, SimplePaint_Table};
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kRows; ++r) {
            t[LabelWin(r, c)] = {kWinTable, 55 + kColumnX[c], kRowY[r], 60, 25, true, SimplePaint_LabelCell};
            t[ValueWin(r, c)] = {kWinTable, 123 + kColumnX[c], kRowY[r], 101, 24, true, SimplePaint_ValueCell};
        }
    }
    t[kWinHarm] = {kWinBody, 5, 3, 710, 438, false, SimplePaint_Harmonic};
    t[kWinHarmHeader] = {kWinHarm, 4, 4, 702, 54, true, SimplePaint_HarmonicHeader};
    t[kWinThd] = {kWinHarmHeader, 590, 10, 100, 30, true, SimplePaint_Thd};
    for (int i = 0; i < 6; ++i)
        t[kWinOrderLeft + i] = {kWinHarm, kHarmColumnX[i], 68, kHarmColumnWidth[i], 378, true,
                                SimplePaint_HarmonicColumn};
    t[kWinSoftKeyColumn] = {kWinRoot, 720, 0, 80, 480, true, SimplePaint_SoftKeyColumn};
    for (int k = 0; k < kSoftKeys; ++k)
        t[kWinSoftKey0 + k] = {kWinSoftKeyColumn, 0, 60 * k, 80, 60, true, SimplePaint_SoftKey};
    return t;
}

constexpr std::array<WinDef, kWinCount> kTree = BuildTree();

// Every window has a parent created before it.
static_assert([] {
    for (int i = 1; i < kWinCount; ++i)
        if (kTree[i].parent < 0 || kTree[i].parent >= i) return false;
    return true;
}());

}  // namespace
}  // namespace simple

int SimpleWin_IndexOf(WM_HWINDOW h) {
    if (h == 0) return -1;
    for (int i = 0; i < simple::kWinCount; ++i)
        if (g_SimpleWin[i] == h) return i;
    return -1;
}

int SimpleWin_Create() {
    using simple::kTree;
    g_SimpleWin.fill(0);
    const auto& root = kTree[simple::kWinRoot];
    g_SimpleWin[simple::kWinRoot] = WM_CreateTop(root.x, root.y, root.width, root.height, 0, root.paint, 0);
    if (g_SimpleWin[simple::kWinRoot] == 0) return -1;
    // The bar lies first under the root; the rest of the tree does not overlap it.
    if (StatusBar_Create(g_SimpleWin[simple::kWinRoot], &g_SimpleBar) != 0) return -1;
    for (int i = 1; i < simple::kWinCount; ++i) {
        const auto& d = kTree[i];
        g_SimpleWin[i] = WM_CreateChild(d.x, d.y, d.width, d.height, g_SimpleWin[d.parent],
                                        d.shown ? WM_CF_SHOW : 0, d.paint, 0);
        if (g_SimpleWin[i] == 0) return -1;
    }
    return 0;
}
