#include "storage/nv/nv_identity_convert.h"

#include <cstring>

#include "core/params/param_store.h"
#include "core/system/config/identity.h"
#include "core/system/config/model_table.h"
#include "core/system/state/sys_status.h"
#include "storage/files/memory_data.h"
#include "storage/nv/nv_blocks.h"
#include "storage/nv/nv_power_on.h"

using namespace core;

namespace {

constexpr uint32_t kBrandIds = 3;

}  // namespace

void IdentityBlockSync(int direction) {
    if (direction == 1) {
        const auto model = static_cast<uint8_t>(g_ModelId.load());
        const auto brand = static_cast<uint8_t>(g_BrandId.load());
        const uint8_t factory = (g_ParamFlags.load() & kFlagFactoryAccess) != 0 ? 1 : 0;
        IdentityBlock texts;
        IdentityTextRead(g_SerialNo, sizeof texts.serial, texts.serial);
        IdentityTextRead(g_MacText, sizeof texts.mac, texts.mac);
        IdentityBlockEdit(
            [model, brand, factory, &texts](IdentityBlock& b) {
                b.modelId = model;
                b.brandId = brand;
                b.factoryAccess = factory;
                std::memcpy(b.serial, texts.serial, sizeof b.serial);
                std::memcpy(b.mac, texts.mac, sizeof b.mac);
            },
            false);
        return;
    }
    IdentityBlock b;
    IdentityBlockImage(&b);
    // An id beyond the model and brand tables would index past them in every reader: it becomes 0
    // before any thread can see it.
    g_ModelId.store(b.modelId < kModelTypes ? b.modelId : 0);
    g_BrandId.store(b.brandId < kBrandIds ? b.brandId : 0);
    IdentityTextWrite(g_SerialNo, sizeof g_SerialNo, b.serial, sizeof b.serial);
    IdentityTextWrite(g_MacText, sizeof g_MacText, b.mac, sizeof b.mac);
    // The factory access lives on with the unit's identity: a restart does not close the factory commands.
    if (b.factoryAccess == 1) g_ParamFlags.fetch_or(kFlagFactoryAccess);
}

bool SpecialDataDeleteRequested(const IdentityBlock& block) {
    if (block.powerOn[kPowerOnDeleteAll] == 0) return false;
    SysStatusSet(kSysResetSaveRequest);
    DeleteMemoryData(4, 0);
    return true;
}

void SpecialDataSync(int direction) {
    if (direction == 1) {
        StorePowerOn(CollectPowerOn(false));
        return;
    }
    IdentityBlock b;
    IdentityBlockImage(&b);
    if (SpecialDataDeleteRequested(b)) return;
    ApplyPowerOn(b);
}
