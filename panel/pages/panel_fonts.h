#pragma once
// The panel's fonts by role; every page and helper picks its font here, so a face is changed in one place.
#include "GUI/Fonts/fonts.h"

inline const GUI_FONTDEF& kFont16 = Font16a;  // soft keys, small labels
inline const GUI_FONTDEF& kFont24 = Font24a;  // titles, values being edited, page texts
inline const GUI_FONTDEF& kFont10 = Font10;   // hint lines
inline const GUI_FONTDEF& kFont30 = Font30x;  // dialog titles
inline const GUI_FONTDEF& kFontList = Font20a;  // MENU list rows (25 px apart)
inline const GUI_FONTDEF& kFontTable = Font20a;  // the simple page's meter cells

// The record's name as the fonts header declares it ("Font24a"), or "?" for a font not among them.
const char* PanelFontName(const GUI_FONTDEF* font);
