#include "platform/panel_channel/panel_syncin_verb.h"

#include <cstdlib>

#include "platform/stage/power_stage_sim.h"

namespace plat {

int PanelSyncInCommand(const std::string& args, std::string* error) {
    constexpr float kMaxHz = 100000.0f;
    char* end = nullptr;
    const float hz = std::strtof(args.c_str(), &end);
    if (args.empty() || *end != '\0' || !(hz >= 0.0f && hz <= kMaxHz)) {
        if (error) *error = "syncin needs a frequency of 0 (no signal) to 100000 Hz";
        return -1;
    }
    PowerStage().SetSyncInput(hz);
    return 0;
}

}  // namespace plat
