// The keypad's exit and enter keys of a home-screen field: exit drops a typed number or leaves the field,
// enter applies the typed number within the field's limits and leaves it.
#include "core/params/access/key_entry.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/params/settings/setting_write.h"
#include "core/system/state/edit_state.h"
#include "drivers/panel_link.h"
#include "panel/edit/edit_common.h"
#include "panel/edit/home_edit_keys.h"
#include "panel/edit/param_enter.h"
#include "panel/menu_entries.h"

using namespace panel::edit;

namespace {

bool InRange(uint32_t id, uint32_t first, uint32_t last) {
    return id >= first && id <= last;
}

// The limit fields go back to their kind choice, every other field to the home view.
void LeaveField(uint32_t id, MenuEntryFn home) {
    if (InRange(id, kParamIpkMax, kParamIpkMin + 2))
        menuEnterParamState(kParamIpkKind);
    else if (id == kParamVpkMax || id == kParamVpkMin)
        menuEnterParamState(kParamVpkKind);
    else if (id == kParamFreqLimitHi || id == kParamFreqLimitLo)
        menuEnterParamState(kParamFreqLimitKind);
    else if (home != nullptr)
        home();
}

// Fields that stay open after a typed value outside their limits, so that it can be typed again.
bool StaysOnRefusal(uint32_t id) {
    return id == kParamVoltLimit || id == kParamVpkMax || id == kParamVpkMin || id == kParamFreqLimitHi ||
           id == kParamFreqLimitLo || InRange(id, kParamIpkMax, kParamIpkMin + 2);
}

}  // namespace

int32_t menuEditParamEnterKey(uint32_t* ev, uint32_t id) {
    const uint32_t unit = EditPhase();
    AlignFieldLimits(id);
    ParamRec rec = ReadFieldRecord(id, unit);
    MenuEntryFn home = nullptr;
    menuGetHomeEntry(&home);

    const uint8_t code = KeyEventCode(*ev);
    if (code == kKeyExit) {
        if (EntryPending())
            menuResetEdit();
        else
            LeaveField(id, home);
        return 0;
    }
    if (code != kKeyEnter) return 0;

    const bool typed = EntryPending();
    const int32_t entered = EntryInSteps(g_EditBuf.entryValue, rec.scale);
    if (typed && IsLineEdit(id)) {
        AlignFieldLimits(id);
        rec = ReadFieldRecord(id, unit);
    }
    // A typed number is set when it differs from the value; without one, a line value the knob changed is
    // written on leaving the field.
    const bool line = id == kParamAcvLine || id == kParamDcvLine;
    const int32_t v = typed ? entered : g_EditParam.workValue.load(std::memory_order_relaxed);
    settings::HeldBack held;
    const settings::SetResult set = SetField(
        id, v, unit, {settings::PanelKey::kEnter, entered, typed ? entered != rec.value : line}, &held);
    if (set == settings::SetResult::kHeldBack) {
        PostLimitMessage(held);
        return 2;
    }

    int32_t result = 0;
    if (set == settings::SetResult::kWritten) {
        if (typed) {
            g_EditParam.startValue = entered;
            g_EditParam.workValue.store(entered, std::memory_order_relaxed);
        }
        result = 1;
    } else if (set == settings::SetResult::kOutOfBounds) {
        if (typed) {
            menuResetEdit();
            if (StaysOnRefusal(id)) return 2;
        }
        result = 2;
    }
    if (home != nullptr) home();
    return result;
}
