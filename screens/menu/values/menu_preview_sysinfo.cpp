// The system information preview: model, serial number and version, or in detail the versions of every
// part of the instrument.
#include <cstring>

#include "core/system/config/identity.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/model_table.h"
#include "screens/menu/values/menu_preview_lines.h"
#include "sysadmin/firmware/fw_update.h"
#include "sysadmin/sys_versions.h"

namespace menu::preview {
namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr char kBasicVersion[] = "2024.0828-0";
constexpr char kAdvancedVersion[] = "2024.0823-0";

// A fixed-size identity text, terminated within its size.
template <size_t N>
void Identity(const char (&text)[N], char (&out)[N + 1]) {
    IdentityTextRead(text, N, out);
    out[N] = '\0';
}

bool VariantA() {
    return g_ModelVariantA.load(kRelaxed) == 1;
}

void Standard() {
    char model[sizeof g_ModelName + 1];
    char serial[sizeof g_SerialNo + 1];
    Identity(g_ModelName, model);
    Identity(g_SerialNo, serial);
    Text(0, LineY(0), "Model Type: ");
    Linef(20, LineY(1), VariantA() ? "%sA" : "%s", model);
    Text(0, LineY(2), "Serial Number: ");
    Text(20, LineY(3), serial);
    Text(0, LineY(4), "Version:");
    Text(20, LineY(5), kMachineVersionText);
}

void Detailed() {
    char model[sizeof g_ModelName + 1];
    Identity(g_ModelName, model);
    Linef(0, LineY(0), VariantA() ? "Model : %sA" : "Model : %s", model);
    Text(0, LineY(1), "Kernal Version :");
    const int32_t* t = g_KernelBuildTime;
    Linef(20, LineY(2), "%4d%02d%02d %02d:%02d:%02d", t[0], t[1], t[2], t[3], t[4], t[5]);
    Text(0, LineY(3), "Machine Version :");
    Text(20, LineY(4), kMachineVersionText);
    Text(0, LineY(5), "Basic :");
    Text(54, LineY(5), kBasicVersion);
    Text(0, LineY(6), "Adv :");
    Text(54, LineY(6), kAdvancedVersion);
    const VersionWords& v = g_VersionWords;
    Linef(0, LineY(7), "Max10 : 0x%x ,0x%x ,0x%x", v.logic[0].load(kRelaxed), v.logic[1].load(kRelaxed),
          v.logic[2].load(kRelaxed));
    Linef(0, LineY(8), "Zynq-PS : H%u 0x%x", v.hwRevision.load(kRelaxed), v.psVersion.load(kRelaxed));
    Linef(0, LineY(9), "Zynq-PL : %x", v.plVersion.load(kRelaxed));
}

}  // namespace

void SystemInfo() {
    if ((IfaceServiceTune() & storage::kServiceTuneVersionDetail) != 0)
        Detailed();
    else
        Standard();
}

}  // namespace menu::preview
