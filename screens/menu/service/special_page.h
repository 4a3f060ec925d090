#pragma once
// The special-function sub-page of the MENU page (the service lists behind the password): its windows and
// drawing come with the service pages; until then its five operations do nothing.
#include "panel/pages/page_mgr.h"

void SpecialPage_Create();
void SpecialPage_Enter();
void SpecialPage_Show();
void SpecialPage_Hide();
void SpecialPage_Update();
extern const PageDesc SpecialPageDesc;
