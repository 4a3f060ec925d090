#pragma once
// The painters of the calibration page's windows and the texts of its point popup. GUI thread only.
#include <cstddef>
#include <cstdint>

#include "GUI/wm/wm.h"

namespace calpage {

constexpr int32_t kItemCount = 9;
constexpr int kRowPitch = 21;  // of the item list and its selection bar
extern const char* const kItemTexts[kItemCount];

// The item the selection bar names (kept by the page's update).
extern int32_t g_BarItem;

// The point popup's title and range line for a point state and calibrated phase (0-2).
void PointTitle(uint32_t state, uint32_t phase, char* title, size_t titleSize, char* range, size_t rangeSize);

void PaintRoot(WM_MSG_RECORD* msg);
void PaintTitle(WM_MSG_RECORD* msg);
void PaintBlack(WM_MSG_RECORD* msg);
void PaintSoftKey1(WM_MSG_RECORD* msg);
void PaintSoftKey2(WM_MSG_RECORD* msg);
void PaintSoftKey3(WM_MSG_RECORD* msg);
void PaintSoftKey4(WM_MSG_RECORD* msg);
void PaintBody(WM_MSG_RECORD* msg);
void PaintItemList(WM_MSG_RECORD* msg);
void PaintSelectionBar(WM_MSG_RECORD* msg);
void PaintPointPopup(WM_MSG_RECORD* msg);
void PaintValueField(WM_MSG_RECORD* msg);
void PaintDefaultPopup(WM_MSG_RECORD* msg);
void PaintConfirmField(WM_MSG_RECORD* msg);
void PaintPreparePopup(WM_MSG_RECORD* msg);

}  // namespace calpage
