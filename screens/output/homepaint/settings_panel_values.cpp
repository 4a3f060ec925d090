// The texts of the settings panel's values, by item code.
#include <cstdio>

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/edit_state.h"
#include "panel/draw/value_format.h"
#include "panel/menu/panel_item_rows.h"
#include "panel/overlay/overlay_paint.h"
#include "platform/stage/wave_numbers.h"
#include "platform/stage/wiring_codes.h"
#include "screens/output/home/home_value_fit.h"
#include "screens/output/homepaint/settings_labels.h"
#include "screens/output/homepaint/settings_panel.h"
#include "screens/output/keys/panel_rows.h"

namespace home {

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr int32_t kFourDigits = 9999;

template <size_t N>
void Put(char (&out)[N], const char* text) {
    std::snprintf(out, N, "%s", text);
}

template <size_t N>
void Number(char (&out)[N], int32_t value, const ParamRec& r, int decimals) {
    FormatScaledValue(2, value, out, N, decimals, r.scale, r.unitText != nullptr ? r.unitText : "");
}

int VoltDecimals(int32_t v) {
    return v >= -kFourDigits && v <= kFourDigits ? 2 : 1;
}

// The record of an item in the PHASE view (panel/menu/panel_item_rows.h).
ParamRec Rec(PanelItem code, uint32_t phase) {
    const ItemRecord src = ItemRecordOf(code, phase, false);
    ParamRec r{};
    paramGetRecord(src.id, &r, src.unit);
    return r;
}

template <size_t N>
void DutyText(char (&out)[N], uint32_t phase) {
    const ParamRec r = Rec(kItemDuty, phase);
    const float duty = static_cast<float>(r.value) * r.scale;
    if (GetFrequency(static_cast<int>(phase)) <= kFourDigits)
        std::snprintf(out, N, "%.1f%%", static_cast<double>(duty));
    else
        std::snprintf(out, N, "%d%%", static_cast<int>(duty));
}

// A line voltage is shown within the bounds the selected phase gives it (home_value_fit.h); the
// menu/control thread puts the bounds and the value into the line record.
int32_t LineValue(ParamRec* line, PanelItem code, const LineBounds& bounds) {
    paramGetRecord(PanelItemRowOf(code).lineRecord, line, 0);
    return WithinLine(line->value, bounds);
}

template <size_t N>
void VoltText(char (&out)[N], PanelItem code, uint32_t phase) {
    ParamRec r{};
    int32_t value = 0;
    if (GetPhaseLineView() == 1) {
        value = LineValue(&r, code, code == kItemAcv ? LineAcvBounds(phase) : LineDcvBounds(phase));
    } else {
        r = Rec(code, phase);
        value = r.value;
    }
    Number(out, value, r, VoltDecimals(value));
}

// An ON or OFF phase in whole degrees stops at 359; the menu/control thread puts a larger one back as 359.
template <size_t N>
void StartStopText(char (&out)[N], PanelItem code, uint32_t phase) {
    const ParamRec r = Rec(code, phase);
    if (r.state == 0) {
        Put(out, "FREE");
        return;
    }
    Number(out, ShownAngle(r.value, r.decimals), r, r.decimals);
}

template <size_t N>
void WaveName(char (&out)[N], uint32_t phase) {
    panel::WaveformName(GetWaveform(static_cast<int>(phase)), out, static_cast<int>(N));
}

// The Wave and duty rows share a window: with a square wave the selected duty row shows there as the
// duty, without one the selection goes back to the Wave row.
PanelItem SharedWaveCode(PanelItem code, uint32_t phase) {
    if (code != kItemWave) return code;
    const uint32_t duty = DutyRowOf(GetOutputMode());
    if (g_HomePage.panelRow.load(kRelaxed) != duty) return code;
    if (GetWaveform(static_cast<int>(phase)) == kWaveSqu) return kItemDuty;
    uint32_t expected = duty;
    g_HomePage.panelRow.compare_exchange_strong(expected, duty - 1, kRelaxed);
    return code;
}

}  // namespace

PanelValueText PanelValueTextOf(PanelItem code) {
    const uint32_t phase = core::SelectedPhase();
    PanelValueText t{};
    t.code = SharedWaveCode(code, phase);
    switch (t.code) {
        case kItemPhase: {
            const uint32_t wiring = GetPhaseMode();
            if (IsBalanceActive() != 0 || wiring == kWiring1P3W)
                Put(t.main, NameOf(kViewNames, GetPhaseLineView()));
            else
                Put(t.main, NameOf(kLineNames, GetSelectedLine()));
            break;
        }
        case kItemMode:
            Put(t.main, NameOf(kOutputModeNames, static_cast<int32_t>(GetOutputMode())));
            break;
        case kItemAcv:
        case kItemDcv:
            VoltText(t.main, t.code, phase);
            break;
        case kItemFreq:
        case kItemGain:
        case kItemAngleL2:
        case kItemAngleL3: {
            const ParamRec r = Rec(t.code, phase);
            Number(t.main, r.value, r, r.decimals);
            break;
        }
        case kItemIrms:
        case kItemI: {
            const ParamRec r = Rec(t.code, phase);
            Number(t.main, r.value, r, r.value <= kFourDigits ? 2 : 1);
            break;
        }
        case kItemOnPhase:
        case kItemOffPhase:
            StartStopText(t.main, t.code, phase);
            break;
        case kItemSyncPhase: {
            const ParamRec r = Rec(t.code, phase);
            Number(t.main, ShownAngle(r.value, r.decimals), r, r.decimals);
            break;
        }
        case kItemSig:
            Put(t.main, panel::SigSourceName(GetMainSig()));
            break;
        case kItemSrc:
            Put(t.main, panel::ExtSourceName(GetMainSrc(static_cast<int>(phase))));
            break;
        case kItemSeqTest:
            Put(t.main, "SEQ ...");
            break;
        case kItemSimTest:
            Put(t.main, "SIM ...");
            break;
        case kItemWave:
            WaveName(t.main, phase);
            if (GetWaveform(static_cast<int>(phase)) == kWaveSqu) DutyText(t.second, phase);
            break;
        case kItemDuty:
            DutyText(t.main, phase);
            WaveName(t.second, phase);
            break;
        default:
            break;
    }
    return t;
}

}  // namespace home
