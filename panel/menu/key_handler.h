#pragma once
// The key handler of a menu state: it takes the packed key event the menu/control thread took (see
// drivers/panel_link.h for its bytes).
#include <cstdint>

using KeyHandler = void (*)(uint32_t* ev);
