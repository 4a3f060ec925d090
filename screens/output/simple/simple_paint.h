#pragma once
// Paint callbacks of the simple page's windows and the words they paint from. Each callback paints its
// whole window on the paint message and hands every other message to the default window procedure.
// GUI thread only.
#include <cstdint>

#include "GUI/wm/wm.h"

namespace simple {

// What the painters read instead of the live words, so that a window shows what the update rule last saw:
// the view's words as last cached and the harmonic popup's flag.
struct Shown {
    uint32_t frozen;            // 1 while the meter is frozen
    uint32_t harmonicView;      // 0 table, 1 harmonics
    uint32_t meterSet;          // 0 RMS, 1 AVG, 2 PEAK
    uint32_t harmonicPage;      // 0-4
    uint32_t harmonicQuantity;  // 0 voltage, 1 current
    uint32_t line;              // selected line 0-2
    uint32_t popupShown;        // 1 while the held frequency popup is up
};
extern Shown g_Shown;

inline constexpr uint32_t kWhite = 0xFFFFFF, kFrozenGrey = 0xDEDEDE, kBlack = 0x000000;
inline constexpr uint32_t kLabelGrey = 0x333333, kValueGrey = 0x4D4D4D, kHarmOrange = 0xF09020;

inline uint32_t TextColour() {
    return g_Shown.frozen != 0 ? kFrozenGrey : kWhite;
}

// The harmonic view may be chosen: AC-INT without SEQ/SIM, preset mode off and the meter running.
bool HarmonicAllowed();

// Closes the held frequency popup when it is up (message ring emptied, popup closed, flag cleared).
void CloseHarmonicPopup();

}  // namespace simple

void SimplePaint_Root(WM_MSG_RECORD* msg);
void SimplePaint_Body(WM_MSG_RECORD* msg);
void SimplePaint_Table(WM_MSG_RECORD* msg);
void SimplePaint_LabelCell(WM_MSG_RECORD* msg);
void SimplePaint_ValueCell(WM_MSG_RECORD* msg);
void SimplePaint_Harmonic(WM_MSG_RECORD* msg);
void SimplePaint_HarmonicHeader(WM_MSG_RECORD* msg);
void SimplePaint_Thd(WM_MSG_RECORD* msg);
void SimplePaint_HarmonicColumn(WM_MSG_RECORD* msg);
void SimplePaint_SoftKeyColumn(WM_MSG_RECORD* msg);
void SimplePaint_SoftKey(WM_MSG_RECORD* msg);
