// The parameter shortcut keys of the home views: each opens the field of its setting that the output mode
// has; pressed again (or where the mode has no such field) it returns to the advanced screen.
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/system/links/parallel_link.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/home_screens.h"
#include "core/system/state/output_flags.h"
#include "drivers/panel_link.h"
#include "panel/edit/edit_common.h"
#include "panel/edit/home_edit_keys.h"
#include "panel/edit/param_enter.h"
#include "panel/menu/dialog_words.h"
#include "panel/menu/home_fields.h"
#include "panel/menu_entries.h"

namespace {

constexpr uint32_t kNoField = 0;

struct Shortcut {
    uint8_t key;
    // By output mode: ACDC-INT, AC-INT, DC-INT, ACDC-EXT, AC-EXT, ACDC-ADD, AC-ADD, ACDC-SYNC, AC-SYNC,
    // AC-VCA.
    uint16_t field[core::kModes];
    bool syncsPanelRow;
};

constexpr Shortcut kShortcuts[] = {
    {kKeyVoltage, {47, 47, 51, 75, 75, 47, 47, 47, 47, 75}, true},
    {kKeyFrequency, {12, 12, 0, 0, 0, 12, 12, 81, 81, 12}, true},
    {kKeyCurrent, {61, 61, 58, 58, 58, 61, 61, 61, 61, 61}, true},
    {kKeyRange, {22, 22, 22, 22, 22, 22, 22, 22, 22, 22}, false},
    {kKeyVoltLimitKind, {9, 8, 9, 0, 0, 9, 8, 9, 8, 0}, false},
    {kKeyFreqLimitKind, {15, 15, 0, 0, 0, 15, 15, 0, 0, 15}, false},
    {kKeyIpkKind, {23, 23, 23, 23, 23, 23, 23, 23, 23, 23}, false},
    {kKeyOnPhase, {64, 64, 0, 0, 0, 67, 67, 64, 64, 64}, true},
    {kKeyMainMode, {46, 46, 46, 46, 46, 46, 46, 46, 46, 46}, true},
    {kKeyWaveShape, {30, 30, 0, 0, 0, 33, 33, 30, 30, 30}, true},
    {kKeyOffPhase, {68, 68, 0, 0, 0, 71, 71, 68, 68, 68}, true},
    {kKeyOutputPhase, {3, 3, 3, 3, 3, 3, 3, 3, 3, 3}, false},
};

const Shortcut* FindShortcut(uint8_t key) {
    for (const Shortcut& s : kShortcuts)
        if (s.key == key) return &s;
    return nullptr;
}

// The voltage key opens the line voltage while the LINE view is shown.
uint32_t InView(uint32_t field) {
    if (GetPhaseLineView() != 1) return field;
    if (field == kParamAcv) return kParamAcvLine;
    return field == kParamDcv ? static_cast<uint32_t>(kParamDcvLine) : field;
}

}  // namespace

void KeyProcess_HomeParamKeys(uint32_t* ev) {
    if (panel::edit::MeterFrozenRefused()) return;
    if (g_LastHomeView.load(std::memory_order_relaxed) != kScreenAdvanced) {
        menuGoSimpleScreen();
        return;
    }
    const uint8_t key = KeyEventCode(*ev);
    const Shortcut* shortcut = FindShortcut(key);
    const uint32_t mode = GetOutputMode();
    const uint32_t field =
        shortcut != nullptr && mode < core::kModes ? InView(shortcut->field[mode]) : kNoField;
    if (field == kNoField || field == g_MenuState.load(std::memory_order_relaxed)) {
        menuGoAdvenceScreen();
        return;
    }
    if (key == kKeyIpkKind && OutputFlagTest(kOutFlagOutputOn) &&
        g_ParallelActive.load(std::memory_order_relaxed) != 0) {
        ShowMessage(2, "Invalid with Output ON, \nTurn OFF the Output First");
        return;
    }
    if (key == kKeyOutputPhase) g_CfgPhaseChoice.store(GetPhaseMode(), std::memory_order_relaxed);
    menuEnterParamState(field);
    if (shortcut->syncsPanelRow) menuSyncHomePanelRow();
}
