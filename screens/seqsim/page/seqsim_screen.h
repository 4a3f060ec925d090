#pragma once
// The SEQUENCE/SIMULATE page (page ids 333 SEQUENCE, 463 SIMULATE, 494 the one of the mode word): title,
// step or state, the fields of the current step, memory lists, recall dialogs, previews, run state and
// soft keys. Entering the SEQUENCE page starts its preparation (SeqPrepStage 0, counted up once per
// update to the download stage 5); entering the SIMULATE page raises SimPrepRequest, hiding it clears it.
// A change of page id while the page is on screen leaves one mode's page and enters the other's.
#include "panel/pages/page_mgr.h"

void SeqSimScreen_Create();
void SeqSimScreen_Enter();
void SeqSimScreen_Show();
void SeqSimScreen_Hide();
void SeqSimScreen_Update();
extern const PageDesc SeqSimPageDesc;
