#include "app/provision.h"

#include <sys/stat.h>

#include "platform/host/options.h"
#include "platform/host/root.h"
#include "storage/nv/settings_backup.h"

bool ProvisionNewUnit() {
    struct stat st {};
    if (stat(plat::MapPath("/dev/spidev1.0").c_str(), &st) == 0) return false;
    FactoryUnitRequest(static_cast<uint32_t>(plat::GetOptions().model));
    return true;
}
