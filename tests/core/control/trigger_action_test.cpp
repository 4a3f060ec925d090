// Trigger actions: selected, armed and fired, with the running control task carrying out what they ask.
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/control/alarms/alarm_state.h"
#include "core/control/calibration/cal_state.h"
#include "core/control/preset_output.h"
#include "core/control/trig_act.h"
#include "tests/core/ctrl_fixture.h"

using namespace core;
using namespace test;

namespace {

std::vector<std::pair<uint32_t, uint32_t>> g_recalls;

int RecordRecall(uint32_t save, uint32_t index) {
    g_recalls.emplace_back(save, index);
    return 0;
}

class TriggerAction : public CtrlTest {
  protected:
    void SetUp() override {
        g_recalls.clear();
        core::g_TrigMemoryRecall = RecordRecall;
        g_OutputModeIdx = 1;
        g_ParamStore.rangeCode[1] = 1;
        ASSERT_LT(RunUntilReady(), 2000);
    }

    static void SetSource(uint32_t kind, uint32_t source) { TrigAct_SourceAccess(1, kind, &source); }
    static void SetValue(uint32_t index, uint32_t value) { TrigAct_ValueAccess(1, index, &value); }
};

// The dropped on request fails the trigger (an error for the remote controller), not only the output.
TEST_F(TriggerAction, OffIsCarriedOutDuringAnAlarmButOnIsDropped) {
    SetOutputOnOff(1);
    Poll(1);
    g_AlarmState.summary = 1;
    SetSource(kTrigKindOutput, kTrigSrcImm);
    for (uint32_t on : {0u, 1u}) {
        SetValue(kTrigValOutput, on);
        ClearTrace();
        EXPECT_EQ(TrigAct_Initiate(kTrigKindOutput), on ? kTrigErrExecution : 0);
        Poll(12);
        EXPECT_FALSE(Stage().OutputOn()) << on;
        EXPECT_EQ(WritesTo(2346).size(), on ? 0u : 1u) << on;
    }
}

TEST_F(TriggerAction, TriggerActionSetsVoltageAndFrequency) {
    SetValue(kTrigValVoltage, 12000);
    SetValue(kTrigValFrequency, 6000);
    SetSource(kTrigKindTrigger, kTrigSrcBus);
    TrigAct_Initiate(kTrigKindTrigger);
    EXPECT_EQ(GetAcv(0), 0);  // armed only
    EXPECT_EQ(TrigAct_BusTrigger(kTrigKindTrigger), 0);
    EXPECT_EQ(GetAcv(0), 12000);
    EXPECT_EQ(GetFrequency(0), 6000);
    Poll(1);
    EXPECT_DOUBLE_EQ(OnlyWriteTo(2384).value, 120.0);
}

TEST_F(TriggerAction, ResultsOfInitiateAndBusTrigger) {
    // {name, stored source, kind initiated and result, kind triggered and result, armed after}
    const std::tuple<const char*, uint32_t, uint32_t, int32_t, uint32_t, int32_t, uint32_t> cases[] = {
        {"kind 0", kTrigSrcBus, 0, kTrigErrTriggerIgnored, kTrigKindSelected, kTrigErrTriggerIgnored, 0},
        {"kind 4", kTrigSrcBus, 4, kTrigErrTriggerIgnored, kTrigKindSelected, kTrigErrTriggerIgnored, 0},
        {"bad source", 7, kTrigKindMemory, kTrigErrInitIgnored, kTrigKindMemory, kTrigErrTriggerIgnored, 0},
        {"other kind", kTrigSrcBus, kTrigKindMemory, 0, kTrigKindTrigger, kTrigErrTriggerIgnored, 1},
        {"bus by kind", kTrigSrcBus, kTrigKindMemory, 0, kTrigKindMemory, 0, 0},
        {"bus, selected kind", kTrigSrcBus, kTrigKindMemory, 0, kTrigKindSelected, 0, 0},
        // IMM recalls at once, unarmed; a bus trigger of its kind is accepted and does nothing more.
        {"immediate", kTrigSrcImm, kTrigKindMemory, 0, kTrigKindMemory, 0, 0},
        {"trigger input 1", kTrigSrcTri1, kTrigKindMemory, 0, kTrigKindSelected, kTrigErrTriggerIgnored, 1},
        {"trigger input 2", kTrigSrcTri2, kTrigKindMemory, 0, kTrigKindSelected, kTrigErrTriggerIgnored, 1},
        {"kind 5", kTrigSrcBus, kTrigKindMemory, 0, 5, kTrigErrTriggerIgnored, 1},
        {"aborted", kTrigSrcBus, kTrigKindMemory, 0, kTrigKindSelected, kTrigErrTriggerIgnored, 0},
    };
    for (const auto& [name, source, initKind, initResult, trigKind, trigResult, armedAfter] : cases) {
        TrigAct_Abort();
        g_TrigAct.kind = 0;
        SetSource(kTrigKindMemory, source);
        EXPECT_EQ(TrigAct_Initiate(initKind), initResult) << name;
        if (std::string(name) == "aborted") TrigAct_Abort();  // between initiate and trigger
        EXPECT_EQ(TrigAct_BusTrigger(trigKind), trigResult) << name;
        EXPECT_EQ(g_TrigAct.armed.load(), armedAfter) << name;
    }
    EXPECT_EQ(g_recalls.size(), 3u);  // the two bus triggers of a bus source and the immediate action
}

TEST_F(TriggerAction, TriggerInputsFireOnlyTheirOwnSource) {
    SetValue(kTrigValMemory, 3);
    SetSource(kTrigKindMemory, kTrigSrcTri2);
    TrigAct_Initiate(kTrigKindMemory);
    TrigAct_Input(0);
    EXPECT_TRUE(g_recalls.empty());
    TrigAct_Input(1);
    ASSERT_EQ(g_recalls.size(), 1u);
    EXPECT_EQ(g_recalls[0].second, 3u);
    TrigAct_Input(1);  // disarmed by the first
    EXPECT_EQ(g_recalls.size(), 1u);
}

// A recall the calibration refuses fails the trigger that fired it, as a refused output request does:
// answered as done, the remote controller would go on with settings that never came.
TEST_F(TriggerAction, ARecallRefusedDuringCalibrationFailsTheTrigger) {
    core::g_TrigMemoryRecall = PresetRunForOutput;
    g_CalState.mode.store(0x47);
    SetSource(kTrigKindMemory, kTrigSrcBus);
    EXPECT_EQ(TrigAct_Initiate(kTrigKindMemory), 0);
    EXPECT_EQ(TrigAct_BusTrigger(kTrigKindSelected), kTrigErrExecution);
    EXPECT_EQ(g_TrigAct.armed.load(), 0u);
    SetSource(kTrigKindMemory, kTrigSrcImm);
    EXPECT_EQ(TrigAct_Initiate(kTrigKindMemory), kTrigErrExecution);
}

TEST_F(TriggerAction, AccessOutsideTheKindsAndIndicesTakesTheSpareWord) {
    uint32_t v = 42;
    TrigAct_SourceAccess(1, 9, &v);
    TrigAct_ValueAccess(1, 4, &v);
    EXPECT_EQ(g_TrigAct.spare.load(), 42u);
    for (const auto& s : g_TrigAct.source)
        EXPECT_EQ(s.load(), 0u);
    uint32_t out = 0;
    TrigAct_ValueAccess(0, 77, &out);
    EXPECT_EQ(out, 42u);
    EXPECT_EQ(TrigAct_SourceAccess(0, 1, nullptr), 0);
}

}  // namespace
