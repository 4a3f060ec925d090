#include "screens/seqsim/seqedit/seq_edit_values.h"

#include <cstdlib>

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/service_flags.h"
#include "core/system/util/num_util.h"
#include "drivers/panel_link.h"
#include "engine/run/seqsim_verify.h"
#include "engine/seq/seq_limits.h"
#include "engine/seq/seq_setters.h"
#include "panel/edit/digit_cursor.h"
#include "panel/edit/edit_common.h"
#include "platform/stage/wiring_codes.h"
#include "screens/seqsim/seqedit/seq_edit_band.h"
#include "screens/seqsim/seqedit/seq_edit_def.h"
#include "screens/seqsim/seqedit/seq_edit_pattern.h"

namespace {

constexpr int32_t kVoltTopCursor = 5;
constexpr int32_t kTwoDecimalsTop = 9999, kOneDecimalTop = 99999;

// The edit words as these editors use them (the SIMULATE editors use the same): the working value, the
// reference value the entry loaded with it (the edit buffer's start choice value) and the previous value
// the digit cursor was last placed for (the edit copy's start value, which menuKeepDigitCursor compares
// with). The entries load all three with the field's value.
int32_t Working() {
    return g_EditParam.workValue.load(std::memory_order_relaxed);
}
void SetWorking(int32_t v) {
    g_EditParam.workValue.store(v, std::memory_order_relaxed);
}
int32_t Reference() {
    return static_cast<int32_t>(g_EditBuf.startChoiceValue);
}
void SetReference(int32_t v) {
    g_EditBuf.startChoiceValue = static_cast<uint32_t>(v);
}
int32_t Previous() {
    return g_EditParam.startValue;
}

// The AC voltage may go up to its Vpp maximum while the step holds it in Vpp, unless the R&D test mode
// lifts that ceiling.
int32_t AcvUpper(int phase) {
    const int32_t rangeMax = SeqGetAcvRangeMax(phase);
    if (SeqAcvOverVppMax(rangeMax, phase) && g_ServiceFlags.rdTestMode.load(std::memory_order_relaxed) == 0)
        return SeqGetAcvVppMax(phase);
    return rangeMax;
}
int32_t FsetMax(int) {
    return SeqGetFsetMax();
}
int32_t FsetMin(int) {
    return SeqGetFsetMin();
}

int32_t AcvScale(int32_t w) {
    return w <= kTwoDecimalsTop ? 1 : w <= kOneDecimalTop ? 10 : 100;
}
int32_t AcvPositions(int32_t w, int32_t) {
    return w <= kTwoDecimalsTop ? 5 : 4;
}
int32_t DcvScale(int32_t w) {
    return std::abs(static_cast<int64_t>(w)) <= kTwoDecimalsTop ? 1 : 10;
}
int32_t DcvPositions(int32_t w, int32_t) {
    return std::abs(static_cast<int64_t>(w)) <= kTwoDecimalsTop ? 5 : 4;
}
int32_t FsetScale(int32_t w) {
    return w <= kOneDecimalTop ? 1 : 10;
}
int32_t FsetPositions(int32_t w, int32_t digits) {
    return w <= kOneDecimalTop ? digits : digits - 1;
}

int32_t Same(int32_t v) {
    return v;
}
// In 1P3W L2 carries L1's DC voltage with the opposite sign, as the home screen's line voltage does.
int32_t Negated(int32_t v) {
    return panel::edit::SaturateI32(-static_cast<int64_t>(v));
}

// The record's digit count gives the frequency field its positions; the voltage rule's top is fixed.
int32_t Digits(const SeqValueRow& row) {
    if (!row.frequency) return kVoltTopCursor;
    ParamRec rec{};
    paramGetRecord(row.defId, &rec, 0);
    return rec.digits;
}

// After soft keys and DEF recalls: the band rule when the value left the one the cursor was placed for.
void FollowBand(const SeqValueRow& row, int32_t digits) {
    if (Working() == Previous()) return;
    g_SeqEditPrevValue = Previous();
    if (row.frequency)
        SeqEdit_AdjustFsetDigitBand(digits);
    else
        SeqEdit_AdjustDigitBand(kVoltTopCursor);
    g_EditParam.startValue = Working();
}

// The frequency keeps every digit when the knob crosses 999.99 Hz: only the cursor is re-placed, by the
// edit words' own rule measured from the previous value.
void KeepFsetCursor(int32_t digits) {
    const int32_t w = Working();
    menuKeepDigitCursor(digits);
    SetWorking(w);
}

void Knob(const SeqValueRow& row, int8_t delta, int32_t digits) {
    const int32_t before = Working();
    const int32_t w = EditValueStep(before, static_cast<int32_t>(g_EditParam.cursor),
                                    delta * row.stepScale(before), g_EditParam.max, g_EditParam.min);
    SetWorking(w);
    if (w != Previous()) {
        g_SeqEditPrevValue = Previous();
        if (row.frequency)
            KeepFsetCursor(digits);
        else
            SeqEdit_AdjustDigitBand(kVoltTopCursor);
        g_EditParam.startValue = Working();
    }
    if (Working() == Reference())
        MsgQueue_PostId(row.message);
    else
        SetReference(Working());
}

void SoftKey(const SeqValueRow& row, int phase, uint8_t code, int32_t digits) {
    switch (code) {
        case kKeySoft3:
        case kKeySoft4:
            SetReference(code == kKeySoft3 ? g_EditParam.max : g_EditParam.min);
            SetWorking(Reference());
            FollowBand(row, digits);
            return;
        case kKeySoft1:
        case kKeySoft2: {
            const int32_t v = SeqEdit_DefValue(row.defId, code == kKeySoft1);
            if (v < g_EditParam.min || v > row.defUpper(phase)) {
                MsgQueue_PostId(row.message);
                return;
            }
            SetReference(v);
            SetWorking(v);
            FollowBand(row, digits);
            return;
        }
        case kKeyLongSoft1:
        case kKeyLongSoft2:
            SeqEdit_StoreDef(row.defId, code == kKeyLongSoft1, row.message);
            return;
        default:
            return;
    }
}

void Enter(const SeqValueRow& row, int phase, void (*back)(int)) {
    int32_t v = Working();
    if (panel::edit::EntryPending() &&
        !SeqEdit_TypedToUnit(g_EditBuf.entryValue, SeqTypedConv::kHundredths, false, &v)) {
        // Beyond 32 bits: refused as the setter refuses a value out of range, nothing is written.
        MsgQueue_PostId(row.message);
        back(phase);
        return;
    }
    if (row.write(v, phase) != v) MsgQueue_PostId(row.message);
    if (phase == 0 && GetPhaseMode() == kWiring1P3W) row.write(row.l2Value(v), 1);
    SeqEdit_BackAndCheck(back, phase, row.verify);
}

}  // namespace

const SeqValueRow kSeqAcvRow = {
    .lower = SeqGetAcvRangeMin,
    .upper = AcvUpper,
    .defUpper = SeqGetAcvRangeMax,
    .stepScale = AcvScale,
    .positions = AcvPositions,
    .frequency = false,
    .defId = kParamAcv,
    .message = kMsgVoltageLimited,
    .write = SeqSetAcv,
    .l2Value = Same,
    .verify = [](int32_t step, int phase) { return SeqSimVerifyAcv(step, phase, 1); },
};
const SeqValueRow kSeqDcvRow = {
    .lower = SeqGetDcvRangeMin,
    .upper = SeqGetDcvRangeMax,
    .defUpper = SeqGetDcvRangeMax,
    .stepScale = DcvScale,
    .positions = DcvPositions,
    .frequency = false,
    .defId = kParamDcv,
    .message = kMsgVoltageLimited,
    .write = SeqSetDcv,
    .l2Value = Negated,
    .verify = [](int32_t step, int phase) { return SeqSimVerifyDcv(step, phase, 1); },
};
const SeqValueRow kSeqFsetRow = {
    .lower = FsetMin,
    .upper = FsetMax,
    .defUpper = FsetMax,
    .stepScale = FsetScale,
    .positions = FsetPositions,
    .frequency = true,
    .defId = kParamFreq,
    .message = kMsgFrequencyLimited,
    .write = SeqSetFset,
    .l2Value = Same,
    .verify = [](int32_t step, int phase) { return SeqSimVerifyFset(step, phase, 1); },
};

void SeqEdit_ValueKey(const SeqValueRow& row, int phase, void (*back)(int), uint32_t* ev) {
    g_EditParam.max = row.upper(phase);
    g_EditParam.min = row.lower(phase);
    if (SeqEdit_ExitKey(*ev, back, phase, false)) return;
    const int32_t digits = Digits(row);
    const uint8_t code = KeyEventCode(*ev);
    switch (KeyEventClass(*ev)) {
        case kClassSoft:
            SoftKey(row, phase, code, digits);
            break;
        case kClassCursor:
            if (code == kKeyKnob) {
                Knob(row, KeyEventDelta(*ev), digits);
            } else if (code == kKeyLeft || code == kKeyRight) {
                g_EditParam.cursor = static_cast<uint32_t>(WrapIndex(static_cast<int32_t>(g_EditParam.cursor),
                                                                     code == kKeyLeft ? 1 : -1,
                                                                     row.positions(Working(), digits)));
            }
            break;
        case kClassKeypad:
            if (code == kKeyEnter) Enter(row, phase, back);
            break;
        default:
            break;
    }
}
