#pragma once
// Paint callbacks of the overlay's windows. Each paints on WM_MSG_PAINT and hands every other message to
// the window manager's default handler. GUI thread only.
#include <cstdint>

#include "GUI/wm/wm.h"
#include "panel/menu/panel_items.h"

void PanelCell_Paint(WM_MSG_RECORD* msg);
// Draws a settings-panel item (panel/menu/settings_layout.h) into the selected cell window.
void PanelItem_Paint(PanelItem item);
void SoftKey1_Paint(WM_MSG_RECORD* msg);
void SoftKey2_Paint(WM_MSG_RECORD* msg);
void SoftKey3_Paint(WM_MSG_RECORD* msg);
void SoftKey4_Paint(WM_MSG_RECORD* msg);
void SoftKeyBlank_Paint(WM_MSG_RECORD* msg);
void SoftKey8_Paint(WM_MSG_RECORD* msg);
void HintLine_Paint(WM_MSG_RECORD* msg);
void HintReadout_Paint(WM_MSG_RECORD* msg);
void SvcEntry_Paint(WM_MSG_RECORD* msg);
void SvcValue_Paint(WM_MSG_RECORD* msg);

// Names shown for a stored choice number; an empty text for a number past the table.
namespace panel {
const char* WaveformName(int32_t number, char* out, int size);  // "ARB1".."ARB253", "SIN", "SQU", "TRI"
const char* SigSourceName(int32_t number);                      // "L1 LINE" .. "EXT"
const char* ExtSourceName(int32_t number);                      // "L1 Ext" .. "L1.L2"
// The firm-code names of the service popup, 16 bytes each, by firm code.
inline constexpr int kFirmCodeCount = 3;
}  // namespace panel
extern const char g_FirmCodeNames[panel::kFirmCodeCount][16];
