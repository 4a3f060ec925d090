#include "regbus_setup.h"

#include "core/control/calibration/cal_page.h"
#include "core/params/defaults/param_init.h"
#include "core/system/config/model_table.h"
#include "platform/host/clock.h"
#include "tests/core/ctrl_fixture.h"

void RegBusTest::SetUp() {
    test::ResetPowerStage();
    test::ResetOutputState();
    // The access-layer setters keep a value only within its record's limits: build the store.
    g_ModelId = 2;
    g_ModelClass = 1;
    ParamTableInit();
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
