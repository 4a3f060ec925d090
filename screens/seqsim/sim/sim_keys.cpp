#include "screens/seqsim/sim/sim_keys.h"

#include "core/control/output_request.h"
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/output_flags.h"
#include "drivers/panel_link.h"
#include "engine/run/seqsim_run.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mode.h"
#include "screens/seqsim/seqsim_panel.h"
#include "screens/seqsim/sim/memory/sim_mem_entries.h"
#include "screens/seqsim/sim/sim_entries.h"

namespace {
constexpr const char* kOutputOnRefusal = "Invalid with Output ON, \nTurn OFF the Output First";
constexpr const char* kNotInSimulate = "Invalid in This Simulate";

std::atomic<uint8_t>& PanelFlags() {
    return g_SeqSimBlock[0].panelFlags;
}

// Opens the page of `open` (closing the other) when it was closed, else closes it; back to the state index
// on closing.
void TogglePage(uint8_t open, uint8_t other, void (*enterPage)()) {
    const uint8_t before = PanelFlags().load(std::memory_order_acquire);
    const uint8_t now = static_cast<uint8_t>((before & ~other) ^ open);
    PanelFlags().store(now, std::memory_order_release);
    if (now & open)
        enterPage();
    else
        Enter_menuSimulationStep();
}

void RunningSoftKeys(uint8_t code) {
    if (code == kKeySoft3) {
        SeqSimTogglePause();
    } else if (code == kKeySoft4) {
        Enter_menuSimulationStep();
        SeqSimRunStopToggle();
    }
}
}  // namespace

void Sim_SoftKeys(uint32_t* ev) {
    const uint8_t code = KeyEventCode(*ev);
    if (SeqSimIsRunning()) {
        RunningSoftKeys(code);
        return;
    }
    switch (code) {
        case kKeySoft1:
            if (GetOutputMode() == kModeAcDcInt) SeqSimEnterMode(kSeqSimSeq);
            break;
        case kKeySoft2:
            TogglePage(kSeqPanelRecallOpen, kSeqPanelSaveOpen, Enter_menuSimulationRecallMemory);
            break;
        case kKeySoft3:
            TogglePage(kSeqPanelSaveOpen, kSeqPanelRecallOpen, Enter_menuSimulationSaveMemory);
            break;
        case kKeySoft4:
            PanelFlags().fetch_and(static_cast<uint8_t>(~(kSeqPanelRecallOpen | kSeqPanelSaveOpen)),
                                   std::memory_order_acq_rel);
            Enter_menuSimulationStep();
            SeqSimRunStopToggle();
            break;
        default:
            break;
    }
}

void Sim_FilterShortcutKeys(uint32_t* ev) {
    switch (KeyEventCode(*ev)) {
        case kKeyVoltage:
        case kKeyFrequency:
        case kKeyCurrent:
        case kKeyRange:
        case kKeyOnPhase:
        case kKeyOffPhase:
            ShowMessage(2, kNotInSimulate);
            break;
        default:
            break;
    }
}

void Sim_FunctionKeys(uint32_t* ev) {
    const uint8_t code = KeyEventCode(*ev);
    if (code < kKeyMenu || code > kKeyOutput) return;
    const bool outputOn = OutputFlagTest(kOutFlagOutputOn);
    switch (code) {
        case kKeySeq:
            if (SeqSimIsRunning() || outputOn)
                ShowMessage(2, kOutputOnRefusal);
            else
                Seq_Exit();
            break;
        case kKeyMenu:
            if (outputOn)
                ShowMessage(2, kOutputOnRefusal);
            else
                Seq_Exit();
            break;
        case kKeyPreset:
            ShowMessage(2, kNotInSimulate);
            break;
        case kKeyOutput:
            OutputToggle();
            break;
        default:
            break;
    }
}

void Sim_KeyHook(uint32_t*) {}
void Sim_KeypadHook(uint32_t*) {}
void Sim_FunctionKeyHook(uint32_t*) {}
