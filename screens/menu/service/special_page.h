#pragma once
// The special-function sub-page of the MENU page (list 11): the model/brand, service switch, firmware
// update and service data lists behind the service codes, in a grey panel with a white bar on the
// selected row. The MENU page creates it and drives it while the menu state lies in the service range.
// GUI thread only.
#include "GUI/wm/wm.h"
#include "panel/pages/page_mgr.h"

void SpecialPage_Create();
void SpecialPage_Enter();
void SpecialPage_Show();
void SpecialPage_Hide();
// One MENU page update pass: the list on entering it, the bar on a move, a changed value redrawn.
void SpecialPage_Update();

// The painters of its windows.
void SpecialPage_PaintFrame(WM_MSG_RECORD* msg);
void SpecialPage_PaintBody(WM_MSG_RECORD* msg);
void SpecialPage_PaintList(WM_MSG_RECORD* msg);
void SpecialPage_PaintCursorRow(WM_MSG_RECORD* msg);
void SpecialPage_PaintSoftKey(WM_MSG_RECORD* msg);

// Moves the cursor bar onto row i of the list (a second column from row 20).
void SpecialPage_MoveCursorBar(int i);
// Same state and row: redraws what a changed value makes stale.
void SpecialPage_RefreshValues();

extern const PageDesc SpecialPageDesc;
