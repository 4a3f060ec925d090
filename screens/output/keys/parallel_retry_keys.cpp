#include <atomic>

#include "core/control/measure/meas_records.h"
#include "core/control/parallel/parallel_objects.h"
#include "core/params/param_store.h"
#include "core/system/config/model_table.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/home_screens.h"
#include "core/system/state/sys_status.h"
#include "drivers/panel_link.h"
#include "panel/menu/row_entry_hook.h"
#include "panel/menu_entries.h"
#include "screens/output/keys/dialog_keys.h"

namespace {
constexpr uint32_t kYes = 0;
constexpr uint32_t kFirstParallelModel = 3, kLastParallelModel = 11;

// Parallel operation off: the unit runs alone until the user switches it on again.
void ParallelOff() {
    ParamRec rec;
    paramGetRecord(kParamParallelEnable, &rec, 0);
    rec.value = 0;
    paramPutRecord(kParamParallelEnable, &rec, 0);
    if (g_PageId.load() != kScreenAdvanced) menuGoParallelEnableRow();
    else menuGoAdvenceScreen();
    const uint32_t model = g_ModelId.load(std::memory_order_relaxed);
    if (model >= kFirstParallelModel && model <= kLastParallelModel) SysStatusSet(kSysParallelRetry);
}
}  // namespace

void KeyProcess_Parallel_Retry(uint32_t* ev) {
    if (screens::DialogChoiceKey(*ev, &g_EditBuf.choiceValue)) return;
    const uint8_t code = KeyEventCode(*ev);
    if (code == kKeyEnter && g_EditBuf.choiceValue == kYes) {
        // The idle link object takes the retry as a new start of the master.
        ParallelMaster_Start();
        menuGoParallelEnableRow();
    } else if (code == kKeyEnter || code == kKeyExit) {
        ParallelOff();
    }
}
