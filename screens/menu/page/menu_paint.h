#pragma once
// The paint callbacks of the MENU page's windows. Each draws its whole window on the paint message and
// passes every other message to the default window procedure. GUI thread only.
#include <cstdint>

#include "GUI/wm/wm.h"

void MenuPage_PaintMain(WM_MSG_RECORD* msg);
void MenuPage_PaintContent(WM_MSG_RECORD* msg);
void MenuPage_PaintListArea(WM_MSG_RECORD* msg);
void MenuPage_PaintFocusBar(WM_MSG_RECORD* msg);
void MenuPage_PaintKeyColumn(WM_MSG_RECORD* msg);
void MenuPage_PaintTitle(WM_MSG_RECORD* msg);
void MenuPage_PaintHintLine(WM_MSG_RECORD* msg);
void MenuPage_PaintSoftKey(WM_MSG_RECORD* msg);

// Value columns and row value windows.
void MenuPage_PaintColumn(WM_MSG_RECORD* msg);
void MenuPage_PaintRowValue(WM_MSG_RECORD* msg);
// Preview pane and password box.
void MenuPage_PaintPreview(WM_MSG_RECORD* msg);
void MenuPage_PaintPasswordBox(WM_MSG_RECORD* msg);
void MenuPage_PaintPasswordField(WM_MSG_RECORD* msg);
// The waveform-edit sub-page's windows.
void ArbEditPage_Paint(WM_MSG_RECORD* msg);

namespace menu {
// The hint of a state ("" for none) and a soft key's label (0-4 F1-F5, 5 F6; null for none).
const char* HintOfState(uint32_t state);
const char* SoftKeyLabel(int key, uint32_t state);
}  // namespace menu
