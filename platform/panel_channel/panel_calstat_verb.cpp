#include "platform/panel_channel/panel_calstat_verb.h"

#include <cstdlib>

#include "platform/stage/power_stage_sim.h"

namespace plat {

int PanelCalStatCommand(const std::string& args, std::string* error) {
    if (args == "auto") {
        PowerStage().ScriptCaliStatus({});
        return 0;
    }
    char* end = nullptr;
    const unsigned long v = std::strtoul(args.c_str(), &end, 0);
    if (args.empty() || args[0] == '-' || *end != '\0' || v > 0xFFFF) {
        if (error) *error = "calstat needs a status word 0-65535 or auto";
        return -1;
    }
    PowerStage().ScriptCaliStatus({static_cast<uint32_t>(v)});
    return 0;
}

}  // namespace plat
