// The service tuning editors (states 256-266): a value stepped by the knob at the digit cursor, stored and
// written to the power stage by the enter key. Typed digits are not taken.
#include "screens/menu/service/service_tuning_keys.h"

#include "core/params/access/key_entry.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "drivers/panel_link.h"
#include "screens/menu/editors/menu_editor.h"
#include "screens/menu/service/service_tuning_table.h"

namespace {
using namespace service_tuning;

template <uint32_t State>
void Keys(uint32_t* ev) {
    if (MenuEdit_CommonClasses(ev)) return;
    const TuneRow& r = TuneRowOf(State);
    const uint8_t cls = KeyEventClass(*ev), code = KeyEventCode(*ev);
    if (cls == kClassCursor) {
        MenuEdit_NumericKey(*ev);
    } else if (cls == kClassKeypad && code == kKeyEnter) {
        TuneStore(r, g_EditParam.workValue.load(kRelaxed));
        menuResetEdit();
        MenuEdit_ReturnToRow(r.row);
    } else if (cls == kClassKeypad && code == kKeyExit) {
        menuResetEdit();
        MenuEdit_ReturnToRow(r.row);
    }
}
}  // namespace

void KeyProcess_9371_VoltSlewEdit(uint32_t* ev) {
    Keys<kMenuTuneVoltSlew>(ev);
}
void KeyProcess_9371_FanSlewEdit(uint32_t* ev) {
    Keys<kMenuTuneFanSlew>(ev);
}
void KeyProcess_9371_FanDutyMaxEdit(uint32_t* ev) {
    Keys<kMenuTuneFanDutyMax>(ev);
}
void KeyProcess_9371_FanDutyMinEdit(uint32_t* ev) {
    Keys<kMenuTuneFanDutyMin>(ev);
}
void KeyProcess_9371_AvgCurrComp_kpEdit(uint32_t* ev) {
    Keys<kMenuTuneKp>(ev);
}
void KeyProcess_9371_AvgCurrComp_kiEdit(uint32_t* ev) {
    Keys<kMenuTuneKi>(ev);
}
void KeyProcess_9371_RD_Define1Edit(uint32_t* ev) {
    Keys<kMenuTuneRdDefine1>(ev);
}
void KeyProcess_9371_RD_Define2Edit(uint32_t* ev) {
    Keys<kMenuTuneRdDefine2>(ev);
}
void KeyProcess_9371_RD_Define3Edit(uint32_t* ev) {
    Keys<kMenuTuneRdDefine3>(ev);
}
void KeyProcess_9371_RD_Define4Edit(uint32_t* ev) {
    Keys<kMenuTuneRdDefine4>(ev);
}
void KeyProcess_9371_RD_Define5Edit(uint32_t* ev) {
    Keys<kMenuTuneRdDefine5>(ev);
}
