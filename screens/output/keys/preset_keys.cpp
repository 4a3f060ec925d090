// Preset mode on the home views: the PRESET key itself toggles the mode before the dispatch; here the
// keys while it is on recall and save presets.
#include <atomic>

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/params/presets/preset_recall.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "drivers/panel_link.h"
#include "panel/edit/recalled_preset.h"
#include "panel/menu/dialog_words.h"
#include "panel/menu_entries.h"
#include "panel/statusbar/status_bar.h"
#include "screens/output/keys/home_keys.h"
#include "storage/nv/preset_backup.h"

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;

void Consume(uint32_t* ev) {
    *ev &= ~0x00FFFF00u;
}

void SetRecalledFlag(bool on) {
    if (on)
        g_ParamFlags.fetch_or(core::kFlagPresetRecalled, kRelaxed);
    else
        g_ParamFlags.fetch_and(~core::kFlagPresetRecalled, kRelaxed);
}

// A preset stored with another wiring is recalled only after the user confirms the wiring change.
void Recall(uint32_t index) {
    g_HomePage.presetPrev.store(g_HomePage.presetSel.load(kRelaxed), kRelaxed);
    g_HomePage.presetSel.store(index, kRelaxed);
    g_HomePage.recallIndex.store(index, std::memory_order_release);
    SetRecalledFlag(true);
    if (PresetPhaseModeOf(static_cast<int32_t>(index)) == static_cast<int32_t>(GetPhaseMode())) {
        menuApplyRecalledPreset();
        return;
    }
    g_HomePage.presetPending.store(1, kRelaxed);
    g_DialogChoice.store(1, kRelaxed);
    if (g_MenuState.load(kRelaxed) != kMenuPresetPhaseDialog) {
        menuEnterStateValue(kMenuPresetPhaseDialog, 0);
        g_DialogChoice.store(0, kRelaxed);
    }
}

void Save(uint32_t index) {
    g_HomePage.saveIndex.store(index, std::memory_order_release);
    g_HomePage.presetSel.store(index, kRelaxed);
    PresetRangeCheckRun(1, index);
    MsgQueue_PostId(kMsgSaved);
    SetRecalledFlag(true);
}
}  // namespace

void KeyProcess_PresetMode(uint32_t* ev) {
    const uint32_t flags = g_ParamFlags.load(kRelaxed);
    if (flags & core::kFlagMeterHold) return;
    const uint8_t code = KeyEventCode(*ev);
    const bool on = (flags & core::kFlagPresetMode) != 0;
    if (code == kKeyPreset) {
        ShowMessage(2, on ? "Preset Mode" : "Exit Preset Mode");
        Consume(ev);
        return;
    }
    if (!on || code == 0 || code == kKeyOutput) return;
    if (code >= kKeySoft1 && code <= kKeySoft8) {
        Recall(code - kKeySoft1);
    } else if (code >= kKeyDigit0 && code <= kKeyDigit9) {
        Recall(code - kKeyDigit0);
    } else if (code >= kKeyLongSoft1 && code <= kKeyLongSoft8) {
        Save(code - kKeyLongSoft1);
    } else if (code >= kKeyLongDigit0 && code <= kKeyLongDigit9) {
        Save(code - kKeyLongDigit0);
    } else {
        g_ParamFlags.fetch_and(~core::kFlagPresetMode, kRelaxed);
        SetRecalledFlag(false);
        ShowMessage(2, "Exit Preset Mode");
    }
    Consume(ev);
}
