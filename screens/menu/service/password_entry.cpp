#include "screens/menu/service/password_entry.h"

#include <cstdio>
#include <cstring>

#include "core/control/output_request.h"
#include "core/params/access/key_entry.h"
#include "core/system/config/identity.h"
#include "core/system/config/model_table.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/sys_status.h"
#include "drivers/panel_link.h"
#include "panel/edit/edit_common.h"
#include "panel/menu_entries.h"
#include "screens/menu/editors/menu_editor.h"
#include "screens/menu/rows/row_entries.h"
#include "sysadmin/sys_versions.h"

namespace {
constexpr uint32_t kSpecialFunctionRow = kMenuSpecialFunction;
constexpr uint32_t kTypedDigitsMax = 4;
constexpr uint32_t kCalibrationCode = 8719, kBarcodeCode = 8926;

void OpenModelBrandList() {
    MenuRows_EnterState(kMenuFirmType);
}
void OpenServiceDataList() {
    MenuRows_EnterState(kMenuDataCalRw);
}
void OpenServiceSwitchList() {
    ShowMessageHold(g_UbootVersionText);
    MenuRows_EnterState(kMenuServiceDetailAlarm);
}
void OpenUpdateList() {
    MenuRows_EnterState(kMenuFwUpdateFirmware);
}
void PanelControllerReboot() {
    SpiAuxWrite1(0);
    sysRebootRequest();
}

struct FixedCode {
    uint32_t code;
    void (*open)();
};
// Taken before the model check, in this order, so that a unit without a model can still be given one.
constexpr FixedCode kFixedCodes[] = {
    {8623, OpenModelBrandList}, {8305, OpenServiceDataList},   {9371, OpenServiceSwitchList},
    {9046, OpenUpdateList},     {8957, PanelControllerReboot},
};

// The typed code: one to four plain digits; anything longer, a point or a sign is no code (false).
bool TypedCode(uint32_t* code) {
    const uint32_t n = g_EditBuf.entryLength;
    if (n == 0 || n > kTypedDigitsMax) return false;
    uint32_t value = 0;
    for (uint32_t i = 0; i < n; ++i) {
        const char c = g_EditBuf.entryText[i];
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    *code = value;
    return true;
}

// The settable password compared whole with the zero-padded code; an empty password matches nothing.
bool PasswordMatches(uint32_t code) {
    char stored[sizeof g_ServicePassword + 1] = {};
    IdentityTextRead(g_ServicePassword, sizeof g_ServicePassword, stored);
    char typed[8];
    std::snprintf(typed, sizeof typed, "%04u", code % 10000u);
    return std::strcmp(stored, typed) == 0;
}

void Refuse(const char* text) {
    ShowMessage(1, text);
    MenuRows_EnterState(kSpecialFunctionRow);
}

void TakeCode() {
    uint32_t code = static_cast<uint32_t>(g_EditParam.workValue.load(std::memory_order_relaxed));
    if (panel::edit::EntryPending() && !TypedCode(&code)) {
        menuResetEdit();
        Refuse("Error Password");
        return;
    }
    menuResetEdit();
    for (const FixedCode& fixed : kFixedCodes) {
        if (fixed.code == code) {
            fixed.open();
            return;
        }
    }
    if (g_ModelId.load(std::memory_order_acquire) == 0) {
        Refuse("No Model Type");
        return;
    }
    if (PasswordMatches(code) || code == kCalibrationCode) {
        if (OutputFlagTest(kOutFlagOutputOn)) OutputToggle();
        menuGoCalibration();
    } else if (code == kBarcodeCode) {
        menuEnterBarcodeList();
    } else {
        Refuse("Error Password");
    }
}
}  // namespace

void KeyProcess_Password(uint32_t* ev) {
    if (MenuEdit_CommonClasses(ev)) return;
    const uint8_t cls = KeyEventClass(*ev), code = KeyEventCode(*ev);
    if (cls == kClassCursor) {
        MenuEdit_NumericKey(*ev);
    } else if (cls == kClassKeypad && code == kKeyExit) {
        MenuEdit_Exit(kSpecialFunctionRow);
    } else if (cls == kClassKeypad && code == kKeyEnter) {
        TakeCode();
    }
}
