#include "core/params/access/param_access.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/util/num_util.h"
#include "drivers/panel_link.h"
#include "engine/run/seqsim_verify.h"
#include "engine/seq/seq_access.h"
#include "engine/seq/seq_limits.h"
#include "engine/seq/seq_setters.h"
#include "platform/stage/wiring_codes.h"
#include "screens/seqsim/seqedit/seq_edit_pattern.h"
#include "screens/seqsim/seqedit/seq_edit_type_wave.h"

namespace {

constexpr int32_t kCT = 0, kKP = 1, kSP = 2;

void SetWorking(int32_t v) {
    g_EditParam.workValue.store(v, std::memory_order_relaxed);
}

void Write(const SeqTypeRow& row, int32_t type, int phase) {
    row.write(type, phase);
    SeqApplyStep(phase);
}

void Enter(const SeqTypeRow& row, int phase, void (*back)(int)) {
    const int32_t type = g_EditParam.workValue.load(std::memory_order_relaxed);
    if (row.conflict != nullptr && row.stored(phase) == kCT && (type == kKP || type == kSP) &&
        row.conflict(type, phase)) {
        MsgQueue_PostId(kMsgVoltageLimited);
        back(phase);
        return;
    }
    Write(row, type, phase);
    if (phase == 0 && GetPhaseMode() == kWiring1P3W) Write(row, type, 1);
    SeqEdit_BackAndCheck(back, phase, [](int32_t step, int p) { return SeqSimVerifyPhaseReg(step, p, 1); });
}

}  // namespace

void SeqEdit_TypeKey(const SeqTypeRow& row, int phase, void (*back)(int), uint32_t* ev) {
    if (SeqEdit_ExitKey(*ev, back, phase, false)) return;
    const uint8_t code = KeyEventCode(*ev);
    const bool step0 = SeqGetAbsStep() == 0;
    switch (KeyEventClass(*ev)) {
        case kClassSoft:
            if (code == kKeySoft1) SetWorking(kCT);
            if (code == kKeySoft2 && !step0) SetWorking(kKP);
            if (code == kKeySoft3) SetWorking(kSP);
            break;
        case kClassCursor:
            if (code != kKeyKnob) break;
            // Step 0 has no level to keep: the knob goes straight between CT and SP.
            SetWorking(step0 ? SelectIfPositive(KeyEventDelta(*ev), kSP, kCT)
                             : EditValueStep(g_EditParam.workValue.load(std::memory_order_relaxed), 0,
                                             KeyEventDelta(*ev), SeqGetTypeMax(), SeqGetTypeMin()));
            break;
        case kClassKeypad:
            if (code == kKeyEnter) Enter(row, phase, back);
            break;
        default:
            break;
    }
}
