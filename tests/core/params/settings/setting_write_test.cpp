// The one setting procedure: a value checked on every phase it goes to before the first is written, the
// holders' bounds (the panel's whole-degree angle cap, the remote duty band and its step), the line value
// written through the phases, the remote group mark of an all-phase edit.
#include <vector>

#include "core/params/access/param_access.h"
#include "core/params/access/wiring_state.h"
#include "core/params/param_dirty.h"
#include "core/params/param_store.h"
#include "core/params/settings/setting_write.h"
#include "core/system/state/edit_state.h"
#include "platform/stage/wiring_codes.h"
#include "tests/core/ctrl_fixture.h"

namespace {

using settings::Origin;
using settings::SetResult;
using settings::SetSetting;

class SettingWrite : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearParamGroupMarks();
        g_OutputRefresh.store(0);
    }
    void TearDown() override {
        ClearParamGroupMarks();
        g_MenuState = 0;
    }
    test::DefaultStore store;

    static ParamRec Rec(uint32_t id, uint32_t unit) { return test::ReadRecord(id, unit); }
    static void Limits(uint32_t id, uint32_t unit, int32_t value, int32_t max, int32_t min) {
        ParamRec r = Rec(id, unit);
        r.value = value;
        r.max = max;
        r.min = min;
        paramPutRecord(id, &r, unit);
    }
    static std::vector<int32_t> Values(uint32_t id) {
        return {Rec(id, 0).value, Rec(id, 1).value, Rec(id, 2).value};
    }
    static bool Marked(ParamDirtyFlag f) { return g_ParamDirty[f].load() != 0; }
};

// An edit of all phases that one phase's limit refuses writes no phase and marks nothing; within every
// phase's limits all three are written, the group is marked and the settings shown again.
TEST_F(SettingWrite, AllPhaseSetWritesEveryPhaseOrNone) {
    for (uint32_t p = 0; p < 3; ++p)
        Limits(kParamAcv, p, 1000, p == 2 ? 20000 : 30000, 0);
    EXPECT_EQ(SetSetting(kParamAcv, 0, 25000, Origin::kRemote, true), SetResult::kOutOfBounds);
    EXPECT_EQ(Values(kParamAcv), (std::vector<int32_t>{1000, 1000, 1000}));
    EXPECT_FALSE(Marked(kDirtyAcv));
    EXPECT_EQ(g_OutputRefresh.load(), 0u);

    EXPECT_EQ(SetSetting(kParamAcv, 0, 20000, Origin::kRemote, true), SetResult::kWritten);
    EXPECT_EQ(Values(kParamAcv), (std::vector<int32_t>{20000, 20000, 20000}));
    EXPECT_TRUE(Marked(kDirtyAcv));
    EXPECT_EQ(g_OutputRefresh.load(), 1u);
}

// A single-phase remote set in 3P4W leaves the other phases and the group alone; the record's own limits
// are the bounds at both ends, for both holders.
TEST_F(SettingWrite, OnePhaseSetWithinTheRecordsLimits) {
    for (uint32_t p = 0; p < 3; ++p)
        Limits(kParamAcv, p, 1000, 30000, 500);
    for (Origin who : {Origin::kRemote, Origin::kPanel}) {
        EXPECT_EQ(SetSetting(kParamAcv, 1, 30001, who), SetResult::kOutOfBounds);
        EXPECT_EQ(SetSetting(kParamAcv, 1, 499, who), SetResult::kOutOfBounds);
        EXPECT_EQ(SetSetting(kParamAcv, 1, 500, who), SetResult::kWritten);
        EXPECT_EQ(SetSetting(kParamAcv, 1, 30000, who), SetResult::kWritten);
        EXPECT_EQ(Values(kParamAcv), (std::vector<int32_t>{1000, 30000, 1000}));
        Limits(kParamAcv, 1, 1000, 30000, 500);
    }
    EXPECT_FALSE(Marked(kDirtyAcv));
}

// Above 500.00 Hz the angles are whole degrees: the panel's field stops at 359 (3590 tenths), a remote
// set keeps to the record's 359.9; below, both go to 359.9.
TEST_F(SettingWrite, PanelAnglesStopAt359WholeDegrees) {
    ASSERT_EQ(SetFrequencyPhase(60000, 0), 60000);
    ASSERT_EQ(Rec(kParamOnPhase, 0).decimals, 0);
    EXPECT_EQ(SetSetting(kParamOnPhase, 0, 3591, Origin::kPanel), SetResult::kOutOfBounds);
    EXPECT_EQ(SetSetting(kParamOnPhase, 0, 3590, Origin::kPanel), SetResult::kWritten);
    EXPECT_EQ(SetSetting(kParamOnPhase, 0, 3599, Origin::kRemote), SetResult::kWritten);
    EXPECT_EQ(SetSetting(kParamOnPhase, 0, 3600, Origin::kRemote), SetResult::kOutOfBounds);
    ASSERT_EQ(SetFrequencyPhase(5000, 0), 5000);
    ASSERT_EQ(Rec(kParamOnPhase, 0).decimals, 1);
    EXPECT_EQ(SetSetting(kParamOnPhase, 0, 3599, Origin::kPanel), SetResult::kWritten);
    EXPECT_EQ(Rec(kParamOnPhase, 0).value, 3599);
}

// A remote duty from 100.00 Hz up keeps to its band (checked before the rounding) and goes to the band's
// step: 1-99 % in 1 % steps, from 1000.00 Hz 10-90 % in 10 % steps.
TEST_F(SettingWrite, RemoteDutyTakesItsBandAndStep) {
    ASSERT_EQ(SetFrequencyPhase(20000, 0), 20000);
    EXPECT_EQ(SetSetting(kParamWaveDuty, 0, 985, Origin::kRemote), SetResult::kWritten);
    EXPECT_EQ(Rec(kParamWaveDuty, 0).value, 990);
    EXPECT_EQ(SetSetting(kParamWaveDuty, 0, 991, Origin::kRemote), SetResult::kOutOfBounds);
    EXPECT_EQ(Rec(kParamWaveDuty, 0).value, 990);
    ASSERT_EQ(SetFrequencyPhase(150000, 0), 150000);
    EXPECT_EQ(SetSetting(kParamWaveDuty, 0, 349, Origin::kRemote), SetResult::kWritten);
    EXPECT_EQ(Rec(kParamWaveDuty, 0).value, 300);
    EXPECT_EQ(SetSetting(kParamWaveDuty, 0, 99, Origin::kRemote), SetResult::kOutOfBounds);
    EXPECT_EQ(Rec(kParamWaveDuty, 0).value, 300);
    EXPECT_EQ(SetSetting(kParamWaveDuty, 0, 100, Origin::kRemote), SetResult::kWritten);  // 10 %, the band's end
    EXPECT_EQ(Rec(kParamWaveDuty, 0).value, 100);
    // Below 100.00 Hz the record's own limits.
    ASSERT_EQ(SetFrequencyPhase(5000, 0), 5000);
    const ParamRec duty = Rec(kParamWaveDuty, 0);
    EXPECT_EQ(SetSetting(kParamWaveDuty, 0, duty.max + 1, Origin::kRemote), SetResult::kOutOfBounds);
    EXPECT_EQ(SetSetting(kParamWaveDuty, 0, duty.max, Origin::kRemote), SetResult::kWritten);
    EXPECT_EQ(Rec(kParamWaveDuty, 0).value, duty.max);
}

// The line AC voltage is held to the line record and written to every phase (/ sqrt 3 in 3P4W); the line
// record keeps the value as set.
TEST_F(SettingWrite, LineValueGoesToThePhases) {
    Limits(kParamAcvLine, 0, 0, 50000, 0);
    EXPECT_EQ(SetSetting(kParamAcvLine, 0, 50001, Origin::kRemote), SetResult::kOutOfBounds);
    EXPECT_EQ(SetSetting(kParamAcvLine, 0, 17321, Origin::kRemote), SetResult::kWritten);
    EXPECT_EQ(Rec(kParamAcvLine, 0).value, 17321);
    EXPECT_EQ(Values(kParamAcv), (std::vector<int32_t>{10000, 10000, 10000}));
    EXPECT_TRUE(Marked(kDirtyLineAcv));
}

// In 1P3W a remote set of one phase is applied to both phases by the control task: its group is marked
// only when the other phase's limits let the value through too.
TEST_F(SettingWrite, SplitPhaseMarkWaitsForBothPhasesLimits) {
    ASSERT_EQ(SetPhaseMode(2), 2u);
    Limits(kParamAcv, 0, 1000, 20000, 0);
    Limits(kParamAcv, 1, 1000, 30000, 0);
    EXPECT_EQ(SetSetting(kParamAcv, 1, 25000, Origin::kRemote), SetResult::kWritten);
    EXPECT_EQ(Rec(kParamAcv, 1).value, 25000);
    EXPECT_FALSE(Marked(kDirtyAcv)) << "L1 holds 250 V back";
    EXPECT_EQ(SetSetting(kParamAcv, 1, 20000, Origin::kRemote), SetResult::kWritten);
    EXPECT_TRUE(Marked(kDirtyAcv));
}

// A changed limit holds the settings it limits, whoever set it: the frequency upper limit (never below the
// frequency) becomes the frequency's maximum, the voltage limit the AC voltage's.
TEST_F(SettingWrite, ALimitSetHoldsTheSettingsItLimits) {
    for (Origin who : {Origin::kRemote, Origin::kPanel}) {
        ASSERT_EQ(SetFrequencyPhase(6000, 0), 6000);
        EXPECT_EQ(SetSetting(kParamFreqLimitHi, 0, 5500, who), SetResult::kOutOfBounds) << "below the frequency";
        EXPECT_EQ(SetSetting(kParamFreqLimitHi, 0, 8000, who), SetResult::kWritten);
        EXPECT_EQ(Rec(kParamFreq, 0).max, 8000);
        EXPECT_EQ(SetSetting(kParamFreqLimitHi, 0, Rec(kParamFreqLimitHi, 0).max, who), SetResult::kWritten);

        EXPECT_EQ(SetSetting(kParamVoltLimit, 0, 12000, who), SetResult::kWritten);
        EXPECT_EQ(Rec(kParamAcv, 0).max, 12000);
        EXPECT_EQ(SetSetting(kParamVoltLimit, 0, Rec(kParamVoltLimit, 0).max, who), SetResult::kWritten);
    }
}

// In DC-INT a remote DC voltage is checked against the peak limits at once: the Vpk+ limit can no longer be
// set below the voltage now output on that phase.
TEST_F(SettingWrite, RemoteDcVoltageHoldsThePeakLimitAboveIt) {
    g_OutputModeIdx.store(kModeDcInt);
    ASSERT_EQ(SetSetting(kParamDcv, 0, 10000, Origin::kRemote), SetResult::kWritten);
    EXPECT_GE(Rec(kParamVpkMax, 0).min, 10000);
}

}  // namespace

// A set tells which phases held its value back (L1 1, L2 2, L3 4, the limit message's mask): a remote
// all-phase set by the phases whose limits refuse it, the panel's keys while all phases are edited
// together by the phases whose maxima are below the value tested; the keypad's value is held back in 3P4W,
// the knob's step is still taken and marks the group.
TEST_F(SettingWrite, ReportsThePhasesThatHoldAValueBack) {
    // The voltage limits too: the checks after a set derive the maxima from them.
    const int32_t max[3] = {30000, 21000, 20000};
    for (uint32_t p = 0; p < 3; ++p) {
        paramPutValue(kParamVoltLimit, max[p], p);
        Limits(kParamAcv, p, 1000, max[p], 0);
    }
    settings::HeldBack held;
    EXPECT_EQ(SetSetting(kParamAcv, 0, 21500, Origin::kRemote, true, &held), SetResult::kOutOfBounds);
    EXPECT_TRUE(held.held);
    EXPECT_EQ(held.phases, 6u);
    EXPECT_EQ(SetSetting(kParamAcv, 0, 20500, Origin::kRemote, true, &held), SetResult::kOutOfBounds);
    EXPECT_EQ(held.phases, 4u);
    EXPECT_EQ(SetSetting(kParamAcv, 0, 20000, Origin::kRemote, true, &held), SetResult::kWritten);
    EXPECT_FALSE(held.held);
    EXPECT_EQ(held.phases, 0u);

    g_PhaseMode = kWiring3P4W;
    g_EditAllPhases = 1;
    test::SelectLine(0);
    ClearParamGroupMarks();
    EXPECT_EQ(SetSetting(kParamAcv, 0, 21500, settings::PanelSet{settings::PanelKey::kEnter, 21500}, &held),
              SetResult::kHeldBack);
    EXPECT_EQ(held.phases, 6u);
    EXPECT_EQ(Values(kParamAcv), (std::vector<int32_t>{20000, 20000, 20000}));
    EXPECT_FALSE(Marked(kDirtyAcv));
    EXPECT_EQ(SetSetting(kParamAcv, 0, 19000, settings::PanelSet{settings::PanelKey::kKnob, 20500}, &held),
              SetResult::kWritten);
    EXPECT_EQ(held.phases, 4u);
    EXPECT_EQ(Rec(kParamAcv, 0).value, 19000);
    EXPECT_TRUE(Marked(kDirtyAcv));
    // A typed value within every phase's limits is set and marked, in 3P4W too.
    ClearParamGroupMarks();
    EXPECT_EQ(SetSetting(kParamAcv, 0, 15000, settings::PanelSet{settings::PanelKey::kEnter, 15000}, &held),
              SetResult::kWritten);
    EXPECT_FALSE(held.held);
    EXPECT_EQ(Rec(kParamAcv, 0).value, 15000);
    EXPECT_TRUE(Marked(kDirtyAcv));
}
