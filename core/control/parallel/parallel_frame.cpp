#include "core/control/parallel/parallel_frame.h"

#include "core/params/access/param_access.h"
#include "core/regbus/reg_write.h"
#include "core/system/config/model_table.h"
#include "core/system/links/parallel_link.h"

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
}  // namespace

namespace {
int32_t IsParallelOf(ModelFamily family) {
    const ModelRow& row = ModelRowOf(g_ModelId.load(kRelaxed));
    return row.units > 1 && row.family == family ? 1 : 0;
}
}  // namespace

int32_t IsParallelModel4k5() {
    return IsParallelOf(kFamily4k5);
}

int32_t IsParallelModel6k() {
    return IsParallelOf(kFamily6k);
}

int ParallelSendCmd(uint32_t address, uint32_t item, uint32_t value) {
    const uint32_t frame = core::LinkFrame(address, item, value);
    g_ParallelLink.lastFrame.store(frame, kRelaxed);
    return BusReg_SetParallelFrame(frame);
}

uint32_t core::LinkOwnAddress() {
    return g_ParallelLink.status.load(kRelaxed) & 0xFFu;
}

bool core::ParallelActiveMaster() {
    return g_ParallelActive.load(std::memory_order_acquire) == 1 && GetParallelPosition() == 1;
}

bool core::ParallelActiveSlave() {
    return g_ParallelActive.load(std::memory_order_acquire) == 1 && GetParallelPosition() == 0;
}
