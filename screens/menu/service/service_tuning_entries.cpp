#include "screens/menu/service/service_tuning_entries.h"

#include <algorithm>

#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "panel/menu_entries.h"
#include "screens/menu/service/service_tuning_table.h"

namespace {
using namespace service_tuning;

template <uint32_t State>
void Enter() {
    const TuneRow& r = TuneRowOf(State);
    menuEnterStateValue(State, std::clamp(TuneValue(r), r.min, r.max));
    g_EditParam.min = r.min;
    g_EditParam.max = r.max;
    g_EditParam.digits = r.digits;
}

}  // namespace

void Enter_KeyProcess_9371_VoltSlewEdit() {
    Enter<kMenuTuneVoltSlew>();
}
void Enter_KeyProcess_9371_FanSlewEdit() {
    Enter<kMenuTuneFanSlew>();
}
void Enter_KeyProcess_9371_FanDutyMaxEdit() {
    Enter<kMenuTuneFanDutyMax>();
}
void Enter_KeyProcess_9371_FanDutyMinEdit() {
    Enter<kMenuTuneFanDutyMin>();
}
void Enter_KeyProcess_9371_AvgCurrComp_kpEdit() {
    Enter<kMenuTuneKp>();
}
void Enter_KeyProcess_9371_AvgCurrComp_kiEdit() {
    Enter<kMenuTuneKi>();
}
void Enter_KeyProcess_9371_RD_Define1Edit() {
    Enter<kMenuTuneRdDefine1>();
}
void Enter_KeyProcess_9371_RD_Define2Edit() {
    Enter<kMenuTuneRdDefine2>();
}
void Enter_KeyProcess_9371_RD_Define3Edit() {
    Enter<kMenuTuneRdDefine3>();
}
void Enter_KeyProcess_9371_RD_Define4Edit() {
    Enter<kMenuTuneRdDefine4>();
}
void Enter_KeyProcess_9371_RD_Define5Edit() {
    Enter<kMenuTuneRdDefine5>();
}
