// The condition words that the menu/control thread publishes: which word and bit each alarm and output
// status bit lands in, and the latching of a rising condition into the event register of every channel.
#include "panel/status_conditions.h"

#include <gtest/gtest.h>

#include "core/control/alarms/alarm_state.h"
#include "core/regbus/bus_transfer.h"
#include "core/system/config/model_table.h"
#include "core/system/state/stage_status.h"
#include "scpi/channels/scpi_channels.h"
#include "scpi/status/scpi_status.h"

namespace {

class StatusConditions : public ::testing::Test {
  protected:
    void SetUp() override {
        core::AlarmStateReset();
        // No start fault, whatever an earlier test of the program left.
        g_PowerStageBootStatus = 1;
        g_ModuleErrMask = 0;
        g_FwErrMask = 0;
        g_PhaseFault = 0;
        g_StartupFailed = 0;
    }
    void TearDown() override { core::AlarmStateReset(); }
};

TEST_F(StatusConditions, AlarmAndStatusBitsLandInTheirWords) {
    struct Case {
        uint32_t summary, system, status;
        panel::StatusConditions want;  // OPERation, QUEStionable, WARNing, LOCK
        uint32_t startupFailed = 0;
    };
    const Case cases[] = {
        {1u << 2, 0, 0, {0, 1u << 1, (1u << 1) | (1u << 10), 0}},                  // over rms current
        {0, 1u << 9, 0, {0, 0, 0, 1u << 0}},                                       // power input anomaly
        {1u << 18, 0, 0, {0, 1u << 0, 1u << 0, 0}},                                // over voltage (HW)
        {1u << 7, 0, 0, {0, 1u << 7, 0, 1u << 7}},                                 // fan failure
        {0, 0, (1u << 5) | (1u << 6), {0, 1u << 12, (1u << 12) | (1u << 13), 0}},  // IRMS and power limiter
        {0, 0, 1u << 19, {0, 1u << 11, 0, 0}},                                     // remote sensing L2
        {1u << 12, 0, 0, {0, 0, 0, 1u << 8}},                                      // start-up alarm
        {0, 1u << 8, 0, {0, 0, 0, 1u << 9}},                                       // PFC power unit error
        {1u << 24, 0, 0, {0, 0, 0, 0}},                                            // beyond the 24 alarm bits
        {0, 0, 0, {0, 0, 0, 1u << 5}, 1},  // failed start-up self-test
    };
    for (const Case& c : cases) {
        g_AlarmState.summary = c.summary;
        g_AlarmState.system = c.system;
        g_AlarmState.outputStatus = c.status;
        g_StartupFailed = c.startupFailed;
        const panel::StatusConditions got = panel::BuildStatusConditions();
        g_StartupFailed = 0;
        EXPECT_EQ(got.oper, c.want.oper) << c.summary << " " << c.system << " " << c.status;
        EXPECT_EQ(got.ques, c.want.ques) << c.summary << " " << c.system << " " << c.status;
        EXPECT_EQ(got.warn, c.want.warn) << c.summary << " " << c.system << " " << c.status;
        EXPECT_EQ(got.lock, c.want.lock) << c.summary << " " << c.system << " " << c.status;
    }
}

TEST_F(StatusConditions, ARisingConditionLatchesIntoEveryChannelsEvent) {
    for (ScpiStatusBlock* block : {&scpi::g_StatusLan, &scpi::g_StatusWeb}) {
        ASSERT_EQ(scpiStatusBlockInit(block), 0);
        scpiQuesRegSet(block, kRegPtr, 0xFFFF);
        scpiQuesRegSet(block, kRegEvent, 0);
    }
    g_AlarmState.summary = 1u << 2;
    UpdateStatusConditions();
    g_AlarmState.summary = 0;
    UpdateStatusConditions();
    for (ScpiStatusBlock* block : {&scpi::g_StatusLan, &scpi::g_StatusWeb}) {
        EXPECT_EQ(scpiQuesRegGet(block, kRegCond), 0);
        EXPECT_EQ(scpiQuesRegGet(block, kRegEvent), 1 << 1);
    }
}

}  // namespace
