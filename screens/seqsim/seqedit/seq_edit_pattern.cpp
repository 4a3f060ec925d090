#include "screens/seqsim/seqedit/seq_edit_pattern.h"

#include <cmath>

#include "core/params/access/key_entry.h"
#include "core/params/access/param_access.h"
#include "core/params/settings/angle_bounds.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/util/num_util.h"
#include "drivers/panel_link.h"
#include "engine/seq/seq_access.h"
#include "platform/stage/wiring_codes.h"
#include "screens/seqsim/seqsim_prepare.h"

namespace {

constexpr int32_t kBandPhaseMax = settings::kAngleMaxWholeDegrees;  // whole degrees only above 500.00 Hz
// The rounding constants are single-precision values, widened.
constexpr double kRoundTenth = static_cast<double>(0.05f);
constexpr double kRoundTime = static_cast<double>(0.00005f);
constexpr double kRoundHundredth = static_cast<double>(0.005f);

// The limits and steps of an event, after the phase rule.
struct Band {
    int32_t upper;
    int32_t stepScale;
    int32_t digits;
};

Band BandOf(const SeqEditRow& row, int phase) {
    if (!row.phaseBand) return {row.max(phase), 1, row.digits};
    const bool above = SeqEdit_Above500Hz(phase);
    Band b{above ? kBandPhaseMax : row.max(phase), above ? 10 : 1, above ? 3 : 4};
    g_EditParam.max = b.upper;
    return b;
}

bool EntryPending() {
    return g_EditBuf.entryState != 0;
}

void SoftKey(const SeqEditRow& row, int phase, uint8_t code) {
    if (code < kKeySoft1 || code > kKeySoft4) return;
    const SeqSoftKey& k = row.soft[code - kKeySoft1];
    int32_t v = 0;
    switch (k.what) {
        case SeqSoft::kNone:
            return;
        case SeqSoft::kValue:
            v = k.value;
            break;
        case SeqSoft::kMax:
            v = row.max(phase);
            break;
        case SeqSoft::kMin:
            v = row.min(phase);
            break;
    }
    g_EditParam.workValue.store(v, std::memory_order_relaxed);
    if (row.softSetsReference) g_EditParam.startValue = v;
}

void CursorKey(const SeqEditRow& row, const Band& band, int phase, uint8_t code, int8_t delta) {
    if (code == kKeyKnob) {
        const int32_t digit = row.digits == 0 ? 0 : static_cast<int32_t>(g_EditParam.cursor);
        const int32_t v = EditValueStep(g_EditParam.workValue.load(std::memory_order_relaxed), digit,
                                        delta * band.stepScale, band.upper, row.min(phase));
        g_EditParam.workValue.store(v, std::memory_order_relaxed);
        g_EditParam.startValue = v;
        return;
    }
    if (row.digits == 0 || (code != kKeyLeft && code != kKeyRight)) return;
    g_EditParam.cursor = static_cast<uint32_t>(
        WrapIndex(static_cast<int32_t>(g_EditParam.cursor), code == kKeyLeft ? 1 : -1, band.digits));
}

void EnterKey(const SeqEditRow& row, const Band& band, int phase) {
    const int32_t working = g_EditParam.workValue.load(std::memory_order_relaxed);
    const bool typed = row.typed != SeqTyped::kNever && EntryPending() &&
                       (row.typed == SeqTyped::kPending || g_EditParam.startValue == working);
    int32_t value = working;
    const bool fits =
        !typed || SeqEdit_TypedToUnit(g_EditBuf.entryValue, row.conv, SeqEdit_Above500Hz(phase), &value);
    if (!fits || value < row.min(phase) || value > band.upper) {
        // Refused before the setter, which would send its last live value, that of another step, to this
        // step's register; the step and its register keep their value.
        if (row.message != 0 && (typed || !row.messageTypedOnly)) MsgQueue_PostId(row.message);
        row.back(phase);
        return;
    }
    const int32_t kept = row.write(value, phase);
    if (row.alsoL2In1P3W && phase == 0 && GetPhaseMode() == kWiring1P3W) row.write(value, 1);
    if (row.message != 0 && kept != value && (typed || !row.messageTypedOnly)) MsgQueue_PostId(row.message);
    SeqEdit_BackAndCheck(row.back, phase, row.verify);
}

}  // namespace

bool SeqEdit_Above500Hz(int phase) {
    return settings::WholeDegreeAngles(SeqGetFset(phase));
}

bool SeqEdit_ExitKey(uint32_t ev, void (*back)(int), int phase, bool atOnce) {
    const uint8_t code = KeyEventCode(ev), cls = KeyEventClass(ev);
    if (!((code == kKeyExit && cls == kClassKeypad) || (code == kKeySeq && cls == kClassFunction)))
        return false;
    if (!atOnce && EntryPending())
        menuResetEdit();
    else
        back(phase);
    return true;
}

bool SeqEdit_TypedToUnit(double x, SeqTypedConv conv, bool above500Hz, int32_t* out) {
    double scaled = x;
    switch (conv) {
        case SeqTypedConv::kWhole:
            break;
        case SeqTypedConv::kTime:
            scaled = (x + kRoundTime) * 10000.0;
            break;
        case SeqTypedConv::kOnOffPhase:
            if (above500Hz && x * 10.0 <= kBandPhaseMax) {
                scaled = std::trunc((x * 10.0 + 5.0) / 10.0) * 10.0;
                break;
            }
            [[fallthrough]];
        case SeqTypedConv::kTenths:
            scaled = (x + kRoundTenth) * 10.0;
            break;
        case SeqTypedConv::kHundredths:
            scaled = (x < 0 ? x - kRoundHundredth : x + kRoundHundredth) * 100.0;
            break;
    }
    scaled = std::trunc(scaled);
    if (!(scaled >= -2147483648.0 && scaled <= 2147483647.0)) return false;
    *out = static_cast<int32_t>(scaled);
    return true;
}

void SeqEdit_BackAndCheck(void (*back)(int), int phase, int (*verify)(int32_t, int)) {
    back(phase);
    Seq_StopOrReset(verify(SeqGetAbsStep(), phase));
}

void SeqEdit_Handle(const SeqEditRow& row, int phase, uint32_t* ev) {
    const Band band = BandOf(row, phase);
    if (SeqEdit_ExitKey(*ev, row.back, phase, row.exitAtOnce)) return;
    const uint8_t code = KeyEventCode(*ev);
    switch (KeyEventClass(*ev)) {
        case kClassSoft:
            SoftKey(row, phase, code);
            break;
        case kClassCursor:
            CursorKey(row, band, phase, code, KeyEventDelta(*ev));
            break;
        case kClassKeypad:
            if (code == kKeyEnter) EnterKey(row, band, phase);
            break;
        default:
            break;
    }
}
