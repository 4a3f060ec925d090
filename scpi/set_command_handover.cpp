#include "scpi/set_command_handover.h"

#include "scpi/scpi_interface.h"

namespace {

int32_t RunSetCommand(ScpiInterface* ifc) {
    scpi::RunHandler(ifc);
    return 0;
}

uint32_t CommandChannel(const ScpiInterface* ifc) {
    return ifc != nullptr && ifc->cmd != nullptr ? ifc->cmd->channelId : 0;
}

constexpr ScpiHandoverOps kHandoverOps{RunSetCommand, CommandChannel};

}  // namespace

std::atomic<const ScpiHandoverOps*> g_ScpiHandoverOps{&kHandoverOps};
