#pragma once
// The painters of the SEQUENCE/SIMULATE page's windows: each draws its whole window from the view the
// page shows. GUI thread only.
#include "GUI/wm/wm.h"
#include "screens/seqsim/page/seqsim_view.h"

namespace seqsim {

enum Win : int { kWinRoot, kWinTitle, kWinBody, kWinKey0, kWinCount = kWinKey0 + kSoftKeys };
extern WM_HWINDOW g_Win[kWinCount];
// What the windows show; the page's update replaces it before it invalidates.
extern View g_Shown;

void PaintRoot(WM_MSG_RECORD* msg);
void PaintTitle(WM_MSG_RECORD* msg);
void PaintBody(WM_MSG_RECORD* msg);
void PaintKey(WM_MSG_RECORD* msg);

// Geometry the tests look at: the top-left corner of field row i in screen coordinates, and the traces'
// colours (0xRRGGBB) of L1-L3.
inline constexpr int kBodyTop = 40;
inline constexpr int kRowX0 = 8, kColumnWidth = 237, kRowY0 = 6, kRowPitch = 25;
inline constexpr int RowScreenX(int i) { return kRowX0 + (i / kRowsPerColumn) * kColumnWidth; }
inline constexpr int RowScreenY(int i) { return kBodyTop + kRowY0 + (i % kRowsPerColumn) * kRowPitch; }
inline constexpr uint32_t kTraceColour[3] = {0xFFFF00, 0x00FF00, 0x00BFFF};
// The graph area of the previews, in body coordinates.
inline constexpr int kGraphX0 = 40, kGraphY0 = 60, kGraphX1 = kGraphX0 + kGraphColumns + 1, kGraphY1 = 400;

}  // namespace seqsim
