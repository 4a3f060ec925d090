#pragma once
// The overlay's windows over the output screens and which of them each menu state shows: the hint line,
// the soft-key column, the settings-panel cells, the limit popups and dialogs and the service value
// popup. GUI thread only.
#include <atomic>
#include <cstdint>

#include "GUI/wm/wm.h"

namespace panel {

inline constexpr int kOverlayCells = 12;
inline constexpr int kOverlayKeys = 8;

// The overlay's own windows (0 until made).
struct OverlayWindows {
    WM_HWINDOW svcEntry;
    WM_HWINDOW svcValue;
    WM_HWINDOW hint;
    WM_HWINDOW readout;
    WM_HWINDOW cell[kOverlayCells];
    WM_HWINDOW column;
    WM_HWINDOW key[kOverlayKeys];  // soft keys 1-8
};
extern OverlayWindows g_OverlayWins;

// The service popup and its field, the hint line and readout, cells 0-11 (made before the limit popups).
void OverlayCreateLower();
// The soft-key column with keys 1-8 (made after the limit popups, under the SCPI Error box).
void OverlayCreateColumn();

// How often a window of the overlay has been painted since the last reset (tests count repaints).
// Tests count the overlay's paints through these.
uint32_t OverlayPaintCount(WM_HWINDOW window);
void OverlayPaintCountReset();
void OverlayCountPaint(WM_HWINDOW window);

}  // namespace panel

// One layout row: the windows a menu state shows; each is a reference to a handle, or null for none.
// Window C, or B when C is none, is the row's value window.
struct OverlayLayoutRow {
    uint32_t state;
    const WM_HWINDOW* a;
    const WM_HWINDOW* b;
    const WM_HWINDOW* c;
};
// [0] 3P4W and 1P3W, [1] 1P2W; each ends with a row of state 0.
extern const OverlayLayoutRow* const g_OverlayLayout[2];

// Hides the windows of the previous row, then shows those of the row of state in table; the new row, or
// null when the state has none.
const OverlayLayoutRow* Overlay_SwitchLayout(const OverlayLayoutRow* previous, uint32_t state,
                                             const OverlayLayoutRow* table);
