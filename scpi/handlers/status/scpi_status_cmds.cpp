// The STATus subtree: the four device status groups of the receiving channel's status block.
#include "scpi/commands/scpi_cmd_ids.h"
#include "scpi/parser/scpi_errors.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/channels/scpi_interface.h"

namespace scpi {
namespace {

struct StatusGroup {
    uint16_t firstId;  // its CONDition command; ENABle, NTRansition, PTRansition, EVENt follow
    int (*get)(const ScpiStatusBlock*, uint32_t);
    int (*set)(ScpiStatusBlock*, uint32_t, uint16_t);
};

// In the order STATus:PRESet sets them.
constexpr StatusGroup kGroups[] = {
    {kCmdStatOperCond, scpiOperRegGet, scpiOperRegSet},
    {kCmdStatQuesCond, scpiQuesRegGet, scpiQuesRegSet},
    {kCmdStatWarnCond, scpiWarnRegGet, scpiWarnRegSet},
    {kCmdStatLockCond, scpiLockRegGet, scpiLockRegSet},
};

// The register of each command after the group's first, in command order.
constexpr uint32_t kRegisterOf[] = {kRegCond, kRegEnable, kRegNtr, kRegPtr, kRegEvent};

constexpr int32_t kMaxValue = 65535;
constexpr uint16_t kValueMask = 0x7FFF;  // bit 15 is not kept
constexpr uint16_t kPresetPtr = 32767;

const StatusGroup* GroupOf(uint32_t id, uint32_t* reg) {
    for (const StatusGroup& g : kGroups) {
        if (id >= g.firstId && id < g.firstId + 5u) {
            *reg = kRegisterOf[id - g.firstId];
            return &g;
        }
    }
    return nullptr;
}

}  // namespace

int CmdStatRegister(ScpiInterface* ifc, uint32_t id) {
    uint32_t reg = 0;
    const StatusGroup* g = GroupOf(id, &reg);
    if (g == nullptr) return scpiRefuseHeader(ifc);
    ScpiStatusBlock* b = ifc->status;
    if (scpiIsQuery(ifc) == 1) {
        // The event register is read and cleared; an event after the reply shows in the next query.
        if (WriteSignedReply(ifc, g->get(b, reg)) >= 0 && reg == kRegEvent) g->set(b, kRegEvent, 0);
        return 0;
    }
    if (reg == kRegCond || reg == kRegEvent) return scpiRefuseHeader(ifc);
    int32_t v = 0;
    if (scpiGetInt(ifc, 0, &v) != 0) {
        scpiSetError(ifc, kScpiErrParameter);
        return 0;
    }
    if (v < 0 || v > kMaxValue) {
        scpiSetError(ifc, kScpiErrDataOutOfRange);
        return 0;
    }
    g->set(b, reg, static_cast<uint16_t>(v & kValueMask));
    return 0;
}

int CmdStatPres(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) != 0) return scpiRefuseHeader(ifc);
    for (const StatusGroup& g : kGroups) {
        g.set(ifc->status, kRegEnable, 0);
        g.set(ifc->status, kRegPtr, kPresetPtr);
        g.set(ifc->status, kRegNtr, 0);
    }
    return 0;
}

}  // namespace scpi
