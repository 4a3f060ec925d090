#pragma once
// The home (advanced output) page: until its screen is built, a stand-in page that shows its page id.
#include "panel/pages/page_mgr.h"

void HomeScreen_Create();
void HomeScreen_Show();
void HomeScreen_Hide();
void HomeScreen_Update();
extern const PageDesc HomePageDesc;
