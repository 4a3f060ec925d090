// The soft keys of the two home views (their labels are the pages' own).
#include <atomic>

#include "core/params/access/param_access.h"
#include "core/params/access/wiring_state.h"
#include "core/params/param_ranges.h"
#include "core/params/param_rec.h"
#include "core/params/param_store.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/home_screens.h"
#include "drivers/panel_link.h"
#include "panel/menu_entries.h"
#include "platform/stage/wave_numbers.h"
#include "platform/stage/wiring_codes.h"
#include "screens/output/keys/home_keys.h"

std::atomic<void (*)()> g_HomeScreenHide{nullptr};
std::atomic<void (*)()> g_HomeScreenShow{nullptr};

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr uint32_t kLastHarmonicPage = 4;

// The menu/control thread writes these words and the GUI thread reads them: one atomic step each.
template <class F>
void Update(std::atomic<uint32_t>& word, F next) {
    uint32_t old = word.load(kRelaxed);
    while (!word.compare_exchange_weak(old, next(old), kRelaxed)) {
    }
}

void CallHook(const std::atomic<void (*)()>& hook) {
    if (auto fn = hook.load(std::memory_order_acquire)) fn();
}

// A soft key pressed from an item field (a measurement item) rather than from a home view.
bool FromHomeView() {
    const uint32_t state = g_MenuState.load(kRelaxed);
    return state == kScreenAdvanced || state == kScreenSimple;
}

bool MeterFrozen() {
    return (g_ParamFlags.load(kRelaxed) & core::kFlagMeterHold) != 0;
}

void ToggleMeterFrozen() {
    const uint32_t old = g_ParamFlags.fetch_xor(core::kFlagMeterHold, kRelaxed);
    if ((old & core::kFlagMeterHold) == 0) ShowMessage(2, "Meter Frozen");
}


// One step of a parameter's value, n values around (the record is read and written whole).
void CycleParam(uint32_t id, int32_t n) {
    ParamRec rec{};
    paramGetRecord(id, &rec, 0);
    rec.value = n <= 1 ? 0 : (rec.value + 1) % n;
    paramPutRecord(id, &rec, 0);
}

void CycleSelectedLine() {
    const uint32_t wiring = GetPhaseMode();
    CycleParam(kParamMeasItem1 + 5, wiring == kWiring3P4W ? 3 : wiring == kWiring1P3W ? 2 : 1);
}

void AdvanceDisplayKey() {
    if (!FromHomeView()) {
        menuGoAdvenceScreen();
        g_HomePage.viewSel.store(0, kRelaxed);
    } else if (g_HomePage.viewSel.load(kRelaxed) == 0) {
        menuGoAdvenceScreen();
        CallHook(g_HomeScreenHide);
        CallHook(g_HomeScreenShow);
        if (GetPhaseMode() == kWiring1P2W)
            menuToggleHomeScreen();
        else
            g_HomePage.viewSel.store(1, kRelaxed);
    } else {
        menuToggleHomeScreen();
    }
}

void LineViewKey() {
    const uint32_t wiring = GetPhaseMode(), mode = GetOutputMode();
    const bool balanced = GetPhaseBalanceMode() == 1;
    if (!balanced || wiring == kWiring1P2W || (wiring == kWiring3P4W && IsDcExtOrAddMode(mode))) {
        CycleSelectedLine();
    } else if (IsAcIntOrSyncMode(mode)) {
        if (GetWaveformSel() == kWaveSin)
            CycleParam(kParamMeasItem7, 2);
        else
            ShowMessage(2, "Valid Only All Phase is SIN\nWave Shape and Balance");
    } else {
        ShowMessage(2, "Invalid in \nThis Output Mode");
    }
}

void EachAllKey() {
    const bool locked = g_HomePage.allPhasesLock.load(kRelaxed) == 1;
    if (GetPhaseMode() == kWiring1P2W) {
        g_EditAllPhases.store(0, kRelaxed);
    } else if (GetPhaseBalanceMode() == 1 && IsAcIntSyncOrVcaMode(GetOutputMode())) {
        g_EditAllPhases.store(1, kRelaxed);
    } else if (!locked) {
        g_EditAllPhases.fetch_xor(1, kRelaxed);
    }
}
}  // namespace

void KeyProcess_HomeSoftKeys(uint32_t* ev) {
    const uint8_t code = KeyEventCode(*ev);
    if (code == kKeySoft1) {
        AdvanceDisplayKey();
    } else if (code == kKeySoft2) {
        LineViewKey();
    } else if (code >= kKeySoft3 && code <= kKeySoft6) {
        const uint32_t state = kParamMeasItem1 + (code - kKeySoft3);
        if (g_MenuState.load(kRelaxed) == state)
            menuGoAdvenceScreen();
        else
            menuEnterState(state);
    } else if (code == kKeySoft7) {
        EachAllKey();
    } else if (code == kKeySoft8) {
        ToggleMeterFrozen();
    }
}

void KeyProcess_SimpleSoftKeys(uint32_t* ev) {
    const uint8_t code = KeyEventCode(*ev);
    const bool harmonic = g_HomePage.harmonicView.load(kRelaxed) == 1;
    switch (code) {
        case kKeySoft1:
            if (FromHomeView())
                menuToggleHomeScreen();
            else
                menuGoAdvenceScreen();
            g_HomePage.viewSel.store(0, kRelaxed);
            break;
        case kKeySoft2:
            if (harmonic) CycleSelectedLine();
            break;
        case kKeySoft3:
            if (!IsAcIntNoSeqSim())
                ShowMessage(2, "Only AC-INT And \n50/60Hz Active");
            else if (MeterFrozen())
                MsgQueue_PostId(kMsgMeterFrozen);
            else
                g_HomePage.harmonicView.fetch_xor(1, kRelaxed);
            break;
        case kKeySoft4:
            if (harmonic) {
                Update(g_HomePage.harmonicQuantity, [](uint32_t q) { return (q + 1) % 2; });
                g_HomePage.harmonicPage.store(0, kRelaxed);
            } else {
                Update(g_HomePage.meterSet, [](uint32_t m) { return (m + 1) % 3; });
            }
            break;
        case kKeySoft5:
            if (harmonic) {
                Update(g_HomePage.harmonicPage, [](uint32_t p) { return p > 0 ? p - 1 : 0; });
            } else {
                PeakClearRequest();
            }
            break;
        case kKeySoft6:
            if (harmonic)
                Update(g_HomePage.harmonicPage, [](uint32_t p) { return p < kLastHarmonicPage ? p + 1 : p; });
            break;
        case kKeySoft8:
            if (!harmonic) ToggleMeterFrozen();
            break;
        default:
            break;
    }
}
