#pragma once
// The panel's bitmaps: key faces, value boxes, backgrounds, bands, the bars' caps and middles. Our own
// artwork, made at compile time; only their sizes are fixed by the screens that draw them.
#include "GUI/bitmap/gui_image.h"

namespace panel::art {

extern const GUI_IMAGE kSoftKeyFace[3];  // 82x63: normal, selected, active (dark, white text)
extern const GUI_IMAGE kBoxLongLight;    // 171x25
extern const GUI_IMAGE kBoxShortLight;   // 100x25
extern const GUI_IMAGE kBoxLongDark;     // 171x25
extern const GUI_IMAGE kBoxShortDark;    // 100x25
// 719x445, painted on its first use.
const GUI_IMAGE& ContentBackground();
extern const GUI_IMAGE kListRowBand;   // 670x32
extern const GUI_IMAGE kStrip185;      // 185x1
extern const GUI_IMAGE kSeparator185;  // 185x2

// A bar: left cap, one-pixel middle, right cap, all of one height.
struct BarArt {
    const GUI_IMAGE* left;
    const GUI_IMAGE* middle;
    const GUI_IMAGE* right;
};
extern const BarArt kLabelBar;               // height 21, caps 3
extern const BarArt kEditFieldBar;           // height 27, caps 4
extern const BarArt kSelectFieldBar;         // height 27, caps 4
extern const GUI_IMAGE kSelectAccentMiddle;  // 1x27
extern const BarArt kPanelBar30;             // height 30, caps 3
extern const BarArt kPanelBar30Open;         // height 30, caps 3

}  // namespace panel::art
