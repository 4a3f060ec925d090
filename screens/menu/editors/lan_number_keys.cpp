// The LAN's two 4-digit numbers: the SCPI socket port and the web password. Their knob runs the other way
// round from every other editor's.
#include <cmath>
#include <mutex>

#include "core/params/access/key_entry.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/util/num_util.h"
#include "drivers/panel_link.h"
#include "panel/edit/edit_common.h"
#include "screens/menu/editors/iface_edit_keys.h"
#include "screens/menu/editors/menu_editor.h"
#include "sysadmin/net/net_monitor.h"

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr int32_t kDigits = 4, kMax = 9999, kMin = 1;
constexpr uint32_t kSocketRow = kMenuLanSocket, kPasswordRow = kMenuLanWebPassword;

// The value the enter key stores: a typed number truncated and capped at four digits, or the working
// value. A typed number below 1 is refused (false), as the knob never goes there.
bool EnteredValue(int32_t* out) {
    if (!panel::edit::EntryPending()) {
        *out = g_EditParam.workValue.load(kRelaxed);
        return true;
    }
    const double whole = std::trunc(g_EditBuf.entryValue);
    if (!(whole >= kMin)) return false;
    *out = whole > kMax ? kMax : static_cast<int32_t>(whole);
    return true;
}

// The working value in the edit copy and the choice word (the LAN rows' value), its cursor the choice word's.
void SetWork(int32_t v) {
    g_EditParam.workValue.store(v, kRelaxed);
    g_EditBuf.choiceValue = static_cast<uint32_t>(v);
}

// Returns true when the enter key stored a value.
bool NumberKeys(uint32_t* ev, uint32_t row, uint32_t sysadmin::LanCfg::*word) {
    if (MenuEdit_CommonClasses(ev)) return false;
    const uint8_t cls = KeyEventClass(*ev), code = KeyEventCode(*ev);
    const auto cursor = static_cast<int32_t>(g_EditBuf.choiceCursor);
    if (cls == kClassCursor) {
        if (code == kKeyRight || code == kKeyLeft)
            g_EditBuf.choiceCursor =
                static_cast<uint32_t>(WrapIndex(cursor, code == kKeyRight ? -1 : 1, kDigits));
        else if (code == kKeyKnob)
            SetWork(
                EditValueStep(g_EditParam.workValue.load(kRelaxed), cursor, -KeyEventDelta(*ev), kMax, kMin));
        return false;
    }
    if (cls != kClassKeypad) return false;
    if (code == kKeyExit) {
        MenuEdit_Exit(row);
        return false;
    }
    if (code != kKeyEnter) {
        SetWork(g_EditParam.startValue);
        return false;
    }
    int32_t value = 0;
    const bool taken = EnteredValue(&value);
    menuResetEdit();
    if (!taken) return false;
    {
        const std::lock_guard<std::mutex> hold(g_LanCfgLock);
        g_LanCfg.*word = static_cast<uint32_t>(value);
    }
    SetWork(value);
    g_EditParam.startValue = value;
    g_EditBuf.startChoiceValue = static_cast<uint32_t>(value);
    return true;
}
}  // namespace

void menuListLanSocketEdit(uint32_t* ev) {
    const bool enter = KeyEventClass(*ev) == kClassKeypad && KeyEventCode(*ev) == kKeyEnter;
    if (NumberKeys(ev, kSocketRow, &sysadmin::LanCfg::PORT)) NetConfigStart();
    if (enter) MenuEdit_ReturnToRow(kSocketRow);
}

void menuListLaWebPWEdit(uint32_t* ev) {
    NumberKeys(ev, kPasswordRow, &sysadmin::LanCfg::PW);
}
