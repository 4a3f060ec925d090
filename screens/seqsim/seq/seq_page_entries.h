#pragma once
// Entering the SEQUENCE states that are no step field: the recall confirmations (330 wiring, 331 its
// second confirmation, 332 range) and the previews (435 step, 436 RUN, 437 RUN position entry). Neither
// ends a number being typed.
//
// What the screen reads: the choice of 330 and 332 is g_DialogChoice (1 going on in 332, 0 in 330); the
// choice of 331 and the step preview's 0/1 choice are the working value (g_EditParam.workValue); the
// RUN preview's position, edited position and edited flag are g_SeqPreview's.

void Enter_menuSeqOutputPhase();        // choice 0 (going on)
void Enter_menuSeqOutputPhase_Check();  // choice 1 (giving up)
void Enter_menuSeqRange();              // the choice as the caller set it
void Enter_menuSeqPreview();            // choice 1
void Enter_menuSeqPreviewRUN();         // the RUN-preview position as working value
void Enter_menuSeqPreviewRUNEdit();     // the position as working value and edited position, flag cleared
