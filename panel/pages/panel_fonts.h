#pragma once
// The panel's fonts by role; every page and helper picks its font here, so a face is changed in one place.
#include "GUI/Fonts/fonts.h"

inline const GUI_FONTDEF& kFont16 = Font16a;  // soft keys, small labels
inline const GUI_FONTDEF& kFont24 = Font24a;  // titles, values being edited, page texts
inline const GUI_FONTDEF& kFont10 = Font10;   // hint lines
// A limit being edited: its sign at x 105, five characters ending at x 155.
inline const GUI_FONTDEF& kFontSignedValue = Font20a;
// The meter cells' tags: "V12" within the 22 pixels of a tag that its cell shows.
inline const GUI_FONTDEF& kFontTag = Font15a;
inline const GUI_FONTDEF& kFont30 = Font30x;  // dialog titles
inline const GUI_FONTDEF& kFontList = Font20a;  // MENU list rows (25 px apart)
inline const GUI_FONTDEF& kFontTable = Font20a;  // the simple page's meter cells

// The record's name as the fonts header declares it ("Font24a"), or "?" for a font not among them.
const char* PanelFontName(const GUI_FONTDEF* font);
// The home screen's value/unit pairs and its large labels.
inline const GUI_FONTDEF& kFontMeterValue = Font44b;  // meter grid, 44 px
inline const GUI_FONTDEF& kFontMeterUnit = Font44a;
inline const GUI_FONTDEF& kFontSetValue = Font36a;  // set-value cells, 36 px
inline const GUI_FONTDEF& kFontSetUnit = Font36b;
inline const GUI_FONTDEF& kFontPowerValue = Font27b;  // total-power cells, 27 px
inline const GUI_FONTDEF& kFontPowerUnit = Font27a;
inline const GUI_FONTDEF& kFontPowerLabel = Font45a;  // V, I, P, S, Q, PF
inline const GUI_FONTDEF& kFontTotalLabel = Font22a;  // "TOTAL"
