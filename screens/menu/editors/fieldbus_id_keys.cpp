// The CANopen node id and the DeviceNet MAC id: numbers edited digit by digit or typed. A typed id is
// taken within the whole id range (a CANopen node id of 0 too), while the knob keeps to the editor's limits.
#include <atomic>

#include "core/system/config/iface_cfg.h"
#include "core/system/links/fieldbus_flags.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "drivers/panel_link.h"
#include "panel/edit/edit_common.h"
#include "screens/menu/editors/iface_edit_keys.h"
#include "screens/menu/editors/menu_editor.h"
#include "screens/menu/editors/typed_number.h"

namespace {

struct IdEditor {
    uint32_t row;
    int32_t typedMax;  // a typed id is taken within 0..typedMax
    uint32_t storage::IfaceCfg::*setting;
    std::atomic<uint32_t> FieldbusChangeFlags::*changed;
};

constexpr IdEditor kNodeId{kMenuCanopenNode, 127, &storage::IfaceCfg::canopenNodeId,
                           &FieldbusChangeFlags::canopenChanged};
constexpr IdEditor kMacId{kMenuDevicenetMac, 63, &storage::IfaceCfg::devicenetMacId,
                          &FieldbusChangeFlags::devicenetChanged};

void Take(const IdEditor& ed) {
    int32_t value = g_EditParam.workValue.load(std::memory_order_relaxed);
    int32_t typed = 0;
    if (TypedWholeWithin(0, ed.typedMax, &typed))
        value = typed;
    else if (panel::edit::EntryPending())
        return;  // a typed id out of range is dropped
    std::atomic_ref<uint32_t> setting(g_IfaceCfg.*ed.setting);
    if (setting.load(std::memory_order_acquire) == static_cast<uint32_t>(value)) return;
    setting.store(static_cast<uint32_t>(value), std::memory_order_release);
    (g_FieldbusChangeFlags.*ed.changed).store(1, std::memory_order_release);
}

void IdKeys(uint32_t* ev, const IdEditor& ed) {
    if (MenuEdit_CommonClasses(ev)) return;
    const uint8_t cls = KeyEventClass(*ev), code = KeyEventCode(*ev);
    if (cls == kClassCursor) {
        MenuEdit_NumericKey(*ev);
    } else if (cls == kClassKeypad && code == kKeyExit) {
        MenuEdit_Exit(ed.row);
    } else if (cls == kClassKeypad && code == kKeyEnter) {
        Take(ed);
        MenuEdit_ReturnToRow(ed.row);
    }
}
}  // namespace

void menuListCANOPENNodeIDEdit(uint32_t* ev) {
    IdKeys(ev, kNodeId);
}

void menuListDeviceNetAddressEdit(uint32_t* ev) {
    IdKeys(ev, kMacId);
}
