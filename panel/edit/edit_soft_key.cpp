// The soft keys of a home-screen field: MAX and MIN, the two stored defaults DEF1 and DEF2 (a long press
// stores the typed or present value as the default), and the mode toggles some fields put on DEF1.
#include "core/params/access/acv_unit.h"
#include "core/params/access/key_entry.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/params/settings/setting_write.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "drivers/panel_link.h"
#include "panel/edit/digit_cursor.h"
#include "panel/edit/edit_common.h"
#include "panel/edit/home_edit_keys.h"

using namespace panel::edit;

namespace {

bool InRange(uint32_t id, uint32_t first, uint32_t last) {
    return id >= first && id <= last;
}

// The fields with stored defaults: the voltages, the frequency and the gains of L1.
bool HasDefaults(uint32_t id) {
    return InRange(id, kParamAcv, kParamDcvLine) || InRange(id, kParamFreq, kParamFreq + 2) ||
           id == kParamGain || id == kParamGain2;
}

// The defaults of a line voltage are those of the phase voltage it is made of.
uint32_t DefaultsId(uint32_t id) {
    if (id == kParamAcvLine) return kParamAcv;
    return id == kParamDcvLine ? static_cast<uint32_t>(kParamDcv2) : id;
}

bool IsAcvInVpp(uint32_t id) {
    return InRange(id, kParamAcv, kParamAcvLine) && IsAcvUnitVpp() != 0;
}

// Applies the new working value: the cursor kept on its decade (an AC voltage in Vpp excepted when the
// caller says so), the start value and the setting follow it.
bool Apply(uint32_t id, uint32_t unit, int32_t digits, bool keepCursor, settings::PanelKey key,
           settings::HeldBack* held = nullptr) {
    if (keepCursor) menuKeepDigitCursor(digits);
    g_EditParam.startValue = g_EditParam.workValue.load(std::memory_order_relaxed);
    return SetField(id, g_EditParam.startValue, unit, {key}, held) == settings::SetResult::kWritten;
}

int32_t MaxOrMin(uint32_t id, bool toMax, const ParamRec& rec, uint32_t unit) {
    if (id != kParamBalance2 && id != kParamBalance3)
        g_EditParam.workValue.store(toMax ? FieldMax(id, rec, unit) : FieldMin(id, rec, unit),
                                    std::memory_order_relaxed);
    const int32_t work = g_EditParam.workValue.load(std::memory_order_relaxed);
    if (work == g_EditParam.startValue && !EditAllPhases()) return 0;
    settings::HeldBack held;
    const bool written = Apply(id, unit, rec.digits, !IsAcvInVpp(id),
                               toMax ? settings::PanelKey::kMax : settings::PanelKey::kMin, &held);
    if (held.held) PostLimitMessage(held);
    menuResetEdit();
    return held.held || !written ? 2 : 1;
}

int32_t LoadDefault(uint32_t id, bool first) {
    ParamRec stored{};
    paramGetRecord(DefaultsId(id), &stored, 0);
    g_EditParam.workValue.store(first ? stored.def1 : stored.def2, std::memory_order_relaxed);
    const uint32_t unit = EditPhase();
    AlignFieldLimits(id);
    ParamRec rec = ReadFieldRecord(id, unit);
    const int32_t work = g_EditParam.workValue.load(std::memory_order_relaxed);
    if (work == g_EditParam.startValue && !EditAllPhases()) return 0;
    menuResetEdit();
    if (!settings::Fits(id, static_cast<int>(unit), work, settings::Origin::kPanel)) {
        // The all-phase group is marked all the same; the bounds refuse the value.
        SetField(id, work, unit, {settings::PanelKey::kDefault});
        g_EditParam.workValue.store(g_EditParam.startValue, std::memory_order_relaxed);
        return 2;
    }
    return Apply(id, unit, rec.digits, true, settings::PanelKey::kDefault) ? 1 : 2;
}

int32_t SaveDefault(uint32_t id, bool first, const ParamRec& rec) {
    int32_t value = rec.value;
    if (EntryPending()) {
        value = EntryInSteps(g_EditBuf.entryValue, rec.scale);
        if (value < rec.min || value > rec.max) {
            MsgQueue_PostId(id == kParamFreq ? kMsgFrequencyLimited : kMsgVoltageLimited);
            return 0;
        }
    }
    ParamRec stored{};
    const uint32_t target = DefaultsId(id);
    paramGetRecord(target, &stored, 0);
    (first ? stored.def1 : stored.def2) = value;
    paramPutRecord(target, &stored, 0);
    ShowMessage(2, first ? "Saved to DEF1" : "Saved to DEF2");
    menuResetEdit();
    return 1;
}

int32_t ToggleAngleEnable(uint32_t id) {
    menuResetEdit();
    g_EditParam.cursor = 0;
    settings::ToggleAngleEnable(id, static_cast<int>(EditPhase()));
    return 1;
}

}  // namespace

int32_t menuEditParamSoftKey(uint32_t* ev, uint32_t id) {
    const uint32_t unit = EditLine();
    AlignFieldLimits(id);
    const ParamRec rec = ReadFieldRecord(id, unit);

    const uint8_t code = KeyEventCode(*ev);
    if (code == kKeySoft3 || code == kKeySoft4) return MaxOrMin(id, code == kKeySoft3, rec, unit);
    if (code == kKeySoft1) {
        if (id == kParamCurrLimit || id == kParamCurrLimit2) {
            SetIrmsLimitMode(GetIrmsLimitMode() == 0 ? 1 : 0);
            return 1;
        }
        if (InRange(id, kParamIpkMax, kParamIpkMin + 2)) {
            if (GetPhaseMode() == kWiring1P3W) {
                ShowMessage(2, "Invalid in \nThis Output Phase");
                return 2;
            }
            SetIpkLimitMode(GetIpkLimitMode() == 0 ? 1 : 0);
            return 1;
        }
        if (InRange(id, kParamOnPhase, kParamOffPhaseAll)) return ToggleAngleEnable(id);
    }
    if (code == kKeySoft2 && (id == kParamCurrLimit || id == kParamCurrLimit2)) {
        PeakClearRequest();
        return 0;
    }
    if ((code == kKeySoft1 || code == kKeySoft2) && HasDefaults(id))
        return LoadDefault(id, code == kKeySoft1);
    if ((code == kKeyLongSoft1 || code == kKeyLongSoft2) && HasDefaults(id))
        return SaveDefault(id, code == kKeyLongSoft1, rec);
    return 0;
}
