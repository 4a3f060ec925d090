#include "screens/output/keys/field_keys.h"

#include <atomic>

#include "core/params/access/key_entry.h"
#include "core/params/access/param_access.h"
#include "core/params/limits/limit_checks.h"
#include "core/params/limits/phase_limits.h"
#include "core/params/param_store.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "drivers/panel_link.h"
#include "panel/edit/edit_common.h"
#include "panel/edit/home_edit_keys.h"
#include "platform/stage/wiring_codes.h"
#include "screens/output/keys/field_rows.h"

using namespace screens::fields;

namespace {

// With all phases edited in 3P4W the message names the phases that held the value back (none named when
// all three did); the line voltages have one limit.
void PostLimited(Limited limited, uint32_t id) {
    if (limited == Limited::kFrequency) {
        MsgQueue_PostId(kMsgFrequencyLimited);
    } else if (limited == Limited::kVoltage) {
        const bool perPhase = id != kParamAcvLine && id != kParamDcvLine && panel::edit::EditAllPhases() &&
                              GetPhaseMode() == kWiring3P4W;
        const uint32_t mask = perPhase ? g_LimitedPhase.mask.load(std::memory_order_relaxed) : 0;
        MsgQueue_PostId(kMsgVoltageLimited + static_cast<int32_t>(mask));
    }
}

// The ON/OFF angles and the L1 angle take their keys only while the angle is switched on (word 10 of the
// record: the selected phase's, L1's for the L1 angle).
bool AngleOn(const FieldRow& row) {
    ParamRec rec;
    if (row.gate == Gate::kBalance)
        paramGetRecord(kParamBalance, &rec, 0);
    else
        paramGetRecord(row.gate == Gate::kOnAngle ? kParamOnPhase : kParamOffPhase, &rec, panel::edit::EditPhase());
    return rec.state != 0;
}

void NumericField(const FieldRow& row, uint32_t* ev, uint32_t id) {
    if (row.freqFirst) FreqLimitCheck(GetOutputMode());
    const uint8_t code = KeyEventCode(*ev);
    const bool on = row.gate == Gate::kNone || AngleOn(row);
    // The operations post some refusals themselves: the field adds its message only when none came.
    const uint32_t queued = MsgQueue_Count();
    int32_t result = 0;
    switch (KeyEventClass(*ev)) {
        case kClassKeypad:
            result = menuEditParamEnterKey(ev, id);
            if (!on && panel::edit::EntryPending()) menuResetEdit();
            break;
        case kClassSoft:
            if (on || code == kKeySoft1 || (row.gate == Gate::kBalance && code == kKeySoft2))
                result = menuEditParamSoftKey(ev, id);
            break;
        case kClassCursor:
            if (on && row.gate != Gate::kBalance) result = menuEditParamKnobKey(ev, id);
            break;
        case kClassShortcut: KeyProcess_HomeParamKeys(ev); break;
        case kClassFunction: KeyProcess_HomeCommonKeys(ev); break;
        default: break;
    }
    if (result == 2 && MsgQueue_Count() <= queued) PostLimited(row.limited, id);
}
}  // namespace

void KeyProcess_HomeField(uint32_t* ev) {
    const uint32_t state = g_MenuState.load(std::memory_order_relaxed);
    const FieldRow* row = FindFieldRow(state);
    if (row == nullptr) return;
    switch (row->field) {
        case Field::kNumeric: NumericField(*row, ev, state); break;
        case Field::kKind: KindField(state, ev); break;
        case Field::kRange: RangeField(ev); break;
        case Field::kChoice: ChoiceField(*row, ev); break;
        case Field::kDuty: DutyField(ev); break;
        case Field::kNone: break;
    }
}
