#include "screens/seqsim/seq/seq_panel_keys.h"

#include "core/control/output_request.h"
#include "core/control/setting_accessors.h"
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/output_flags.h"
#include "drivers/panel_link.h"
#include "engine/run/seqsim_run.h"
#include "engine/seq/seq_preview.h"
#include "engine/seq/seq_setters.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mode.h"
#include "panel/menu_entries.h"
#include "platform/host/clock.h"
#include "screens/seqsim/seq/seq_enter.h"
#include "screens/seqsim/seq/seq_page_entries.h"
#include "screens/seqsim/seqsim_panel.h"

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr char kOutputOnText[] = "Invalid with Output ON, \nTurn OFF the Output First";
constexpr char kNotInSequence[] = "Invalid in This Sequence";
constexpr uint32_t kOutputModeRegisterIndex = 7;
constexpr uint32_t kLeavePreviewMs = 200;
constexpr uint32_t kAllTraces = 7;  // L1, L2 and L3

constexpr uint8_t kRefusedShortcuts[] = {kKeyVoltage, kKeyFrequency, kKeyCurrent,
                                         kKeyRange,   kKeyOnPhase,   kKeyOffPhase};

SeqSimBlock& L1() {
    return g_SeqSimBlock[0];
}
void ClearPages() {
    L1().panelFlags.fetch_and(static_cast<uint8_t>(~(kSeqPanelRecallOpen | kSeqPanelSaveOpen)), kRelaxed);
}
void OpenPreview() {
    ClearPages();
    L1().previewTraceMask.store(kAllTraces, kRelaxed);
}
bool OutputOn() {
    return OutputFlagTest(kOutFlagOutputOn);
}
void Say(const char* text) {
    ShowMessage(2, text);
}

// Opens one memory list and closes the other; a second press closes it.
void ToggleList(uint8_t open, uint8_t other, void (*enter)()) {
    L1().panelFlags.fetch_and(static_cast<uint8_t>(~other), kRelaxed);
    const uint8_t now = L1().panelFlags.fetch_xor(open, kRelaxed) ^ open;
    if (now & open)
        enter();
    else
        Enter_menuSeqSetStepIndex();
}

void RunSoftKeys(uint8_t code) {
    switch (code) {
        case kKeySoft1:
            SeqSimTriggerBranch(1);
            break;
        case kKeySoft2:
            SeqSimTriggerBranch(2);
            break;
        case kKeySoft3:
            SeqSimTogglePause();
            break;
        case kKeySoft4:
            SeqSimRunStopToggle();
            break;
        default:
            break;
    }
}

}  // namespace

void KeyProcess_Sequence() {
    if (OutputOn()) return Say(kOutputOnText);
    if (core::IsAutoRangeCode(GetVoltRangeCode())) return Say("Invalid For Auto Range");
    const uint32_t mode = GetOutputMode();
    if (!IsIntMode(mode)) return Say("Invalid in \nThis Output Mode");
    if (SeqSimGetMode() == kSeqSimSim && mode == kModeAcDcInt) {
        Sim_EnterMode();
    } else {
        if (SeqSimGetMode() == kSeqSimSim) SeqSimSetMode(kSeqSimSeq);
        Seq_EnterMode();
        SeqSimSetMode(kSeqSimSeq);
    }
    if (SeqSimIsActive()) BusReg_SetOutputMode(kOutputModeRegisterIndex);
}

void Seq_LeavePreview() {
    if (SeqIsPreviewState() != 1) return;
    Enter_menuSeqSetStepIndex();
    plat::SleepMs(kLeavePreviewMs);
}

void Seq_SoftKeys(uint32_t* ev) {
    const uint8_t code = KeyEventCode(*ev);
    if (SeqSimIsRunning()) return RunSoftKeys(code);
    switch (code) {
        case kKeySoft1:
            if (GetOutputMode() == kModeAcDcInt)
                SeqSimEnterMode(kSeqSimSim);
            else
                Say("Valid Only AC+DC-INT Mode");
            break;
        case kKeySoft2:
            ToggleList(kSeqPanelRecallOpen, kSeqPanelSaveOpen, Enter_menuSeqRecallMemory);
            break;
        case kKeySoft3:
            ToggleList(kSeqPanelSaveOpen, kSeqPanelRecallOpen, Enter_menuSeqSaveMemory);
            break;
        case kKeySoft4:
            ClearPages();
            Enter_menuSeqSetStepIndex();
            SeqSimRunStopToggle();
            break;
        case kKeySoft6:
            if (g_MenuState.load(std::memory_order_acquire) == kMenuSeqPreview) break;
            OpenPreview();
            Enter_menuSeqPreview();
            break;
        case kKeySoft7:
            if (g_MenuState.load(std::memory_order_acquire) == kMenuSeqPreviewRUN) break;
            OpenPreview();
            SeqSetCurStep(0);
            Seq_StepChangedHook(0);
            g_SeqPreview.position.store(1, std::memory_order_relaxed);
            SeqBuildPreview();
            Enter_menuSeqPreviewRUN();
            break;
        default:
            break;
    }
}

void Seq_FilterShortcutKeys(uint32_t* ev) {
    const uint8_t code = KeyEventCode(*ev);
    for (uint8_t refused : kRefusedShortcuts)
        if (code == refused) return Say(kNotInSequence);
}

void Seq_FunctionKeys(uint32_t* ev) {
    switch (KeyEventCode(*ev)) {
        case kKeyMenu:
            if (OutputOn()) return Say(kOutputOnText);
            Seq_Exit();
            break;
        case kKeySeq:
            if (SeqSimIsRunning() || OutputOn()) return Say(kOutputOnText);
            Seq_Exit();
            break;
        case kKeyPreset:
            Say(kNotInSequence);
            break;
        case kKeyOutput:
            OutputToggle();
            break;
        default:
            break;
    }
}

void Seq_KeyHook(uint32_t*) {}
void Seq_KeypadHook(uint32_t*) {}
void Seq_FunctionKeyHook(uint32_t*) {}

void Enter_menuSeqRecallMemory() {
    menuEnterStateValue(kMenuSeqRecallMemory, static_cast<int32_t>(SeqSimGetRecallSlot()));
}
void Enter_menuSeqSaveMemory() {
    menuEnterStateValue(kMenuSeqSaveMemory, static_cast<int32_t>(SeqSimGetSaveSlot()));
}
