#include "screens/output/keys/home_keys.h"

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/service_flags.h"
#include "core/system/util/num_util.h"
#include "drivers/panel_link.h"
#include "panel/edit/home_edit_keys.h"
#include "panel/menu/home_fields.h"
#include "panel/menu/settings_layout.h"
#include "panel/menu_entries.h"
#include "panel/statusbar/status_bar.h"
#include "platform/stage/wave_numbers.h"

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;

bool Flag(uint32_t bit) {
    return (g_ParamFlags.load(kRelaxed) & bit) != 0;
}
void ClearPresetRecalled() {
    g_ParamFlags.fetch_and(~core::kFlagPresetRecalled, kRelaxed);
}
bool Consumed(uint32_t ev) {
    return KeyEventCode(ev) == 0;
}

void OpenSelectedRow() {
    const uint32_t row = g_HomePage.panelRow.load(kRelaxed);
    const uint32_t mode = GetOutputMode();
    if (row < kLayoutRows && mode < core::kModes) g_HomeFieldEnterMatrix[row][mode]();
}

// The knob moves the selection over the rows of the panel in force, up for a positive turn; a duty row
// without a square wave and an empty row are stepped over, each once. The row is left only once it was
// painted as it is.
void MoveSelectedRow(uint32_t ev) {
    if (KeyEventCode(ev) != kKeyKnob) return;
    const auto row = static_cast<int32_t>(g_HomePage.panelRow.load(kRelaxed));
    if (row < 0 || row >= static_cast<int32_t>(kLayoutRows)) return;
    if ((g_HomePage.rowMask.load(kRelaxed) & (1u << row)) == 0) return;
    const uint32_t mode = GetOutputMode();
    const SettingsLayout& layout =
        SettingsLayoutFor(GetPhaseMode(), GetPhaseLineView(), GetPhaseBalanceMode());
    int32_t last = 0;
    while (last + 1 < static_cast<int32_t>(kLayoutRows) &&
           SettingsItemCode(layout, static_cast<uint32_t>(last + 1), mode) != kItemEnd)
        ++last;
    const int32_t delta = KeyEventDelta(ev);
    const int32_t dir = delta <= 0 ? 1 : -1;
    int32_t next = EditValueStep(row, 0, -delta, last, 0);
    // The skips read the 3P4W phase-view rows, whichever layout is shown.
    const SettingsLayout& rows = SettingsLayoutTables.a;
    if (SettingsItemCode(rows, static_cast<uint32_t>(next), mode) == kItemDuty &&
        GetWaveform(GetSelectedLine()) != kWaveSqu)
        next += dir;
    if (SettingsItemCode(rows, static_cast<uint32_t>(next), mode) == kItemFiller) next += dir;
    if (next < 0) next = 0;
    if (next > last) next = last;
    g_HomePage.panelRow.store(static_cast<uint32_t>(next), kRelaxed);
}

void AdvanceSoftKey(uint32_t* ev) {
    if (Flag(core::kFlagPresetMode))
        KeyProcess_PresetMode(ev);
    else
        KeyProcess_HomeSoftKeys(ev);
}
}  // namespace

void menuAdvenceScreen(uint32_t* ev) {
    const uint8_t cls = KeyEventClass(*ev);
    if (GetParallelPosition() != 1) {
        if (cls == kClassSoft && g_ServiceFlags.rdTestMode.load(kRelaxed) == 1) AdvanceSoftKey(ev);
        else if (KeyEventCode(*ev) == kKeyMenu)
            KeyProcess_SlaveHomeKeys(ev);
        return;
    }
    switch (cls) {
    case kClassKeypad:
        if (Flag(core::kFlagMeterHold)) {
            MsgQueue_PostId(kMsgMeterFrozen);
        } else if (KeyEventCode(*ev) == kKeyEnter) {
            OpenSelectedRow();
            ClearPresetRecalled();
        } else {
            KeyProcess_PresetMode(ev);
        }
        break;
    case kClassShortcut:
        KeyProcess_HomeParamKeys(ev);
        ClearPresetRecalled();
        break;
    case kClassSoft: AdvanceSoftKey(ev); break;
    case kClassCursor: MoveSelectedRow(*ev); break;
    case kClassFunction:
        KeyProcess_PresetMode(ev);
        if (!Consumed(*ev)) KeyProcess_HomeCommonKeys(ev);
        break;
    default: break;
    }
}

void menuSimpleScreen(uint32_t* ev) {
    const bool presetKeys = Flag(core::kFlagPresetMode) && g_HomePage.harmonicView.load(kRelaxed) == 0;
    switch (KeyEventClass(*ev)) {
    case kClassKeypad: KeyProcess_PresetMode(ev); break;
    case kClassShortcut: KeyProcess_HomeParamKeys(ev); break;
    case kClassSoft:
        if (presetKeys)
            KeyProcess_PresetMode(ev);
        else
            KeyProcess_SimpleSoftKeys(ev);
        break;
    case kClassFunction:
        if (presetKeys) KeyProcess_PresetMode(ev);
        if (!Consumed(*ev)) KeyProcess_HomeCommonKeys(ev);
        break;
    default: break;
    }
}

void KeyProcess_ExitToHome(uint32_t* ev) {
    if (KeyEventCode(*ev) == kKeyExit) menuReturnHome();
}

void KeyProcess_Ignore(uint32_t*) {}
