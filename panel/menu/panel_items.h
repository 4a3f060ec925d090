#pragma once
// The items of the home screen's settings panel: what a panel row shows and opens. The layouts
// (settings_layout.h) hold them by row and output mode; the panel's painters, the overlay's cells, the
// values fitted into the store and the enter key's openers tell the rows apart by them.
#include <cstdint>

enum PanelItem : int8_t {
    kItemPhase = 0,  // the selected line, or the PHASE/LINE view
    kItemMode = 1,   // the output mode
    kItemAcv = 2,
    kItemDcv = 3,
    kItemFreq = 4,
    kItemIrms = 5,  // the rms current limit
    kItemI = 6,     // the same limit, as DC-INT names it
    kItemOnPhase = 7,
    kItemOffPhase = 8,
    kItemGain = 9,
    kItemSig = 10,      // the SIG source
    kItemSeqTest = 11,  // TEST: opens SEQUENCE
    kItemSimTest = 12,  // TEST: SIMULATE
    kItemWave = 13,     // the waveform, with the duty beside a square wave
    kItemDuty = 14,     // the square wave's duty
    kItemBalance = 15,
    kItemAngleL2 = 16,  // the L1-L2 angle
    kItemAngleL3 = 17,  // the L1-L3 angle
    kItemSrc = 18,      // the external source
    kItemSyncPhase = 19,
    kItemFiller = 39,  // an empty row the selection passes over
    kItemEnd = 40,     // the empty row after the last
};
// The items with a label: all before the two empty rows.
inline constexpr int kLabelledItems = kItemSyncPhase + 1;
