#include "regbus_setup.h"

#include "core/control/cal_page.h"
#include "core/params/param_access.h"
#include "core/params/param_init.h"
#include "core/system/model_table.h"
#include "core/system/output_flags.h"
#include "core/system/parallel_link.h"
#include "core/system/sys_status.h"
#include "platform/clock.h"

void RegBusTest::SetUp() {
    Stage().Reset();
    BusMapInit();
    regbus::BusReset();
    core::OutputFlagsReset();
    core::SysStatusReset();
    core::ParallelLinkReset();
    g_SeqSimCmd = 0;
    // The access-layer setters keep a value only within its record's limits: build the store.
    g_ModelId = 2;
    g_ModelClass = 1;
    ParamTableInit();
    SetOutputMode(0);
    SetSyncPhase(0);
    SetMainSig(0, 0);
    for (int p = 0; p < regbus::kCalPageCount; ++p)
        std::fill_n(regbus::CalPage(p), regbus::kCalPageWords, uint16_t{0});
}

void RegBusTest::TearDown() {
    EXPECT_EQ(Stage().OrderViolations(), 0u)
        << (Stage().ViolationLog().empty() ? "" : Stage().ViolationLog()[0]);
    EXPECT_EQ(Stage().UnmappedAccesses(), 0u);
    plat::SetTimeScale(1.0);
}

plat::BusTransfer OnlyTransfer(const std::vector<plat::BusTransfer>& trace) {
    EXPECT_EQ(trace.size(), 1u);
    return trace.empty() ? plat::BusTransfer{} : trace.front();
}
