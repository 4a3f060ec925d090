#include "screens/seqsim/seqsim_panel.h"

#include "core/control/setting_accessors.h"
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/regbus/reg_write.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/output_flags.h"
#include "engine/seq/seq_setters.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mode.h"
#include "engine/sim/sim_setters.h"
#include "panel/menu_entries.h"
#include "screens/seqsim/seq/seq_enter.h"
#include "screens/seqsim/sim/sim_entries.h"

namespace {

// The refusals both entries share; true when the entry may go on.
bool EntryAllowed(bool modeOk) {
    if (OutputFlagTest(kOutFlagOutputOn)) {
        ShowMessage(2, "Invalid with Output ON, \nTurn OFF the Output First");
        return false;
    }
    if (core::IsAutoRangeCode(GetVoltRangeCode())) {
        ShowMessage(2, "Invalid For Auto Range");
        return false;
    }
    if (!modeOk) {
        ShowMessage(2, "Invalid in \nThis Output Mode");
        return false;
    }
    return true;
}

void TellStage() {
    const uint32_t mode = GetOutputMode();
    BusReg_SetOutputMode(mode);
    BusReg_SetSeqSimMode(static_cast<int32_t>(mode));
}

}  // namespace

void Seq_EnterMode() {
    if (!EntryAllowed(IsIntMode(GetOutputMode()))) return;
    SeqSimEnterRequest();
    OutputFlagSet(kOutFlagSeqSimActive);
    SeqSimResetEngine(kEngineSeq);
    // Asked for here, not first by the page that shows later: a remote client's *OPC? right after the
    // entry already waits for it.
    SeqPrepStage.store(kSeqPrepEntered, std::memory_order_release);
    SeqSimSetMode(kSeqSimSeq);
    SeqSimSelectTables();
    SeqSetCurStep(static_cast<int32_t>(SeqSimGetCurStep()));
    Enter_menuSeqSetStepIndex();
    TellStage();
}

void Sim_EnterMode() {
    if (!EntryAllowed(GetOutputMode() == kModeAcDcInt)) return;
    OutputFlagSet(kOutFlagSeqSimActive);
    SeqSimResetEngine(kEngineSim);
    SimPrepRequest.store(1, std::memory_order_release);
    SeqSimSetMode(kSeqSimSim);
    SeqSimSelectTables();
    SeqSimSetCurStep(static_cast<int32_t>(SeqSimGetCurStep()));
    Enter_menuSimulationStep();
    TellStage();
}

void Seq_Exit() {
    OutputFlagClear(kOutFlagSeqSimActive);
    // A memory list open at the exit (a remote exit leaves it so) would take the next entry's first
    // list key to close a list that is not shown.
    g_SeqSimBlock[0].panelFlags.fetch_and(static_cast<uint8_t>(~(kSeqPanelRecallOpen | kSeqPanelSaveOpen)),
                                          std::memory_order_relaxed);
    if (SeqSimIsRunning()) {
        SeqSimRequestStop();
    } else {
        BusReg_SetOutputMode(GetOutputMode());
        menuReturnHome();
        ReapplyAfterSeqSim();
    }
    SeqSimSetMode(kSeqSimOff);
}

void Seq_StepChangedHook(int32_t) {}
