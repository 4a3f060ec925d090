#pragma once
// Test fixture (gtest only; its definitions are in regbus_setup_test.cpp): a freshly powered simulated
// power stage with the bus mapped, the hold and fault flags clear and the output state at its defaults.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/regbus/bus_transfer.h"
#include "core/regbus/encoding.h"
#include "core/regbus/reg_read.h"
#include "core/regbus/reg_step.h"
#include "core/regbus/reg_write.h"
#include "platform/stage/power_stage_sim.h"
#include "platform/stage/reg_map.h"

class RegBusTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    static plat::PowerStageSim& Stage() { return plat::PowerStage(); }
    // The 32-bit transfers since the last ClearTrace.
    static std::vector<plat::BusTransfer> Transfers() { return Stage().Trace(); }
    static void Clear() { Stage().ClearTrace(); }
};

// The one transfer of the trace (fails the test when there is not exactly one).
plat::BusTransfer OnlyTransfer(const std::vector<plat::BusTransfer>& trace);
