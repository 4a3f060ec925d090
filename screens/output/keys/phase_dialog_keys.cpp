#include <atomic>

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/params/phase_cfg.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/state/sys_status.h"
#include "core/system/util/num_util.h"
#include "drivers/panel_link.h"
#include "panel/edit/recalled_preset.h"
#include "panel/menu/dialog_words.h"
#include "panel/menu/field_openers.h"
#include "panel/menu/row_entry_hook.h"
#include "panel/menu_entries.h"
#include "screens/output/keys/dialog_keys.h"
#include "storage/nv/nv_blocks.h"
#include "storage/nv/settings_backup.h"

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr uint32_t kYes = 0, kNo = 1;
constexpr uint32_t kLastWiring = 2;  // 0 3P4W, 1 1P2W, 2 1P3W

int32_t Cursor() {
    return static_cast<int32_t>(g_EditParam.cursor);
}

// Each wiring keeps its own settings blocks: the present wiring's are saved before the switch and the
// new wiring's loaded after it. The remote channels and the panel keys wait meanwhile.
void ChangeWiring(uint32_t to) {
    ShowMessage(2, "Configure Phase Toggle,\nPlease wait...");
    g_PhaseCfgChanging.store(1, std::memory_order_release);
    SysStatusSet(kSysKeysBlocked);
    BackupSavePhaseSettings(GetPhaseMode());
    SetPhaseMode(to);
    SpecialDataSave(static_cast<uint8_t>(GetPhaseMode()));
    BackupSaveSystem();
    BackupLoadPhaseSettings(0);
    SetVoltRange(GetVoltRangeCode());
    g_ParamFlags.fetch_and(~uint32_t{core::kFlagShiftLatched}, kRelaxed);
    SysStatusClear(kSysKeysBlocked);
    g_PhaseCfgChanging.store(0, std::memory_order_release);
    menuGoAdvenceScreen();
    MsgQueue_Clear();
    MsgPopup_Close();
    ShowMessage(2, "Configure Phase is Ready");
}

// A cancelled recall gives the preset index back and changes no setting.
void DropPresetRecall() {
    g_HomePage.presetSel.store(g_HomePage.presetPrev.load(kRelaxed), kRelaxed);
    g_HomePage.presetPending.store(0, kRelaxed);
}
}  // namespace

bool screens::DialogChoiceKey(uint32_t ev, uint32_t* choice) {
    switch (KeyEventCode(ev)) {
        case kKeyRight:
            *choice = kNo;
            return true;
        case kKeyLeft:
            *choice = kYes;
            return true;
        case kKeyKnob:
            *choice = static_cast<uint32_t>(
                EditValueStep(static_cast<int32_t>(*choice), Cursor(), KeyEventDelta(ev), kNo, kYes));
            return true;
        default: return false;
    }
}

void KeyProcess_Switch_OutputPhase(uint32_t* ev) {
    const uint32_t pending = g_CfgPhaseChoice.load(kRelaxed);
    switch (KeyEventCode(*ev)) {
        case kKeyRight:
            if (pending < kLastWiring) g_CfgPhaseChoice.store(pending + 1, kRelaxed);
            break;
        case kKeyLeft:
            if (pending > 0) g_CfgPhaseChoice.store(pending - 1, kRelaxed);
            break;
        case kKeyKnob: {
            int32_t work = g_EditParam.workValue.load(kRelaxed);
            if (static_cast<uint32_t>(work) != pending) work = static_cast<int32_t>(pending);
            work = EditValueStep(work, Cursor(), KeyEventDelta(*ev), kLastWiring, 0);
            g_EditParam.workValue.store(work, kRelaxed);
            g_CfgPhaseChoice.store(static_cast<uint32_t>(work), kRelaxed);
            break;
        }
        case kKeyEnter:
            if (pending == GetPhaseMode()) {
                menuGoAdvenceScreen();
            } else if (g_MenuState.load(kRelaxed) != kMenuPhaseDialogCheck) {
                g_PhaseChangeFromHome.store(1, kRelaxed);
                Enter_KeyProcess_Switch_OutputPhaseCheck();
            }
            break;
        case kKeyExit:
        case kKeySoft8:
            menuGoAdvenceScreen();
            break;
        default: break;
    }
}

void KeyProcess_Switch_OutputPhaseCheck(uint32_t* ev) {
    if (screens::DialogChoiceKey(*ev, &g_EditBuf.choiceValue)) return;
    switch (KeyEventCode(*ev)) {
        case kKeyEnter:
            // The origin is told once: the next confirmation says again where it comes from.
            if (g_EditBuf.choiceValue == kYes) {
                g_PhaseChangeFromHome.store(0, kRelaxed);
                ChangeWiring(g_CfgPhaseChoice.load(kRelaxed));
            } else if (g_PhaseChangeFromHome.exchange(0, kRelaxed) == 1) {
                menuGoAdvenceScreen();
            } else {
                menuEnterRowState(kMenuOutputPhase);
            }
            break;
        case kKeyExit:
        case kKeySoft8:
            g_PhaseChangeFromHome.store(0, kRelaxed);
            menuGoAdvenceScreen();
            break;
        default: break;
    }
}

void KeyProcess_Preset_OutputPhase(uint32_t* ev) {
    uint32_t choice = g_DialogChoice.load(kRelaxed);
    if (screens::DialogChoiceKey(*ev, &choice)) {
        g_DialogChoice.store(choice, kRelaxed);
        return;
    }
    const uint8_t code = KeyEventCode(*ev);
    if (code == kKeyEnter && choice == kYes) {
        if (g_MenuState.load(kRelaxed) != kMenuPresetPhaseDialogCheck) Enter_KeyProcess_Switch_PresetOutputPhaseCheck();
    } else if (code == kKeyEnter || code == kKeyExit) {
        DropPresetRecall();
        menuGoAdvenceScreen();
    }
}

void KeyProcess_Switch_PresetOutputPhaseCheck(uint32_t* ev) {
    if (screens::DialogChoiceKey(*ev, &g_EditBuf.choiceValue)) return;
    switch (KeyEventCode(*ev)) {
        case kKeyEnter:
            if (g_EditBuf.choiceValue == kYes) {
                g_HomePage.presetPending.store(0, kRelaxed);
                menuApplyRecalledPreset();
            } else {
                DropPresetRecall();
            }
            menuGoAdvenceScreen();
            break;
        case kKeyExit:
            DropPresetRecall();
            menuGoAdvenceScreen();
            break;
        case kKeySoft8:
            menuGoAdvenceScreen();
            break;
        default: break;
    }
}
