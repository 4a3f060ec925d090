#pragma once
// The four lamps of the front-panel controller: OUTPUT, SHIFT, PRESET and SEQUENCE/SIMULATE
// (drivers/panel_link.h PanelLamp bits), sent as one word.
#include <cstdint>

// All lamps off, sent.
void PanelIndicatorsReset();
// Brings each lamp to its source (output on, SHIFT latched, preset mode, SEQUENCE/SIMULATE active),
// sending the whole word once for every lamp that changed. Menu/control thread.
void SyncPanelIndicators();
