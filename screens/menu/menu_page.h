#pragma once
// The MENU page: until its screen is built, a stand-in page that shows its page id.
#include "panel/pages/page_mgr.h"

void MenuPage_Create();
void MenuPage_Show();
void MenuPage_Hide();
void MenuPage_Update();
extern const PageDesc MenuPageDesc;
