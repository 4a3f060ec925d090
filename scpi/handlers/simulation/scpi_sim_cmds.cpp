// The [SOURce:]SIMulation commands: the field commands of the six states, run through the state
// selectors and field procedures, and the run status queries.
#include <cstdio>
#include <initializer_list>

#include "core/regbus/reg_read.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mode.h"
#include "engine/sim/sim_access.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/commands/scpi_cmd_ids.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/handlers/simulation/scpi_sim_fields.h"
#include "scpi/parser/scpi_errors.h"

namespace scpi {
namespace {

using Selector = int32_t (*)(ScpiInterface*);
using FieldProc = int (*)(ScpiInterface*, int32_t);
using StatesProc = int (*)(ScpiInterface*, std::initializer_list<int32_t>);

int Field(ScpiInterface* ifc, Selector select, FieldProc field) {
    if (!SimRemoteEditAllowed(ifc)) return 0;
    return field(ifc, select(ifc));
}

// Transition 1 runs towards the Abnormal state's voltage and frequency: a set writes both, a query
// answers the Abnormal value alone.
int AbnormalPair(ScpiInterface* ifc, StatesProc field) {
    if (!SimRemoteEditAllowed(ifc)) return 0;
    return field(ifc, {kSimTrans1, kSimAbnormal});
}

// Normal 2 and the Transition 2 that leads to it take Normal 1's voltage and frequency, so they are not
// addressed by themselves.
int NormalTriple(ScpiInterface* ifc, StatesProc field) {
    const int suffix = scpiGetSuffix(ifc, 1) >= 0 ? scpiGetSuffix(ifc, 1) : scpiGetSuffix(ifc, 2);
    if (suffix == 2) return scpiRefuseHeader(ifc);
    if (!SimRemoteEditAllowed(ifc)) return 0;
    return field(ifc, {kSimTrans2, kSimNormal2, kSimNormal1});
}

bool SimMode(ScpiInterface* ifc) {
    if (SeqSimGetMode() == kSeqSimSim) return true;
    scpiSetError(ifc, kScpiErrSystem);
    return false;
}

int Text(ScpiInterface* ifc, const char* text) {
    WriteTextReply(ifc, text);
    return 0;
}

int Status(ScpiInterface* ifc, uint32_t cmd) {
    if (scpiIsQuery(ifc) != 1) return scpiRefuseHeader(ifc);
    char text[64];
    const int step = static_cast<int>(SeqSimGetCurStep());
    switch (cmd) {
        case kCmdSourSimCond:
            if (!SimMode(ifc)) return 0;
            return WriteSignedReply(ifc, SeqSimIsPaused() ? 2 : SeqSimIsRunning() ? 1 : 0), 0;
        case kCmdSourSimCst:
            if (!SimMode(ifc)) return 0;
            return WriteSignedReply(ifc, step), 0;
        case kCmdSourSimCtim:
            std::snprintf(text, sizeof text, "%+d,%+d,%+d,%+d", step, static_cast<int>(SeqSimGetRunHours()),
                          static_cast<int>(SeqSimGetRunMinutes()), static_cast<int>(SeqSimGetRunSeconds()));
            return Text(ifc, text);
        case kCmdSourSimCrepCoun: {
            if (!SimMode(ifc)) return 0;
            char count[16] = "-1";
            if (SimGetEnRepeat() && step == kSimNormal2) {
                if (SimGetRepeat() == 0) {
                    std::snprintf(count, sizeof count, "Inf");
                } else {
                    std::snprintf(count, sizeof count, "%+d", static_cast<int>(BusReg_GetRepeatCount()));
                }
            }
            std::snprintf(text, sizeof text, "%+d,%s", step, count);
            return Text(ifc, text);
        }
        default: {  // kCmdSourSimInstSel
            if (!SimMode(ifc)) return 0;
            static const char* const kLines[] = {"L1", "L2", "L3"};
            const uint32_t sel = g_SeqSimRemoteSel[1].load(std::memory_order_acquire);
            return Text(ifc, kLines[sel <= 2 ? sel : 0]);
        }
    }
}

}  // namespace

int CmdSourSimRow(ScpiInterface* ifc, uint32_t cmd) {
    switch (cmd) {
        case kCmdSourSimAbnCode:
            return Field(ifc, SimRemoteSelectAbnormal, SimRemoteCode);
        case kCmdSourSimAbnFreq:
            return AbnormalPair(ifc, SimRemoteFrequency);
        case kCmdSourSimAbnPhasStarEnab:
            return Field(ifc, SimRemoteSelectAbnormal, SimRemoteOnPhaseEnable);
        case kCmdSourSimAbnPhasStarImm:
            return Field(ifc, SimRemoteSelectAbnormal, SimRemoteOnPhase);
        case kCmdSourSimAbnPhasStopEnab:
            return Field(ifc, SimRemoteSelectAbnormal, SimRemoteOffPhaseEnable);
        case kCmdSourSimAbnPhasStopImm:
            return Field(ifc, SimRemoteSelectAbnormal, SimRemoteOffPhase);
        case kCmdSourSimAbnTime:
            return Field(ifc, SimRemoteSelectAbnormal, SimRemoteTime);
        case kCmdSourSimAbnVolt:
            return AbnormalPair(ifc, SimRemoteVoltage);
        case kCmdSourSimInitCode:
            return Field(ifc, SimRemoteSelectInitial, SimRemoteCode);
        case kCmdSourSimInitFreq:
            return Field(ifc, SimRemoteSelectInitial,
                         [](ScpiInterface* i, int32_t s) { return SimRemoteFrequency(i, {s}); });
        case kCmdSourSimInitPhasStarEnab:
            return Field(ifc, SimRemoteSelectInitial, SimRemoteOnPhaseEnable);
        case kCmdSourSimInitPhasStarImm:
            return Field(ifc, SimRemoteSelectInitial, SimRemoteOnPhase);
        case kCmdSourSimInitPhasStopEnab:
            return Field(ifc, SimRemoteSelectInitial, SimRemoteOffPhaseEnable);
        case kCmdSourSimInitPhasStopImm:
            return Field(ifc, SimRemoteSelectInitial, SimRemoteOffPhase);
        case kCmdSourSimInitVolt:
            return SimRemoteEditAllowed(ifc) ? SimRemoteInitialVoltage(ifc) : 0;
        case kCmdSourSimNormCode:
            return Field(ifc, SimRemoteSelectNormal, SimRemoteCode);
        case kCmdSourSimNormFreq:
            return NormalTriple(ifc, SimRemoteFrequency);
        case kCmdSourSimNormPhasStarEnab:
            return Field(ifc, SimRemoteSelectNormal, SimRemoteOnPhaseEnable);
        case kCmdSourSimNormPhasStarImm:
            return Field(ifc, SimRemoteSelectNormal, SimRemoteOnPhase);
        case kCmdSourSimNormPhasStopEnab:
            return Field(ifc, SimRemoteSelectNormal, SimRemoteOffPhaseEnable);
        case kCmdSourSimNormPhasStopImm:
            return Field(ifc, SimRemoteSelectNormal, SimRemoteOffPhase);
        case kCmdSourSimNormTime:
            return Field(ifc, SimRemoteSelectNormal, SimRemoteTime);
        case kCmdSourSimNormVolt:
            return NormalTriple(ifc, SimRemoteVoltage);
        case kCmdSourSimRepCoun:
            return Field(ifc, SimRemoteSelectNormal2, SimRemoteRepeatCount);
        case kCmdSourSimRepEnab:
            return Field(ifc, SimRemoteSelectNormal2, SimRemoteRepeatEnable);
        case kCmdSourSimTranCode:
            return Field(ifc, SimRemoteSelectTransition, SimRemoteCode);
        case kCmdSourSimTranTime:
            return Field(ifc, SimRemoteSelectTransition, SimRemoteTime);
        case kCmdSourSimCond:
        case kCmdSourSimCst:
        case kCmdSourSimCtim:
        case kCmdSourSimCrepCoun:
        case kCmdSourSimInstSel:
            return Status(ifc, cmd);
        default:
            return scpiRefuseHeader(ifc);
    }
}

}  // namespace scpi
