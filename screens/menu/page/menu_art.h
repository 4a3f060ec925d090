#pragma once
// The MENU page's pictures: the separator under the title and the Output Impedance illustration. Our own
// artwork, made in code; only their sizes are fixed by the page.
#include "GUI/bitmap/gui_image.h"

namespace menu::art {
extern const GUI_IMAGE kTitleSeparator;  // 480x7
// 400x250, painted on its first use.
const GUI_IMAGE& ImpedancePicture();
}  // namespace menu::art
