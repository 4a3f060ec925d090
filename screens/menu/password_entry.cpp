#include "screens/menu/password_entry.h"

#include "panel/menu/row_entries.h"
#include "screens/menu/menu_nav.h"
#include "src/dev/panel_link.h"

void KeyProcess_Password(uint32_t* ev) {
    constexpr uint8_t kClassKeypad = 1, kClassFunction = 5, kExit = 'T';
    constexpr uint32_t kSpecialFunctionRow = 223;
    if (KeyEventClass(*ev) == kClassFunction)
        KeyProcess_MenuFunctionKeys(ev);
    else if (KeyEventClass(*ev) == kClassKeypad && KeyEventCode(*ev) == kExit)
        menuEnterRowState(kSpecialFunctionRow);
}
