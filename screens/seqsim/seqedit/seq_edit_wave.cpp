#include "core/params/access/param_access.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/service_flags.h"
#include "core/system/util/num_util.h"
#include "drivers/panel_link.h"
#include "engine/run/seqsim_verify.h"
#include "engine/seq/seq_access.h"
#include "engine/seq/seq_limits.h"
#include "engine/seq/seq_setters.h"
#include "engine/seq/seq_volt_clamp.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mode.h"
#include "engine/seqsim/seqsim_saved_config.h"
#include "panel/edit/edit_common.h"
#include "platform/stage/wiring_codes.h"
#include "screens/seqsim/seqedit/seq_edit_pattern.h"
#include "screens/seqsim/seqedit/seq_edit_type_wave.h"
#include "screens/seqsim/seqsim_prepare.h"

namespace {

constexpr const char* kLimitedText = "Voltage out of range\n(Setting Voltage Limited)";

void CheckAcv(int phase) {
    Seq_StopOrReset(SeqSimVerifyAcv(SeqGetAbsStep(), phase, 1));
}

// The AC voltage held in Vpp may not stay above the new waveform's Vpp maximum (unless the R&D test mode
// lifts it).
void LimitToVpp(int phase) {
    if (g_ServiceFlags.rdTestMode.load(std::memory_order_relaxed) != 0) return;
    if (!SeqAcvOverVppMax(SeqGetAcv(phase), phase)) return;
    SeqSetAcv(SeqGetAcvVppMax(phase), phase);
    CheckAcv(phase);
    ShowMessage(2, kLimitedText);
}

// An rms voltage above the new waveform's output maximum comes down to it; the register is checked after
// the write that carries the lowered value.
void LimitToMax(int32_t before, int phase) {
    if (SeqClampAcvToMax(before, phase) == 0) return;
    SeqSetAcv(SeqGetStepAcvMax(phase), phase);
    CheckAcv(phase);
    ShowMessage(2, kLimitedText);
}

void Enter(int phase, void (*back)(int)) {
    const int32_t wave = g_EditParam.workValue.load(std::memory_order_relaxed);
    const bool withL2 = phase == 0 && GetPhaseMode() == kWiring1P3W;
    const int vppBefore = SeqSimAcvIsVpp(phase);
    SeqSetWave(wave, phase, 1);
    SeqApplyStep(phase);
    if (withL2) {
        SeqSetWave(wave, 1, 1);
        SeqApplyStep(1);
    }
    back(phase);
    const int32_t before = SeqGetAcv(phase);
    LimitToVpp(phase);
    if (withL2) LimitToVpp(1);
    // The limits of the new waveform apply to both voltages: each is written again.
    SeqSetAcv(SeqGetAcv(phase), phase);
    SeqSetDcv(SeqGetDcv(phase), phase);
    if (withL2) {
        SeqSetAcv(SeqGetAcv(1), 1);
        SeqSetDcv(panel::edit::SaturateI32(-static_cast<int64_t>(SeqGetDcv(0))), 1);
    }
    LimitToMax(before, phase);
    if (withL2) LimitToMax(before, 1);
    if (SeqStepVoltClamp(SeqGetAbsStep()) > 0) SeqSimSetDirty();
    if (vppBefore != SeqSimAcvIsVpp(phase))
        g_SeqSimScreen.redraw.fetch_or(kRedrawUnit, std::memory_order_release);
    Seq_StopOrReset(SeqSimVerifyPhaseReg(SeqGetAbsStep(), phase, 1));
}

}  // namespace

void SeqEdit_WaveKey(int phase, void (*back)(int), uint32_t* ev) {
    if (SeqEdit_ExitKey(*ev, back, phase, false)) return;
    const uint8_t code = KeyEventCode(*ev), cls = KeyEventClass(*ev);
    if (cls == kClassCursor && code == kKeyKnob) {
        g_EditParam.workValue.store(EditValueStep(g_EditParam.workValue.load(std::memory_order_relaxed), 0,
                                                  KeyEventDelta(*ev), SeqGetWaveMax(), SeqGetWaveMin()),
                                    std::memory_order_relaxed);
    } else if (cls == kClassKeypad && code == kKeyEnter) {
        Enter(phase, back);
    }
}
