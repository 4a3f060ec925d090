#pragma once
// Paint callbacks of the home page's windows. Each paints its whole window on the paint message and hands
// every other message to the default window procedure; windows sharing a callback find themselves through
// HomeWin_IndexOf.
#include <cstdint>

#include "GUI/wm/wm.h"

// The page's frame: slave notice, body background, separator and the vertical line.
void HomePaint_SlaveScreen(WM_MSG_RECORD* msg);
void HomePaint_Body(WM_MSG_RECORD* msg);
void HomePaint_Separator(WM_MSG_RECORD* msg);
void HomePaint_VerticalBar(WM_MSG_RECORD* msg);

// Meter grid, set values and total power.
void HomePaint_MeterCell(WM_MSG_RECORD* msg);
void HomePaint_CellTag(WM_MSG_RECORD* msg);
void HomePaint_SetLabels(WM_MSG_RECORD* msg);
void HomePaint_SetFrames(WM_MSG_RECORD* msg);
void HomePaint_SetValueCell(WM_MSG_RECORD* msg);
void HomePaint_PowerLabels(WM_MSG_RECORD* msg);
void HomePaint_TotalLabels(WM_MSG_RECORD* msg);
void HomePaint_PowerCell(WM_MSG_RECORD* msg);
// A setting cut to five significant digits (the sign kept).
int32_t RoundTo5Digits(int32_t v);

// The soft-key column's eight keys.
void HomeSoftKey_Paint(WM_MSG_RECORD* msg);

// Settings panel, phase header, drop-down lists and phasor.
void HomePaint_PanelLowerFrame(WM_MSG_RECORD* msg);
void HomePaint_PhaseHeader(WM_MSG_RECORD* msg);
void HomePaint_Phasor(WM_MSG_RECORD* msg);
void HomePaint_PanelLabel(WM_MSG_RECORD* msg);
void HomePaint_PanelValue(WM_MSG_RECORD* msg);
void HomePaint_PanelScroll(WM_MSG_RECORD* msg);
void HomePaint_MeasItemList(WM_MSG_RECORD* msg);
void HomePaint_MeasItemListHead(WM_MSG_RECORD* msg);
void HomePaint_ModeList(WM_MSG_RECORD* msg);
void HomePaint_ModeListHead(WM_MSG_RECORD* msg);
void HomePaint_LineList(WM_MSG_RECORD* msg);
void HomePaint_LineListHead(WM_MSG_RECORD* msg);
