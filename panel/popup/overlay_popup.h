#pragma once
// The overlay's windows over every page that belong to messages: the SCPI Error box, shown while a
// remote channel's error queue holds an error, and the message popup. GUI thread only.
#include <cstdint>

#include "GUI/wm/wm.h"
#include "panel/pages/page_mgr.h"

// Passes for which an error has waited while the box is hidden; the box shows on the 31st.
extern int32_t g_ScpiErrorBoxDelay;

// Page operations of the overlay, called by the page manager: create its windows once (hidden) and set
// the overlay's created bit, and once per main pass bring them up to date.
void Overlay_Create();
void Overlay_Update();
// The overlay as the page manager drives it (its slot of the page set).
extern const PageDesc OverlayPageDesc;
// Steps the popup machine, then shows or hides the SCPI Error box and the popup window.
void Overlay_PopupAndErrorBox();
void ScpiErrorBox_Paint(WM_MSG_RECORD* msg);

namespace panel {
// The windows made by Overlay_Create (0 before it).
// Tests read the popup windows through these.
WM_HWINDOW OverlayScpiErrorBox();
WM_HWINDOW OverlayMsgPopup();
}  // namespace panel
