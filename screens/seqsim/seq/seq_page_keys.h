#pragma once
// Key handlers of the SEQUENCE states that are no step field: the recall confirmations (330-332), the
// memory lists (433, 434) and the previews (435-437); and the registration of every handler this panel
// part owns (those and the step-field editors of seq_edit_fields.h).
#include <cstdint>

void menuSeqOutputPhase(uint32_t* ev);
void menuSeqOutputPhase_Check(uint32_t* ev);
void menuSeqRange(uint32_t* ev);
void menuSeqSaveMemory(uint32_t* ev);
void menuSeqRecallMemory(uint32_t* ev);
void menuSeqPreview(uint32_t* ev);
void menuSeqPreviewRUN(uint32_t* ev);
void menuSeqPreviewRUNEdit(uint32_t* ev);

// Puts the handlers into the key-handler table; 0, or -1 when the table refused them (nothing set).
int SeqPageKeys_Register();
