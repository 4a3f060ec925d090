// The barcode slots' editors and the default-setting confirmation: neither edits a value.
#include <atomic>

#include "core/control/alarms/alarms.h"
#include "core/control/sys_event.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/state/sys_status.h"
#include "drivers/panel_link.h"
#include "screens/menu/editors/item_edit_keys.h"
#include "screens/menu/editors/menu_editor.h"

namespace {
constexpr uint32_t kDefaultRow = kMenuDefaultSetting;
}  // namespace

void menuListBarcodeEdit(uint32_t* ev) {
    if (MenuEdit_CommonClasses(ev) || KeyEventClass(*ev) != kClassKeypad) return;
    const uint32_t row = g_MenuState.load(std::memory_order_acquire) - 1;
    if (KeyEventCode(*ev) == kKeyExit)
        MenuEdit_Exit(row);
    else if (KeyEventCode(*ev) == kKeyEnter)
        MenuEdit_ReturnToRow(row);
}

// The busy bit stays set until the default has run (the run-time re-initialisation clears it), so a second
// enter starts nothing.
void KeyProcess_DefaultSetEnter(uint32_t* ev) {
    if (KeyEventClass(*ev) != kClassKeypad) return;
    if (KeyEventCode(*ev) == kKeyExit) {
        MenuEdit_ReturnToRow(kDefaultRow);
    } else if (KeyEventCode(*ev) == kKeyEnter && !SysStatusTest(kSysKeysBlocked)) {
        AlarmTimerDefaults();
        FactoryDefaultStart();
        SysStatusSet(kSysKeysBlocked);
    }
}
