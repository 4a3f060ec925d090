#include "panel/menu_entries.h"

#include "core/control/calibration/cal_state.h"
#include "core/params/access/key_entry.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/home_screens.h"
#include "core/system/state/menu_state_ids.h"
#include "engine/arb/arb_builder.h"

std::atomic<uint32_t> g_LastHomeView{0};

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr uint32_t kMenuTop = kMenuSystemInfo;
constexpr uint32_t kArbitraryMode = kMenuArbType;
constexpr uint32_t kRs232Row = kMenuRs232, kFirmwareFirstRow = kMenuUpdateFirst,
                   kFirmwareLastRow = kMenuUpdateLast;

// The LAN octet editors keep their digit cursor from one octet to the next.
bool IsLanOctetEditor(uint32_t s) {
    return (s >= kMenuLanIp1Edit && s <= kMenuLanIp4Edit) ||
           (s >= kMenuLanMask1Edit && s <= kMenuLanMask4Edit) ||
           (s >= kMenuLanGate1Edit && s <= kMenuLanGate4Edit) ||
           (s >= kMenuLanDns1Edit && s <= kMenuLanDns4Edit);
}

void SetState(uint32_t s) {
    g_MenuState.store(s, std::memory_order_release);
}
}  // namespace

void menuLoadEditRecord(const ParamRec& rec) {
    g_EditParam.startValue = rec.value;
    g_EditParam.workValue.store(rec.value, kRelaxed);
    g_EditParam.max = rec.max;
    g_EditParam.min = rec.min;
    g_EditParam.decimals = rec.decimals;
    g_EditParam.digits = rec.digits;
    g_EditParam.scale = rec.scale;
}

uint32_t menuEnterState(uint32_t state) {
    const bool fixed = state == kRs232Row || (state >= kFirmwareFirstRow && state <= kFirmwareLastRow);
    const int32_t fixedValue = state >= kFirmwareFirstRow ? static_cast<int32_t>(state - kFirmwareFirstRow) : 0;
    ParamRec rec{};
    if (!fixed) paramGetRecord(state, &rec, 0);
    SetState(state);
    const uint32_t r = menuResetEdit();
    if (fixed) {
        g_EditParam.startValue = fixedValue;
        g_EditParam.workValue.store(fixedValue, kRelaxed);
    } else {
        menuLoadEditRecord(rec);
    }
    if (!IsLanOctetEditor(state)) g_EditParam.cursor = 0;
    return r;
}

int32_t menuEnterStateValue(uint32_t state, int32_t value) {
    SetState(state);
    menuResetEdit();
    g_EditBuf.choiceValue = static_cast<uint32_t>(value);
    g_EditBuf.startChoiceValue = static_cast<uint32_t>(value);
    g_EditParam.startValue = value;
    g_EditParam.workValue.store(value, kRelaxed);
    if (!IsLanOctetEditor(state)) {
        g_EditBuf.choiceCursor = 0;
        g_EditParam.cursor = 0;
    }
    return 0;
}

void menuGoAdvenceScreen() {
    SetState(kScreenAdvanced);
    g_LastHomeView.store(kScreenAdvanced, kRelaxed);
    g_EditBuf.choiceCursor = 0;
    const auto acv = static_cast<uint32_t>(paramGetValue(kParamAcv, core::SelectedPhase()));
    g_EditBuf.startChoiceValue = acv;
    g_EditBuf.choiceValue = acv;
    menuResetEdit();
}

void menuGoSimpleScreen() {
    SetState(kScreenSimple);
    g_LastHomeView.store(kScreenSimple, kRelaxed);
    menuResetEdit();
}

void menuToggleHomeScreen() {
    const uint32_t last = g_LastHomeView.load(kRelaxed);
    if (last == kScreenAdvanced) menuGoSimpleScreen();
    else if (last == kScreenSimple) menuGoAdvenceScreen();
}

void menuReturnHome() {
    if (g_LastHomeView.load(kRelaxed) == kScreenSimple) menuGoSimpleScreen();
    else menuGoAdvenceScreen();
}

void menuGetHomeEntry(MenuEntryFn* out) {
    const uint32_t last = g_LastHomeView.load(kRelaxed);
    if (last == kScreenAdvanced) *out = menuGoAdvenceScreen;
    else if (last == kScreenSimple) *out = menuGoSimpleScreen;
}

void menuOpenMenuPage() {
    SetState(kMenuTop);
}

void menuGoCalibration() {
    SetState(kMenuCalibration);
    menuResetEdit();
    g_CalState.savedSelection.store(0, kRelaxed);
    g_EditBuf.choiceCursor = 0;
    g_EditParam.startValue = 0;
    g_EditParam.workValue.store(0, kRelaxed);
}

void menuEnterParallelRetry() {
    g_MenuPrevState.store(g_MenuState.load(kRelaxed), kRelaxed);
    menuEnterStateValue(kMenuParallelRetry, 1);
}

int32_t menuEnterArbitraryMode() {
    const int32_t position = GetParallelPosition();
    if (position == 1) {
        menuEnterStateValue(kArbitraryMode, ArbBuild_GetType());
        // The editor opens on the curve of what it holds, not on an empty pane.
        ArbBuild_RequestPreview();
    }
    return position;
}
