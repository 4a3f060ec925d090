// TRIGger: the sources of the three trigger actions, their software triggers, and the start, hold,
// branch and stop of a SEQ/SIM run.
#include "core/control/trig_act.h"
#include "core/regbus/reg_read.h"
#include "core/regbus/reg_write.h"
#include "core/system/state/output_flags.h"
#include "engine/run/seqsim_run.h"
#include "engine/seqsim/seqsim_mode.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/parser/scpi_errors.h"

namespace scpi {
namespace {

enum RunAction : int32_t { kStop = 0, kStart = 1, kHold = 2, kBranch1 = 3, kBranch2 = 4 };
constexpr int32_t kStageRunPaused = 3;

int Refuse(ScpiInterface* ifc, uint32_t row) {
    scpiSetError(ifc, row);
    return 0;
}

int Source(ScpiInterface* ifc, uint32_t kind) {
    if (scpiIsQuery(ifc) == 1) {
        constexpr const char* kNames[] = {"BUS", "IMM", "TRI1", "TRI2"};
        uint32_t source = 0;
        TrigAct_SourceAccess(0, kind, &source);
        if (source > core::kTrigSrcTri2) return Refuse(ifc, kScpiErrSystem);
        WriteTextReply(ifc, kNames[source]);
        return 0;
    }
    int32_t choice = -1;
    if (scpiGetChoice(ifc, 0, &choice) != 0 || choice < 0 || choice > static_cast<int32_t>(core::kTrigSrcTri2))
        return Refuse(ifc, kScpiErrSystem);
    uint32_t source = static_cast<uint32_t>(choice);
    TrigAct_SourceAccess(1, kind, &source);
    return 0;
}

int Software(ScpiInterface* ifc, uint32_t kind) {
    if (scpiIsQuery(ifc) != 0) return scpiRefuseHeader(ifc);
    const int32_t row = TrigAct_BusTrigger(kind);
    if (row != 0) scpiSetError(ifc, static_cast<uint32_t>(row));
    return 0;
}

// The run/stop toggle; it refuses a start with the output off (and shows why on the panel).
int Toggle(ScpiInterface* ifc) {
    if (SeqSimRunStopToggle() != 0) scpiSetError(ifc, kScpiErrExecution);
    return 0;
}

// STARt and HOLD act on the power stage's sequencer, which outside SEQ/SIM would run whatever its step
// registers hold: refused unless a SEQ/SIM function is active.
int Execute(ScpiInterface* ifc, bool sequence) {
    if (scpiIsQuery(ifc) != 0) return scpiRefuseHeader(ifc);
    int32_t action = -1;
    if (scpiGetChoice(ifc, 0, &action) != 0) return Refuse(ifc, kScpiErrSystem);
    const bool active = SeqSimIsActive() != 0;
    const bool running = SeqSimIsRunning() != 0;
    const bool paused = SeqSimIsPaused() != 0;
    switch (action) {
        case kStop:
            if (active && running) return Toggle(ifc);
            return 0;
        case kStart:
            if (!active) return Refuse(ifc, kScpiErrSystem);
            if (!running) return Toggle(ifc);
            if (paused) {
                SeqSimTogglePause();
            } else if (sequence && BusReg_GetRunState() == kStageRunPaused) {
                // Held by its step's HOLD end, not by us: continue the stage without marking a pause.
                BusReg_SeqSimRun();
            }
            return 0;
        case kHold:
            if (!active) return Refuse(ifc, kScpiErrSystem);
            // SEQ holds a running program (a second HOLD leaves it held); SIM toggles.
            if (running && (!sequence || !paused)) SeqSimTogglePause();
            return 0;
        case kBranch1:
        case kBranch2:
            if (!sequence) return Refuse(ifc, kScpiErrSystem);
            if (active) SeqSimTriggerBranch(action == kBranch1 ? 1 : 2);
            return 0;
        default:
            return Refuse(ifc, kScpiErrSystem);
    }
}

}  // namespace

int CmdTrigTranSour(ScpiInterface* ifc) {
    return Source(ifc, core::kTrigKindTrigger);
}
int CmdTrigOutpSour(ScpiInterface* ifc) {
    return Source(ifc, core::kTrigKindOutput);
}
int CmdTrigMemSour(ScpiInterface* ifc) {
    return Source(ifc, core::kTrigKindMemory);
}
int CmdTrigTranImm(ScpiInterface* ifc) {
    return Software(ifc, core::kTrigKindTrigger);
}
int CmdTrigOutpImm(ScpiInterface* ifc) {
    return Software(ifc, core::kTrigKindOutput);
}
int CmdTrigMemImm(ScpiInterface* ifc) {
    return Software(ifc, core::kTrigKindMemory);
}
int CmdTrigSeqSelExec(ScpiInterface* ifc) {
    return Execute(ifc, true);
}
int CmdTrigSimSelExec(ScpiInterface* ifc) {
    return Execute(ifc, false);
}

}  // namespace scpi
