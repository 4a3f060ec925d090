#pragma once
// The calibration page (page id kMenuCalibration): the nine calibration items with the selected one barred,
// the SAVE, RECALL, DEFAULT and EXIT soft keys, the popups of the point being calibrated, of the power stage
// getting ready and of the default confirmation. GUI thread only.
#include "panel/pages/page_mgr.h"

void CalScreen_Create();
void CalScreen_Show();
void CalScreen_Hide();
// One page-manager step: follows the menu state, the selection and the value being entered.
void CalScreen_Update();
extern const PageDesc CalPageDesc;
