#pragma once
// The MENU page (page id 94): the numbered top menu with its focus bar and preview pane, one configuration
// list at a time with its value column, the title, the hint line and the soft keys. It reads the menu state
// and the edit words and repaints only the windows a change touches. GUI thread only, except where said.
#include "panel/pages/page_mgr.h"

void MenuPage_Create();
void MenuPage_Enter();
void MenuPage_Show();
void MenuPage_Hide();
void MenuPage_Update();
extern const PageDesc MenuPageDesc;

// Any thread: true while the page is on screen and its preview pane still waits to be drawn with content.
bool MenuPage_PreviewPending();
