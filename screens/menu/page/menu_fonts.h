#pragma once
// The MENU page's fonts by role.
#include "panel/pages/panel_fonts.h"

inline const GUI_FONTDEF& kMenuListFont = kFontList;  // configuration lists, 20 px
inline const GUI_FONTDEF& kMenuTopFont = Font22a;     // top menu and its focus bar, 22 px
inline const GUI_FONTDEF& kMenuTitleFont = kFont24;   // the title, 24 px
inline const GUI_FONTDEF& kMenuHintFont = Font20b;    // the hint line, 20 px
inline const GUI_FONTDEF& kMenuDialogFont = kFont24;  // the password box, 24 px
