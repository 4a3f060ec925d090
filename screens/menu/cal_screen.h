#pragma once
// The calibration page: until its screen is built, a stand-in page that shows its page id.
#include "panel/pages/page_mgr.h"

void CalScreen_Create();
void CalScreen_Show();
void CalScreen_Hide();
void CalScreen_Update();
extern const PageDesc CalPageDesc;
