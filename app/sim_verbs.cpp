#include "app/sim_verbs.h"

#include <cstdio>
#include <string>

#include "core/system/state/sys_status.h"
#include "platform/host/panel_channel.h"
#include "platform/sandbox/sandbox_events.h"
#include "platform/stage/power_stage_sim.h"
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
        unsigned reg = 0;
        char extra = 0;
        if (std::sscanf(args.c_str(), "%u %c", &reg, &extra) != 1) {
            *error = "reg takes one register number";
            return -1;
        }
        const uint32_t raw = plat::PowerStage().Applied(reg);
        std::printf("reg %u = %g\n", reg, plat::DecodeValue(plat::DecodeOf(reg), raw));
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
