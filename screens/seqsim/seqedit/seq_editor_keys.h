#pragma once
// Key handlers of the SEQUENCE editors of a step's frequency, AC and DC voltage, their mode types, the
// waveform and the duty (one per phase: L1, _L2, _L3), and their place in the key-handler table.
#include <cstdint>

void menuSeqEditFset(uint32_t* ev);
void menuSeqEditFset_L2(uint32_t* ev);
void menuSeqEditFset_L3(uint32_t* ev);
void menuSeqEditFsetType(uint32_t* ev);
void menuSeqEditFsetType_L2(uint32_t* ev);
void menuSeqEditFsetType_L3(uint32_t* ev);
void menuSeqEditACV(uint32_t* ev);
void menuSeqEditACV_L2(uint32_t* ev);
void menuSeqEditACV_L3(uint32_t* ev);
void menuSeqEditACVType(uint32_t* ev);
void menuSeqEditACVType_L2(uint32_t* ev);
void menuSeqEditACVType_L3(uint32_t* ev);
void menuSeqEditDCV(uint32_t* ev);
void menuSeqEditDCV_L2(uint32_t* ev);
void menuSeqEditDCV_L3(uint32_t* ev);
void menuSeqEditDCVType(uint32_t* ev);
void menuSeqEditDCVType_L2(uint32_t* ev);
void menuSeqEditDCVType_L3(uint32_t* ev);
void menuSeqEditWave(uint32_t* ev);
void menuSeqEditWave_L2(uint32_t* ev);
void menuSeqEditWave_L3(uint32_t* ev);
void menuSeqEditDuty(uint32_t* ev);
void menuSeqEditDuty_L2(uint32_t* ev);
void menuSeqEditDuty_L3(uint32_t* ev);

// Puts these handlers into the key-handler table (states 384-386, 390-392, 396-398, 402-404, 408-410,
// 414-416, 424-426, 430-432); 0, or -1 when the table refused them.
int SeqEditors_RegisterKeys();
