// The units of a parallel system before an update, on the simulated link: the master tells its slaves
// and leaves, a slave drops off, a single unit writes nothing.
#include <gtest/gtest.h>

#include "core/control/parallel/parallel_frame.h"
#include "core/params/access/param_access.h"
#include "core/regbus/bus_transfer.h"
#include "core/regbus/reg_read.h"
#include "core/system/links/parallel_link.h"
#include "platform/stage/power_stage_sim.h"
#include "sysadmin/firmware/fw_update.h"
#include "tests/support/default_store.h"

namespace {

std::vector<uint32_t> WritesTo(uint16_t reg) {
    std::vector<uint32_t> raw;
    for (const auto& t : plat::PowerStage().Trace())
        if (t.write && t.reg == reg) raw.push_back(t.raw);
    return raw;
}

TEST(FwParallelPrep, MasterTellsSlavesSlaveDropsSingleUnitUntouched) {
    test::DefaultStore store;
    int32_t (*const app)() = [] { return FwUpd_App(0, 0); };
    int32_t (*const boot)() = [] { return FwUpd_PrepareParallel(4) ? 0 : 1; };
    const struct {
        const char* what;
        uint32_t active, position, slaves;
        int32_t (*update)();
        std::vector<uint32_t> frames, ctrl;
        uint32_t activeAfter;
        uint8_t masterFlags, slaveFlags;
    } cases[] = {
        {"master, application", 1, 1, 2, app, {core::LinkFrame(2, 25, 2)}, {0x6}, 0, 0, 8},
        {"master, boot image", 1, 1, 3, boot, {core::LinkFrame(3, 25, 4)}, {0x6}, 0, 0, 8},
        {"slave", 1, 0, 0, app, {}, {0x4}, 1, 8, 0},
        {"single unit", 0, 1, 2, app, {}, {}, 0, 0, 0},
    };
    for (const auto& c : cases) {
        plat::PowerStage().Reset();
        BusMapInit();
        core::ParallelLinkReset();
        plat::PowerStage().SetLinkPeers(c.slaves);
        ASSERT_EQ(SetParallelPosition(static_cast<int32_t>(c.position)), 0);
        ASSERT_EQ(GetParallelPosition(), static_cast<int32_t>(c.position));
        g_ParallelLink.ctrl = 0x5;
        g_ParallelLink.status = (c.slaves << 8) | (1u << 16);
        g_ParallelActive = c.active;
        plat::PowerStage().ClearTrace();
        c.update();
        EXPECT_EQ(WritesTo(2481), c.frames) << c.what;
        EXPECT_EQ(WritesTo(2480), c.ctrl) << c.what;
        EXPECT_EQ(g_ParallelActive.load(), c.activeAfter) << c.what;
        EXPECT_EQ(g_ParallelMasterFlags.load(), c.masterFlags) << c.what;
        EXPECT_EQ(g_ParallelSlaveFlags.load(), c.slaveFlags) << c.what;
        EXPECT_EQ(BusReg_GetParallelStatus() & (1u << 16), 0u) << c.what;
    }
    core::ParallelLinkReset();
}

}  // namespace
