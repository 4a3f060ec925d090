#include "app/sim_verbs.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/system/state/sys_status.h"
#include "platform/panel_channel/panel_channel.h"
#include "platform/sandbox/sandbox_events.h"
#include "platform/stage/power_stage_model.h"
#include "platform/stage/power_stage_sim.h"
#include "platform/stage/reg_map.h"
#include "scpi/channels/scpi_channels.h"
#include "scpi/status/scpi_status.h"

void AddSimulationVerbs() {
    plat::PanelChannelAddVerb("restart", [](const std::string& args, std::string* error) {
        if (!args.empty()) {
            *error = "restart takes no argument";
            return -1;
        }
        SysStatusSet(kSysRestartPending);
        return 0;
    });
    plat::PanelChannelAddVerb("reg", [](const std::string& args, std::string* error) {
        char* end = nullptr;
        const unsigned long reg = std::strtoul(args.c_str(), &end, 10);
        if (args.empty() || *end != '\0' || reg > 0xFFFF) {
            *error = "reg needs a register number";
            return -1;
        }
        const auto n = static_cast<uint32_t>(reg);
        // The output switch takes effect when written, every other setting at the apply strobe.
        plat::PowerStageSim& stage = plat::PowerStage();
        const uint32_t raw = n == regmap::kOutputOn.first ? stage.OutputOn() : stage.Applied(n);
        const double v = plat::DecodeValue(plat::DecodeOf(n), raw);
        // Registers the stage takes without a strobe (the calibration words) show only as written.
        const double written = plat::DecodeValue(plat::DecodeOf(n), stage.Stored(n, 0));
        std::printf("reg %u = %g written %g\n", n, v, written);
        std::fflush(stdout);
        return 0;
    });
    plat::PanelChannelAddVerb("net", plat::SandboxNetEvent);
    plat::PanelChannelAddVerb("usb", [](const std::string& args, std::string* error) {
        if (plat::SandboxUsbEvent(args, error) != 0) return -1;
        // A host on the rear port is also what the USB channel sees.
        if (args.rfind("host on", 0) == 0) scpiStatusSetBits(&scpi::g_StatusUsb, kChanConnected);
        if (args.rfind("host off", 0) == 0) scpiStatusClearBits(&scpi::g_StatusUsb, kChanConnected);
        return 0;
    });
}
