#include "panel/overlay/overlay_track.h"

#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/edit_state.h"
#include "panel/dialogs/limit_popups.h"
#include "panel/menu/dialog_words.h"
#include "panel/menu/home_field_rows.h"
#include "platform/stage/wiring_codes.h"

OverlayTrack g_OverlayTrack{};
std::atomic<uint32_t> g_EditCursorResetWord{0};

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
using panel::g_OverlayWins;
using panel::home::SoftKeys;

// When set, the checks only take their copies (the layout switch repaints the keys itself).
bool g_priming = false;

void Repaint(WM_HWINDOW h) {
    if (h != 0 && !g_priming) WM_Repaint(h);
}
void RepaintKeys(std::initializer_list<int> keys) {
    for (int k : keys)
        Repaint(g_OverlayWins.key[k - 1]);
}
template <typename T>
bool Changed(T& copy, T now) {
    if (copy == now) return false;
    copy = now;
    return true;
}

uint32_t State() {
    return g_MenuState.load(kRelaxed);
}
uint32_t Mode() {
    return g_OutputModeIdx.load(kRelaxed);
}
bool OnePhase() {
    return g_PhaseMode.load(kRelaxed) == kWiring1P2W;
}
bool ModeFiveOrSix() {
    return IsAddMode(Mode());
}

// The record whose stored defaults the DEF keys of a state show, or 0.
uint32_t DefaultsRecordOf(uint32_t state) {
    const panel::home::HomeFieldRow* row = panel::home::HomeFieldOf(state);
    return row != nullptr ? row->defaults : kParamNone;
}

}  // namespace

void EditCursorResetOnce() {
    if (g_EditCursorResetWord.exchange(0, std::memory_order_acq_rel) > 0) {
        g_EditShown.buf.choiceCursor = 0;
        g_OverlayTrack.typedCursor = 0;
    }
}

void Overlay_CheckDefaults() {
    const uint32_t id = DefaultsRecordOf(State());
    if (id == 0) return;
    ParamRec rec;
    paramGetRecord(id, &rec, 0);
    if (Changed(g_OverlayTrack.def1, rec.def1)) RepaintKeys({1});
    if (Changed(g_OverlayTrack.def2, rec.def2)) RepaintKeys({2});
}

void Overlay_CheckRange() {
    if (Changed(g_OverlayTrack.rangeCode, core::CurrentRangeCode())) {
        RepaintKeys({1, 3, 4, 8});
        Repaint(g_OverlayWins.hint);
    }
}

void Overlay_CheckStateValues() {
    auto& t = g_OverlayTrack;
    const uint32_t state = State();
    const int phase = static_cast<int>(core::SelectedPhase());
    const int later = ModeFiveOrSix() ? 1 : 0;
    switch (state) {
        case kMenuPhaseDialog:
            if (Changed(t.cfgChoice, g_CfgPhaseChoice.load(kRelaxed))) Repaint(g_LimitPopups[kDlgCfgPhase].child);
            break;
        case kMenuPresetPhaseDialog:
            if (Changed(t.dialogChoice, g_DialogChoice.load(kRelaxed)))
                Repaint(g_LimitPopups[kDlgCfgConfirm].child);
            break;
        default:
            break;
    }
    const panel::home::HomeFieldRow* row = panel::home::HomeFieldOf(state);
    switch (row != nullptr ? row->softKeys : SoftKeys::kNone) {
        case SoftKeys::kIpkLimit:
            RepaintKeys({8});
            if (Changed(t.ipkMode, GetIpkLimitMode())) RepaintKeys({1});
            break;
        case SoftKeys::kIrmsLimit:
            if (Changed(t.irmsMode, GetIrmsLimitMode())) RepaintKeys({1});
            break;
        case SoftKeys::kFixedFree: {
            const bool on = row->keys.gate == panel::home::Gate::kOnAngle;
            if (Changed(t.phaseState, on ? GetOnPhaseState(phase) : GetOffPhaseState(phase))) {
                RepaintKeys({1, 3, 4});
                Repaint(g_OverlayWins.cell[(OnePhase() ? 6 : 0) + (on ? 0 : 1) + later]);
            }
            break;
        }
        case SoftKeys::kBalance: {
            const bool balance = Changed(t.balanceMode, GetPhaseBalanceMode());
            if (Changed(t.relock, GetRelock()) || balance) {
                RepaintKeys({1, 2, 3, 4});
                Repaint(g_OverlayWins.cell[(OnePhase() ? 10 : 4) + (state == kParamBalance3 ? 1 : 0)]);
            }
            break;
        }
        default:
            break;
    }
}

namespace panel {

namespace {

WM_HWINDOW ValueWindow(const OverlayLayoutRow* row) {
    const WM_HWINDOW* ref = row->c != nullptr ? row->c : row->b;
    return ref != nullptr ? *ref : 0;
}

void SwitchTo(uint32_t state) {
    auto& t = g_OverlayTrack;
    t.state = state;
    t.row = Overlay_SwitchLayout(t.row, state, g_OverlayLayout[OnePhase() ? 1 : 0]);
    Repaint(g_OverlayWins.readout);
    // The keys are drawn whole below: the checks start from what they show now.
    g_priming = true;
    Overlay_CheckDefaults();
    Overlay_CheckStateValues();
    Overlay_CheckRange();
    g_priming = false;
    const WM_HWINDOW column = g_OverlayWins.column;
    if (column == 0) return;
    if (t.row == nullptr) {
        if (WM_IsShown(column)) WM_Hide(column);
    } else if (WM_IsShown(column)) {
        RepaintKeys({1, 2, 3, 4, 8});
    } else {
        WM_Show(column);
    }
}

void FollowEditWords() {
    auto& t = g_OverlayTrack;
    const WM_HWINDOW value = ValueWindow(t.row);
    bool moved = Changed(t.editValue, g_EditShown.buf.choiceValue);
    moved = Changed(t.cursor, g_EditShown.cursor) || moved;
    moved = Changed(t.workValue, g_EditShown.workValue) || moved;
    moved = Changed(t.typedCursor, g_EditShown.buf.choiceCursor) || moved;
    if (moved) {
        Repaint(g_OverlayWins.readout);
        Repaint(value);
    }
    bool typed = Changed(t.entryNumber, static_cast<float>(g_EditShown.buf.entryValue));
    typed = Changed(t.entryState, g_EditShown.buf.entryState) || typed;
    if (typed) Repaint(value);
}

}  // namespace

void OverlayLayoutStep() {
    const uint32_t state = State();
    if (state != g_OverlayTrack.state) {
        SwitchTo(state);
        return;
    }
    Overlay_CheckDefaults();
    Overlay_CheckStateValues();
    Overlay_CheckRange();
    if (g_OverlayTrack.row != nullptr) FollowEditWords();
}

void OverlayTrackReset() {
    g_OverlayTrack = OverlayTrack{};
    g_EditCursorResetWord.store(0, kRelaxed);
}

}  // namespace panel
