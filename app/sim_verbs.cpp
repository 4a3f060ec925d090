#include "app/sim_verbs.h"

#include <string>

#include "core/system/sys_status.h"
#include "platform/panel_channel.h"

void AddSimulationVerbs() {
    plat::PanelChannelAddVerb("restart", [](const std::string& args, std::string* error) {
        if (!args.empty()) {
            *error = "restart takes no argument";
            return -1;
        }
        SysStatusSet(kSysRestartPending);
        return 0;
    });
}
