// The trigger-action commands: select and arm an action, store the values of the OUTPut and MEMory
// actions, abort.
#include "core/control/trig_act.h"
#include "scpi/parser/scpi_errors.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/channels/scpi_interface.h"

namespace scpi {
namespace {

// The trigger action sits below this layer and reports its refusals as rows of this table.
static_assert(core::kTrigErrExecution == kScpiErrExecution && core::kTrigErrTriggerIgnored == kScpiErrTriggerIgnored &&
              core::kTrigErrInitIgnored == kScpiErrInitIgnored);

// Choice values of INITiate:NAME (TRANsient, OUTPut, MEMory) to the action kinds.
constexpr uint32_t kKindOfName[] = {core::kTrigKindTrigger, core::kTrigKindOutput, core::kTrigKindMemory};

// A stored value of an action: MINimum/MAXimum (or OFF/ON) as their choice values or an integer, within
// 0..max. Negative values are out of range as well as values above max.
int StoredValue(ScpiInterface* ifc, uint32_t index, int32_t max, bool choiceIsValue) {
    if (scpiIsQuery(ifc) == 1) {
        uint32_t v = 0;
        TrigAct_ValueAccess(0, index, &v);
        WriteSignedReply(ifc, static_cast<int32_t>(v));
        return 0;
    }
    int32_t v = 0;
    if (scpiGetChoice(ifc, 0, &v) == 0) {
        if (!choiceIsValue) v = v == 0 ? 0 : max;  // MINimum, MAXimum
    } else if (scpiGetInt(ifc, 0, &v) != 0) {
        scpiSetError(ifc, kScpiErrParameter);
        return 0;
    }
    if (v < 0 || v > max) {
        scpiSetError(ifc, kScpiErrDataOutOfRange);
        return 0;
    }
    uint32_t stored = static_cast<uint32_t>(v);
    TrigAct_ValueAccess(1, index, &stored);
    return 0;
}

}  // namespace

int CmdAbor(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) != 0) return scpiRefuseHeader(ifc);
    TrigAct_Abort();
    return 0;
}

int CmdInitName(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) != 0) return scpiRefuseHeader(ifc);
    int32_t name = -1;
    if (scpiGetChoice(ifc, 0, &name) != 0 || name < 0 || name > 2) {
        scpiSetError(ifc, kScpiErrSystem);
        return 0;
    }
    const int32_t row = TrigAct_Initiate(kKindOfName[name]);
    if (row != 0) scpiSetError(ifc, static_cast<uint32_t>(row));
    return 0;
}

int CmdMemTrig(ScpiInterface* ifc) {
    return StoredValue(ifc, core::kTrigValMemory, 9, false);
}

int CmdOutpTrig(ScpiInterface* ifc) {
    return StoredValue(ifc, core::kTrigValOutput, 1, true);
}

}  // namespace scpi
