#include "screens/menu/service/service_key_slots.h"

#include "core/system/state/menu_state_ids.h"
#include "screens/menu/rows/menu_row_table.h"
#include "screens/menu/service/brand_model_keys.h"
#include "screens/menu/service/service_tuning_keys.h"
#include "screens/output/keys/key_table.h"

namespace {
constexpr MenuKeySlot kServiceSlots[] = {
    {kMenuFirmTypeEdit, KeyProcess_8623_FirmEdit},
    {kMenuModelTypeEdit, KeyProcess_8623_ModelEdit},
    {kMenuTuneVoltSlew, KeyProcess_9371_VoltSlewEdit},
    {kMenuTuneFanSlew, KeyProcess_9371_FanSlewEdit},
    {kMenuTuneFanDutyMax, KeyProcess_9371_FanDutyMaxEdit},
    {kMenuTuneFanDutyMin, KeyProcess_9371_FanDutyMinEdit},
    {kMenuTuneKp, KeyProcess_9371_AvgCurrComp_kpEdit},
    {kMenuTuneKi, KeyProcess_9371_AvgCurrComp_kiEdit},
    {kMenuTuneRdDefine1, KeyProcess_9371_RD_Define1Edit},
    {kMenuTuneRdDefine2, KeyProcess_9371_RD_Define2Edit},
    {kMenuTuneRdDefine3, KeyProcess_9371_RD_Define3Edit},
    {kMenuTuneRdDefine4, KeyProcess_9371_RD_Define4Edit},
    {kMenuTuneRdDefine5, KeyProcess_9371_RD_Define5Edit},
};

// The model/brand rows' editors have their key handlers here.
constexpr bool EveryEditorHasSlot() {
    for (const menu_rows::MenuRow& r : menu_rows::kMenuRows) {
        if (r.list != menu_rows::NavList::kModelBrand || r.opens != menu_rows::Opens::kEditor) continue;
        bool found = false;
        for (const MenuKeySlot& s : kServiceSlots)
            found = found || s.state == r.state + 1;
        if (!found) return false;
    }
    return true;
}
static_assert(EveryEditorHasSlot(), "a model/brand row opens an editor without key handler");
}  // namespace

int MenuService_RegisterKeys() {
    return KeyTable_RegisterMenu(kServiceSlots, sizeof kServiceSlots / sizeof kServiceSlots[0]);
}
