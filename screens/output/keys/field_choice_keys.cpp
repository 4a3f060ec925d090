#include <atomic>
#include <cmath>

#include "core/params/access/key_entry.h"
#include "core/params/access/param_access.h"
#include "core/params/param_dirty.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/params/settings/duty_band.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/util/num_util.h"
#include "drivers/panel_link.h"
#include "panel/edit/edit_common.h"
#include "panel/edit/home_edit_keys.h"
#include "panel/edit/param_enter.h"
#include "panel/menu_entries.h"
#include "platform/stage/wave_numbers.h"
#include "platform/stage/wiring_codes.h"
#include "screens/output/keys/field_keys.h"
#include "screens/output/keys/field_rows.h"

using panel::edit::EntryPending;

namespace screens::fields {
namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr uint32_t kLastMode = 9;
constexpr uint32_t kParamSelectedLine = kParamMeasItem1 + 5;  // the line the phase fields edit

int32_t Work() {
    return g_EditParam.workValue.load(kRelaxed);
}
void SetWork(int32_t v) {
    g_EditParam.workValue.store(v, kRelaxed);
}
int32_t Cursor() {
    return static_cast<int32_t>(g_EditParam.cursor);
}
int Line() {
    return static_cast<int>(panel::edit::EditLine());
}

// Class 2 and 5 keys mean the same in every field.
bool CommonKeys(uint32_t* ev) {
    switch (KeyEventClass(*ev)) {
        case kClassShortcut: KeyProcess_HomeParamKeys(ev); return true;
        case kClassFunction: KeyProcess_HomeCommonKeys(ev); return true;
        default: return false;
    }
}

void PutItem(uint32_t id, int32_t value) {
    ParamRec rec;
    paramGetRecord(id, &rec, 0);
    rec.value = value;
    paramPutRecord(id, &rec, 0);
}

// The line/view field shows the PHASE/LINE view where balanced output has one; elsewhere the line.
bool ViewField() {
    const uint32_t wiring = GetPhaseMode();
    const uint32_t mode = GetOutputMode();
    const bool balanced = GetPhaseBalanceMode() == 1 && (wiring == kWiring3P4W || wiring == kWiring1P3W);
    return balanced && IsAcIntSyncOrVcaMode(mode);
}

void ChoiceLimits(Choice choice, int32_t* max, int32_t* min) {
    *max = g_EditParam.max;
    *min = g_EditParam.min;
    if (choice == Choice::kMode) {
        *max = kLastMode;
        *min = 0;
    } else if (choice == Choice::kLineView) {
        const uint32_t wiring = GetPhaseMode();
        const uint32_t mode = GetOutputMode();
        const bool balanced = GetPhaseBalanceMode() == 1 && (wiring == kWiring3P4W || wiring == kWiring1P3W);
        *min = 0;
        if (balanced && IsAcIntOrSyncMode(mode)) *max = 1;
        else if (balanced && mode == kModeAcVca) *max = 0;
        else *max = wiring == kWiring3P4W ? 2 : 0;
    }
}

// A wave shape edited on all phases (All, or the 1P3W wiring that always moves both) goes to the three.
void WaveAllPhases(int32_t wave) {
    if (!panel::edit::EditAllPhases() && GetPhaseMode() != kWiring1P3W) return;
    if (GetWaveform(0) == wave && GetWaveform(1) == wave && GetWaveform(2) == wave) return;
    MarkParamGroupChanged(kParamWaveShape);
    for (int p = 0; p < 3; ++p)
        SetWaveform(wave, p);
}

void ApplyChoice(Choice choice, int32_t value) {
    switch (choice) {
        case Choice::kWave:
            SetWaveform(value, Line());
            if (GetPhaseBalanceMode() == 1 && value != kWaveSin) PutItem(kParamMeasItem7, 0);
            break;
        case Choice::kLineView:
            if (!ViewField()) PutItem(kParamSelectedLine, value);
            else if (GetWaveformSel() == kWaveSin) PutItem(kParamMeasItem7, value);
            else ShowMessage(2, "Valid Only All Phase is SIN\nWave Shape and Balance");
            break;
        case Choice::kMode: SetOutputMode(static_cast<uint32_t>(value)); break;
        case Choice::kSig: SetMainSig(value, Line()); break;
        case Choice::kSrc:
            if (panel::edit::EditAllPhases()) MarkParamGroupChanged(kParamMainSrc);
            SetMainSrc(value, Line());
            break;
        case Choice::kNone: break;
    }
}

void SetKind(uint32_t state, int32_t kind) {
    const uint32_t bit = state == kParamVpkKind ? core::kFlagVpkKind
                         : state == kParamFreqLimitKind ? core::kFlagFreqLimitKind
                                                        : core::kFlagIpkKind;
    if ((kind & 1) != 0) g_ParamFlags.fetch_or(bit, kRelaxed);
    else g_ParamFlags.fetch_and(~bit, kRelaxed);
}

// Each duty is a whole number of the steps the frequency allows: 10 % above 1 kHz, 1 % above 100 Hz.
int32_t RoundDuty(int32_t duty, int32_t frequency) {
    if (frequency >= 100000 && duty > 99 && duty < 901) return (duty + 50) / 100 * 100;
    if (frequency >= 10000 && frequency < 100000 && duty > 9 && duty < 991) return (duty + 5) / 10 * 10;
    return duty;
}

void DutyEnter() {
    const int32_t work = Work();
    const int32_t max = g_EditParam.max, min = g_EditParam.min;
    if ((panel::edit::EditAllPhases() || GetPhaseMode() == kWiring1P3W) &&
        (GetWaveDuty(0) != work || GetWaveDuty(1) != work || GetWaveDuty(2) != work)) {
        MarkParamGroupChanged(kParamWaveShape);
        for (int p = 0; p < 3; ++p)
            SetWaveDuty(work, p, max, min);
    }
    if (EntryPending()) {
        const int line = Line();
        ParamRec rec;
        paramGetRecord(kParamWaveDuty, &rec, static_cast<uint32_t>(line));
        const int32_t duty = TypedDuty(g_EditBuf.entryValue, rec.scale, rec.digits, GetFrequency(line));
        if (duty != GetWaveDuty(line)) {
            if (duty < 0) {
                menuResetEdit();
            } else {
                SetWork(duty);
                g_EditParam.startValue = duty;
                SetWaveDuty(duty, line, max, min);
            }
        }
    }
    menuGoAdvenceScreen();
}
}  // namespace

void KindField(uint32_t state, uint32_t* ev) {
    if (CommonKeys(ev)) return;
    const uint8_t code = KeyEventCode(*ev);
    switch (KeyEventClass(*ev)) {
        case kClassKeypad:
            if (code == kKeyEnter) {
                const bool second = (Work() & 1) != 0;
                const uint32_t first = state == kParamVpkKind ? kParamVpkMax
                                       : state == kParamFreqLimitKind ? kParamFreqLimitHi
                                                                      : kParamIpkMax;
                const uint32_t other = state == kParamVpkKind ? kParamVpkMin
                                       : state == kParamFreqLimitKind ? kParamFreqLimitLo
                                                                      : kParamIpkMin;
                menuEnterParamState(second ? other : first);
            } else if (code == kKeyExit) {
                if (EntryPending()) menuResetEdit();
                else menuGoAdvenceScreen();
            }
            break;
        case kClassSoft:
            if (code == kKeySoft8) menuGoAdvenceScreen();
            break;
        case kClassCursor:
            if (code == kKeyKnob)
                SetWork(EditValueStep(Work(), Cursor(), KeyEventDelta(*ev), 1, 0));
            else if (state == kParamIpkKind && (code == kKeyRight || code == kKeyLeft))
                SetWork(code == kKeyRight ? 1 : 0);
            else return;
            SetKind(state, Work());
            break;
        default: break;
    }
}

void RangeField(uint32_t* ev) {
    if (CommonKeys(ev)) return;
    const uint8_t code = KeyEventCode(*ev);
    const uint8_t cls = KeyEventClass(*ev);
    if (cls == kClassKeypad && (code == kKeyExit || code == kKeyEnter)) {
        menuGoAdvenceScreen();
        return;
    }
    if (cls != kClassSoft) return;
    const bool twoWire = GetPhaseMode() == kWiring1P2W;
    const uint32_t mode = GetOutputMode();
    if (code == kKeySoft1 && (IsIntMode(mode) || IsSyncMode(mode)))
        SetVoltRange(twoWire ? core::kRangeAuto1P2W : core::kRangeAuto3P);
    else if (code == kKeySoft3)
        SetVoltRange(twoWire ? core::kRange200V1P2W : core::kRange200V3P);
    else if (code == kKeySoft4)
        SetVoltRange(twoWire ? core::kRange100V1P2W : core::kRange100V3P);
}

void ChoiceField(const FieldRow& row, uint32_t* ev) {
    if (CommonKeys(ev)) return;
    const uint8_t code = KeyEventCode(*ev);
    switch (KeyEventClass(*ev)) {
        case kClassKeypad:
            if (code != kKeyExit && code != kKeyEnter) break;
            if (code == kKeyEnter) {
                const int32_t work = Work();
                if (row.choice == Choice::kWave) WaveAllPhases(work);
                if (work != g_EditParam.startValue) {
                    g_EditParam.startValue = work;
                    ApplyChoice(row.choice, work);
                }
            }
            menuGoAdvenceScreen();
            break;
        case kClassCursor:
            if (code == kKeyKnob) {
                int32_t max = 0, min = 0;
                ChoiceLimits(row.choice, &max, &min);
                SetWork(EditValueStep(Work(), Cursor(), row.knobSign * KeyEventDelta(*ev), max, min));
            }
            break;
        default: break;
    }
}

void DutyField(uint32_t* ev) {
    if (CommonKeys(ev)) return;
    const uint8_t code = KeyEventCode(*ev);
    switch (KeyEventClass(*ev)) {
        case kClassKeypad:
            if (code == kKeyEnter)
                DutyEnter();
            else if (code == kKeyExit)
                menuEditParamEnterKey(ev, kParamWaveDuty);
            break;
        case kClassCursor: menuEditParamKnobKey(ev, kParamWaveDuty); break;
        default: break;
    }
}

}  // namespace screens::fields

int32_t screens::TypedDuty(double entry, float scale, int32_t digitSetting, int32_t frequency) {
    const settings::DutyBand band = settings::DutyBandOfDigits(digitSetting);
    // Past the 32-bit range the number is out of bounds whatever it rounds to.
    const double steps = scale != 0.0f ? (entry + (entry < 0 ? -0.005 : 0.005)) / scale : 0.0;
    if (!(std::fabs(steps) < 2147483647.0)) return -1;
    const int32_t duty = fields::RoundDuty(static_cast<int32_t>(steps), frequency);
    return duty < band.lo || duty > band.hi ? -1 : duty;
}
