#pragma once
// The SEQUENCE/SIMULATE page (page ids 333, 463, 494): until its screen is built, a stand-in page that
// shows the page id it was entered with.
#include "panel/pages/page_mgr.h"

void SeqSimScreen_Create();
void SeqSimScreen_Enter();
void SeqSimScreen_Show();
void SeqSimScreen_Hide();
void SeqSimScreen_Update();
extern const PageDesc SeqSimPageDesc;
