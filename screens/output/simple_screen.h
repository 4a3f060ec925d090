#pragma once
// The simple output page: until its screen is built, a stand-in page that shows its page id.
#include "panel/pages/page_mgr.h"

void SimpleScreen_Create();
void SimpleScreen_Show();
void SimpleScreen_Hide();
void SimpleScreen_Update();
extern const PageDesc SimplePageDesc;
