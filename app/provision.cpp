#include "app/provision.h"

#include <sys/stat.h>

#include <cstdio>

#include "core/system/config/model_table.h"
#include "platform/host/options.h"
#include "platform/host/root.h"
#include "storage/files/arb_file.h"
#include "storage/nv/settings_backup.h"

bool ProvisionNewUnit() {
    struct stat st {};
    if (stat(plat::MapPath("/dev/spidev1.0").c_str(), &st) == 0) return false;
    const auto model = static_cast<uint32_t>(plat::GetOptions().model);
    FactoryUnitRequest(model);
    if (storage::ArbProvisionFactoryFiles(g_ModelTable[model < kModelTypes ? model : 0].name[0]) != 0)
        std::fprintf(stderr, "vrn-controller: the factory waveform files could not all be written\n");
    return true;
}
