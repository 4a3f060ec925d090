// The font every drawing context starts with.
#include "GUI/Fonts/fonts.h"

const GUI_FONTDEF* GUI_pDefaultFont = &FontMono6x8;
