#pragma once
// Paint callback of the message popup window (250 pixels wide, 30 pixels a line high).
#include "GUI/wm/wm.h"

void MsgPopup_Paint(WM_MSG_RECORD* msg);
