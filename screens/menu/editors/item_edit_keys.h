#pragma once
// The key handlers of the output impedance, parallel, LCD, barcode, default-setting and save/recall
// editors of the MENU lists.
#include <cstdint>

void menuListOutputImpedanceEdit(uint32_t* ev);
void KeyProcess_L1InductanceEdit(uint32_t* ev);
void KeyProcess_L2InductanceEdit(uint32_t* ev);
void KeyProcess_L3InductanceEdit(uint32_t* ev);
void KeyProcess_L1ResistanceEdit(uint32_t* ev);
void KeyProcess_L2ResistanceEdit(uint32_t* ev);
void KeyProcess_L3ResistanceEdit(uint32_t* ev);
void menuListParallelPositionEdit(uint32_t* ev);
void menuListParallelNumberEdit(uint32_t* ev);
void menuListParallelEnableEdit(uint32_t* ev);
void menuListLCDConfContrastEdit(uint32_t* ev);
void menuListLCDConfBrightnessEdit(uint32_t* ev);
void menuListLCDConfSaturationEdit(uint32_t* ev);
// The twelve barcode slots' editors (the slot is the current state's): the scanner teaches the text.
void menuListBarcodeEdit(uint32_t* ev);
void KeyProcess_DefaultSetEnter(uint32_t* ev);
void menuListSavRecTypeEdit(uint32_t* ev);
void menuListSavRecActionEdit(uint32_t* ev);
void menuListSavRecMemoryEdit(uint32_t* ev);
