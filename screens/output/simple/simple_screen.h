#pragma once
// The simple output page (page id 2): the three phases' meters in one table, or the harmonics of the
// selected line, with the status bar and the page's soft keys. GUI thread only.
#include "panel/pages/page_mgr.h"

void SimpleScreen_Create();
void SimpleScreen_Show();
void SimpleScreen_Hide();
void SimpleScreen_Update();
extern const PageDesc SimplePageDesc;
