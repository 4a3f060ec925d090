#include "GUI/gui_types.h"

GUI_DRAWCTX GUI_Context;
