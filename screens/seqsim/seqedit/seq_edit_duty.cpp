#include <cmath>

#include "core/params/access/param_access.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/util/num_util.h"
#include "drivers/panel_link.h"
#include "engine/run/seqsim_verify.h"
#include "engine/seq/seq_access.h"
#include "engine/seq/seq_setters.h"
#include "panel/edit/edit_common.h"
#include "platform/stage/wiring_codes.h"
#include "screens/seqsim/seqedit/seq_edit_pattern.h"
#include "screens/seqsim/seqedit/seq_edit_type_wave.h"

namespace {

constexpr double kHalfHundredth = static_cast<double>(0.005f);

// Limits (0.1 %), knob step and cursor positions of the duty by the phase's frequency (0.01 Hz): the
// higher the frequency, the coarser the duty the stage can make.
struct DutyBand {
    int32_t lower, upper, stepScale, positions, roundTo;
};
constexpr DutyBand kBands[] = {
    {100, 900, 10, 1, 100},  // above 999.99 Hz: whole 10 %
    {10, 990, 10, 2, 10},    // above 99.99 Hz: whole 1 %
    {1, 999, 1, 3, 1},
};

const DutyBand& BandOf(int phase) {
    const int32_t fset = SeqGetFset(phase);
    return fset > 99999 ? kBands[0] : fset > 9999 ? kBands[1] : kBands[2];
}

// The typed percentage in 0.1 %, rounded to the band's grid while it lies within the band; false when it
// does not fit in 32 bits.
bool Typed(double x, const DutyBand& band, int32_t* out) {
    const double t = std::trunc((x >= 0 ? x + kHalfHundredth : x - kHalfHundredth) * 10.0);
    if (!(t >= -2147483648.0 && t <= 2147483647.0)) return false;
    int32_t v = static_cast<int32_t>(t);
    if (band.roundTo > 1 && v >= band.lower && v <= band.upper)
        v = (v + band.roundTo / 2) / band.roundTo * band.roundTo;
    *out = v;
    return true;
}

void Enter(int phase, const DutyBand& band, void (*back)(int)) {
    int32_t v = g_EditParam.workValue.load(std::memory_order_relaxed);
    if (panel::edit::EntryPending() && !Typed(g_EditBuf.entryValue, band, &v)) {
        MsgQueue_PostId(kMsgDutyLimited);
        back(phase);
        return;
    }
    if (SeqSetDuty(v, phase, band.upper, band.lower) != v) MsgQueue_PostId(kMsgDutyLimited);
    if (phase == 0 && GetPhaseMode() == kWiring1P3W) SeqSetDuty(v, 1, band.upper, band.lower);
    SeqEdit_BackAndCheck(back, phase, SeqVerifyDuty);
}

}  // namespace

void SeqEdit_DutyKey(int phase, void (*back)(int), uint32_t* ev) {
    const DutyBand& band = BandOf(phase);
    g_EditParam.max = band.upper;
    g_EditParam.min = band.lower;
    if (SeqEdit_ExitKey(*ev, back, phase, false)) return;
    const uint8_t code = KeyEventCode(*ev), cls = KeyEventClass(*ev);
    if (cls == kClassKeypad && code == kKeyEnter) {
        Enter(phase, band, back);
    } else if (cls == kClassCursor && code == kKeyKnob) {
        const int32_t w = EditValueStep(g_EditParam.workValue.load(std::memory_order_relaxed),
                                        static_cast<int32_t>(g_EditParam.cursor),
                                        KeyEventDelta(*ev) * band.stepScale, band.upper, band.lower);
        g_EditParam.workValue.store(w, std::memory_order_relaxed);
        // The reference value (the edit buffer's start choice value, loaded by the entry) follows every
        // turn that changed something.
        if (w == static_cast<int32_t>(g_EditBuf.startChoiceValue))
            MsgQueue_PostId(kMsgDutyLimited);
        else
            g_EditBuf.startChoiceValue = static_cast<uint32_t>(w);
    } else if (cls == kClassCursor && (code == kKeyLeft || code == kKeyRight)) {
        g_EditParam.cursor = static_cast<uint32_t>(
            WrapIndex(static_cast<int32_t>(g_EditParam.cursor), code == kKeyLeft ? 1 : -1, band.positions));
    }
}
