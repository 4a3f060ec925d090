#include <atomic>

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/home_screens.h"
#include "core/system/util/num_util.h"
#include "drivers/panel_link.h"
#include "panel/edit/home_edit_keys.h"
#include "panel/menu_entries.h"
#include "platform/stage/wiring_codes.h"
#include "screens/output/keys/dialog_keys.h"
#include "screens/output/keys/home_keys.h"

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;

// The simple screen shows one quantity fewer in 3P4W: its last item is out of reach there.
int32_t ItemMax() {
    const bool fewer = g_LastHomeView.load(kRelaxed) == kScreenSimple && GetPhaseMode() == kWiring3P4W;
    return g_EditParam.max - (fewer ? 1 : 0);
}

// The meters show every step: the item is stored as the knob turns, not on the enter key.
void StepItem(int8_t delta) {
    const int32_t work = EditValueStep(g_EditParam.workValue.load(kRelaxed), 0, -delta, ItemMax(), g_EditParam.min);
    g_EditParam.workValue.store(work, kRelaxed);
    const uint32_t id = g_MenuState.load(kRelaxed);
    ParamRec rec;
    paramGetRecord(id, &rec, 0);
    rec.value = work;
    paramPutRecord(id, &rec, 0);
}
}  // namespace

void Keyprocess_MeasItem1(uint32_t* ev) {
    const uint8_t code = KeyEventCode(*ev);
    switch (KeyEventClass(*ev)) {
        case kClassKeypad:
            if (code == kKeyExit || code == kKeyEnter) menuReturnHome();
            break;
        case kClassShortcut: KeyProcess_HomeParamKeys(ev); break;
        case kClassSoft: KeyProcess_HomeSoftKeys(ev); break;
        case kClassCursor:
            if (code == kKeyKnob) StepItem(KeyEventDelta(*ev));
            break;
        case kClassFunction: KeyProcess_HomeCommonKeys(ev); break;
        default: break;
    }
}
