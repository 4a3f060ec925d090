#include <array>

#include "panel/overlay/overlay_layout.h"
#include "panel/overlay/overlay_paint.h"

namespace panel {

namespace {

constexpr int kHidden = 0;
constexpr int kVisible = WM_CF_SHOW;
constexpr int kCellY[kOverlayCells] = {41, 78, 114, 150, 186, 222, 258, 294, 330, 366, 402, 438};
constexpr int kCellHeight = 30;

// Windows whose paints are counted: every overlay window by handle.
std::array<WM_HWINDOW, 32> g_countedWins{};
std::array<uint32_t, 32> g_paintCounts{};

void Track(WM_HWINDOW h) {
    for (auto& slot : g_countedWins) {
        if (slot == 0 || slot == h) {
            slot = h;
            return;
        }
    }
}

}  // namespace

void OverlayCreateLower() {
    auto& w = g_OverlayWins;
    g_countedWins.fill(0);
    g_paintCounts.fill(0);
    w.svcEntry = WM_CreateTop(270, 180, 201, 91, kHidden, SvcEntry_Paint, 0);
    w.svcValue = WM_CreateChild(25, 45, 150, 28, w.svcEntry, kVisible, SvcValue_Paint, 0);
    w.hint = WM_CreateTop(0, 0, 720, 24, kHidden, HintLine_Paint, 0);
    w.readout = WM_CreateChild(560, 1, 160, 21, w.hint, kVisible, HintReadout_Paint, 0);
    // Every field is one row high, the IRMS row's too: a taller one would blank the phasor below it with
    // nothing to draw there.
    for (int c = 0; c < kOverlayCells; ++c)
        w.cell[c] = WM_CreateTop(596, kCellY[c], 108, kCellHeight, kHidden, PanelCell_Paint, 0);
    for (WM_HWINDOW h : {w.svcEntry, w.svcValue, w.hint, w.readout})
        Track(h);
    for (WM_HWINDOW h : w.cell)
        Track(h);
}

void OverlayCreateColumn() {
    static WM_CALLBACK* const kKeyPaint[kOverlayKeys] = {
        SoftKey1_Paint,     SoftKey2_Paint,     SoftKey3_Paint,     SoftKey4_Paint,
        SoftKeyBlank_Paint, SoftKeyBlank_Paint, SoftKeyBlank_Paint, SoftKey8_Paint};
    auto& w = g_OverlayWins;
    w.column = WM_CreateTop(720, 0, 80, 480, kHidden, nullptr, 0);
    for (int k = 0; k < kOverlayKeys; ++k) {
        w.key[k] = WM_CreateChild(0, 60 * k, 80, 60, w.column, kVisible, kKeyPaint[k], 0);
        Track(w.key[k]);
    }
}

uint32_t OverlayPaintCount(WM_HWINDOW window) {
    for (size_t i = 0; i < g_countedWins.size(); ++i)
        if (window != 0 && g_countedWins[i] == window) return g_paintCounts[i];
    return 0;
}

void OverlayPaintCountReset() {
    g_paintCounts.fill(0);
}

void OverlayCountPaint(WM_HWINDOW window) {
    for (size_t i = 0; i < g_countedWins.size(); ++i) {
        if (window != 0 && g_countedWins[i] == window) {
            ++g_paintCounts[i];
            return;
        }
    }
}

}  // namespace panel
