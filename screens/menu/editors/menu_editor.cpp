#include "screens/menu/editors/menu_editor.h"

#include <cmath>
#include <limits>

#include "core/params/access/key_entry.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "core/system/util/num_util.h"
#include "drivers/panel_link.h"
#include "panel/edit/edit_common.h"
#include "panel/menu/home_fields.h"
#include "screens/menu/nav/menu_nav.h"
#include "screens/menu/rows/row_entries.h"

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr double kEntryRounding = 0.005;

int32_t Work() {
    return g_EditParam.workValue.load(kRelaxed);
}

// The typed number in the record's steps, or false when it has none in 32 bits.
bool TypedSteps(const ParamRec& rec, int32_t* out) {
    const double steps = std::trunc((g_EditBuf.entryValue + kEntryRounding) / static_cast<double>(rec.scale));
    if (!std::isfinite(steps) || steps < static_cast<double>(std::numeric_limits<int32_t>::min()) ||
        steps > static_cast<double>(std::numeric_limits<int32_t>::max()))
        return false;
    *out = static_cast<int32_t>(steps);
    return true;
}

void Store(uint32_t param, int32_t value) {
    ParamRec rec{};
    paramGetRecord(param, &rec, 0);
    rec.value = value;
    paramPutRecord(param, &rec, 0);
}

void ChoiceKey(uint32_t ev, const MenuEditor& ed) {
    const uint8_t code = KeyEventCode(ev);
    if (code != kKeyKnob && (ed.knobOnly || (code != kKeyLeft && code != kKeyRight))) return;
    const int32_t before = Work();
    MenuEdit_StepChoice(KeyEventDelta(ev), ed.upper != nullptr ? ed.upper(ed.param) : g_EditParam.max);
    if (ed.stepped != nullptr) ed.stepped(ed.param, before);
}

void EnterKey(const MenuEditor& ed) {
    if (ed.enter != nullptr) {
        ed.enter(ed.param);
        return;
    }
    if (ed.kind == MenuEditKind::kNumeric)
        MenuEdit_StoreNumeric(ed.param);
    else
        MenuEdit_StoreChoice(ed.param);
    MenuEdit_ReturnToRow(ed.row);
}
}  // namespace

void MenuEdit_ReturnToRow(uint32_t row) {
    MenuRows_EnterState(row);
}

void MenuEdit_Exit(uint32_t row) {
    if (panel::edit::EntryPending())
        menuResetEdit();
    else
        MenuEdit_ReturnToRow(row);
}

bool MenuEdit_StoreChoice(uint32_t param) {
    if (Work() == g_EditParam.startValue) return false;
    Store(param, Work());
    return true;
}

void MenuEdit_StoreAlways(uint32_t param) {
    Store(param, Work());
}

bool MenuEdit_StoreNumeric(uint32_t param) {
    ParamRec rec{};
    paramGetRecord(param, &rec, 0);
    int32_t value = Work();
    if (panel::edit::EntryPending() && (!TypedSteps(rec, &value) || value < rec.min || value > rec.max))
        return false;
    rec.value = value;
    paramPutRecord(param, &rec, 0);
    g_EditParam.workValue.store(value, kRelaxed);
    g_EditParam.startValue = value;
    return true;
}

void MenuEdit_StepChoice(int32_t delta, int32_t max) {
    g_EditParam.workValue.store(EditValueStep(Work(), 0, delta, max, g_EditParam.min), kRelaxed);
}

void MenuEdit_NumericKey(uint32_t ev) {
    const auto cursor = static_cast<int32_t>(g_EditParam.cursor);
    switch (KeyEventCode(ev)) {
        case kKeyRight:
            g_EditParam.cursor = static_cast<uint32_t>(WrapIndex(cursor, -1, g_EditParam.digits));
            return;
        case kKeyLeft:
            g_EditParam.cursor = static_cast<uint32_t>(WrapIndex(cursor, 1, g_EditParam.digits));
            return;
        case kKeyKnob:
            g_EditParam.workValue.store(
                EditValueStep(Work(), cursor, KeyEventDelta(ev), g_EditParam.max, g_EditParam.min), kRelaxed);
            return;
        default:
            return;
    }
}

bool MenuEdit_CommonClasses(uint32_t* ev) {
    switch (KeyEventClass(*ev)) {
        case kClassSoft:
            KeyProcess_MenuPageKeys(ev);
            return true;
        case kClassFunction:
            KeyProcess_MenuFunctionKeys(ev);
            return true;
        default:
            return false;
    }
}

void MenuEditor_Keys(uint32_t* ev, const MenuEditor& ed) {
    if (MenuEdit_CommonClasses(ev)) return;
    const uint8_t cls = KeyEventClass(*ev);
    if (cls == kClassKeypad) {
        if (KeyEventCode(*ev) == kKeyExit)
            MenuEdit_Exit(ed.row);
        else if (KeyEventCode(*ev) == kKeyEnter)
            EnterKey(ed);
    } else if (cls == kClassCursor) {
        if (ed.kind == MenuEditKind::kNumeric)
            MenuEdit_NumericKey(*ev);
        else
            ChoiceKey(*ev, ed);
    }
}
