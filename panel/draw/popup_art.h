#pragma once
// The bitmaps of the limit popups and dialogs: backgrounds, title band, value-field frame and band. Our
// own artwork at the sizes the popups place it; each is painted from a few gradients on its first use.
#include "GUI/bitmap/gui_image.h"

namespace panel::art {

const GUI_IMAGE& PopupBackground();       // 231x131
const GUI_IMAGE& PopupTitleBand();        // 156x19
const GUI_IMAGE& ValueFieldFrame();       // 200x50, meant for (15, 70) of the popup background
const GUI_IMAGE& SmallPopupBackground();  // 201x91
const GUI_IMAGE& SmallPopupBand();        // 183x50, meant for (10, 37) of the small background
const GUI_IMAGE& CfgPhaseBackground();    // 321x131

}  // namespace panel::art
