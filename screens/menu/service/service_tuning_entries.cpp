#include "screens/menu/service/service_tuning_entries.h"

#include <algorithm>

#include "core/system/state/edit_state.h"
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
    Enter<256>();
}
void Enter_KeyProcess_9371_FanSlewEdit() {
    Enter<257>();
}
void Enter_KeyProcess_9371_FanDutyMaxEdit() {
    Enter<258>();
}
void Enter_KeyProcess_9371_FanDutyMinEdit() {
    Enter<259>();
}
void Enter_KeyProcess_9371_AvgCurrComp_kpEdit() {
    Enter<260>();
}
void Enter_KeyProcess_9371_AvgCurrComp_kiEdit() {
    Enter<261>();
}
void Enter_KeyProcess_9371_RD_Define1Edit() {
    Enter<262>();
}
void Enter_KeyProcess_9371_RD_Define2Edit() {
    Enter<263>();
}
void Enter_KeyProcess_9371_RD_Define3Edit() {
    Enter<264>();
}
void Enter_KeyProcess_9371_RD_Define4Edit() {
    Enter<265>();
}
void Enter_KeyProcess_9371_RD_Define5Edit() {
    Enter<266>();
}
