// The parameter access layer: limits, shadow posts, range codes, waveform and duty, register writers.
#include "core/params/param_access.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <functional>

#include "core/params/param_store.h"
#include "core/system/ctrl_words.h"
#include "core/system/msg_ring.h"
#include "core/system/parallel_link.h"
#include "ctrl_fixture.h"

using test::CtrlEnv;
using test::Read;

namespace {

class ParamAccess : public ::testing::Test {
  protected:
    CtrlEnv env_;
};

TEST_F(ParamAccess, AcvAboveTheRangeLimitIsRefusedAndPostsNothing) {
    ASSERT_EQ(GetVoltRange(), 0);  // 100 V
    ASSERT_EQ(GetAcvMax(0), 17500);
    SetAcv(10000, 0);
    g_OutputShadow[0][core::kShwAcv] = 0;
    EXPECT_EQ(SetAcv(17600, 0), 10000);
    EXPECT_EQ(GetAcv(0), 10000);
    EXPECT_EQ(g_OutputShadow[0][core::kShwAcv], 0u);
    EXPECT_EQ(SetAcv(17500, 0), 17500);
    EXPECT_EQ(g_OutputShadow[0][core::kShwAcv], 17501u);
    EXPECT_EQ(GetAcv(1), 0);  // the other phases keep theirs
}

// Every plain setter: a value within the record's limits is stored and posted as value + 1 into its
// shadow word; one beyond the maximum changes nothing.
TEST_F(ParamAccess, PlainSettersStoreWithinLimitsAndPost) {
    struct Row {
        const char* name;
        std::function<int32_t(int32_t)> set;
        uint32_t id;
        int phase;
        int shadow;  // -1: none
    };
    const Row rows[] = {
        {"SlewRate", SetSlewRate, 111, 0, core::kShwSlew},
        {"MonitorSource1Item", SetMonitorSource1Item, 123, 0, core::kShwMonitor1},
        {"PeakClearItem", SetPeakClearItem, 103, 0, -1},
        {"IpkMax L2", [](int32_t v) { return SetIpkMax(v, 1); }, 24, 1, core::kShwIpkHigh},
        {"CurrLimit L3", [](int32_t v) { return SetCurrLimit(v, 2); }, 61, 2, core::kShwIrms},
        {"OnPhase L2", [](int32_t v) { return SetOnPhase(v, 1); }, 64, 1, core::kShwOnPhase},
        {"SyncPhase", SetSyncPhase, 89, 0, core::kShwSyncPhase},
        {"PhaseAngle L3", SetPhaseAngle_L3, 74, 0, core::kShwAngleL3},
        {"Frequency L1", SetFrequency, 12, 0, core::kShwFreq},
        {"Gain L2", [](int32_t v) { return SetGain(v, 1); }, 75, 1, core::kShwGain},
        {"Dcv L3", [](int32_t v) { return SetDcv(v, 2); }, 54, 2, core::kShwDcv},
        {"PeakHoldTime", SetPeakHoldTime, 97, 0, core::kShwPeakHoldTime},
        {"TriggerWidth", SetTriggerWidth, 129, 0, core::kShwTrigWidth},
        {"AcvUnit", SetAcvUnit, 119, 0, core::kShwAcvUnit},
        {"OutputImpedance", SetOutputImpedance, 194, 0, core::kShwImpedance},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const ParamRec before = Read(r.id, static_cast<uint32_t>(r.phase));
        ASSERT_LT(before.min, before.max);
        const int32_t v = before.value == before.max ? before.min : before.max;
        EXPECT_EQ(r.set(v), v);
        EXPECT_EQ(Read(r.id, static_cast<uint32_t>(r.phase)).value, v);
        if (r.shadow >= 0) {
            EXPECT_EQ(g_OutputShadow[r.phase][r.shadow], static_cast<uint32_t>(v) + 1);
            g_OutputShadow[r.phase][r.shadow] = 0;
        }
        EXPECT_EQ(r.set(before.max + 1), v);
        EXPECT_EQ(Read(r.id, static_cast<uint32_t>(r.phase)).value, v);
        if (r.shadow >= 0) {
            EXPECT_EQ(g_OutputShadow[r.phase][r.shadow], 0u);
        }
    }
    EXPECT_EQ(SetAcv(100, 3), 0);  // no such phase
    EXPECT_EQ(GetAcv(-1), 0);
}

TEST_F(ParamAccess, ParallelSettersReturnZeroAndWriteTheLinkOnlyWhenSettled) {
    g_ParallelLink.ctrl = 3;
    EXPECT_EQ(SetParallelEnable(1), 0);
    EXPECT_EQ(GetParallelEnable(), 1);
    EXPECT_EQ(g_OutputShadow[0][core::kShwParEnable], 2u);
    EXPECT_TRUE(CtrlEnv::WritesTo(2480).empty());
    OutputFlagSet(kOutFlagSettled);
    SetParallelEnable(7);  // refused, but the link word is written all the same
    EXPECT_EQ(GetParallelEnable(), 1);
    ASSERT_EQ(CtrlEnv::WritesTo(2480).size(), 1u);
    EXPECT_EQ(CtrlEnv::WritesTo(2480)[0].raw, 3u);
}

TEST_F(ParamAccess, VoltRangeCodesFollowTheWiring) {
    SetPhaseMode(1);                 // 1P2W
    EXPECT_EQ(SetVoltRange(4), 6u);  // AUTO of the other wiring becomes AUTO here
    EXPECT_EQ(g_OutputShadow[0][core::kShwRange], 7u);
    EXPECT_EQ(GetVoltRange(), 2);
    EXPECT_EQ(SetVoltRange(1), 3u);
    EXPECT_EQ(GetVoltRange(), 1);

    SetPhaseMode(0);
    EXPECT_EQ(SetVoltRange(6), 4u);
    EXPECT_EQ(GetVoltRange(), 2);
    g_OutputRefresh = 0;
    EXPECT_EQ(SetVoltRange(5), 4u);  // no such code: nothing stored, the display still refreshes
    EXPECT_EQ(g_OutputRefresh, 1u);

    SetVoltRange(1);
    SetOutputMode(3);  // AC+DC-EXT: no AUTO range
    g_OutputRefresh = 0;
    g_OutputShadow[0][core::kShwRange] = 0;
    EXPECT_EQ(SetVoltRange(4), GetVoltRangeCode());
    EXPECT_NE(GetVoltRangeCode(), 4u);
    EXPECT_EQ(g_OutputRefresh, 0u);
    EXPECT_EQ(g_OutputShadow[0][core::kShwRange], 0u);

    EXPECT_EQ(RangeUserToCode(2), 4u);
    SetPhaseMode(1);
    EXPECT_EQ(RangeUserToCode(0), 2u);
    EXPECT_EQ(RangeUserToCode(9), 9u);
    EXPECT_EQ(SetPhaseMode(3), 1u);  // ignored
}

TEST_F(ParamAccess, PhaseEnableStatesPostOnlyAChange) {
    for (int p = 0; p < 3; ++p)
        ASSERT_EQ(GetOnPhaseState(p), 1);
    EXPECT_EQ(SetOnPhaseState(1, 0), 1);
    EXPECT_EQ(g_OutputShadow[0][core::kShwOnEnable], 0u);
    EXPECT_EQ(SetOnPhaseState(2, 0), 1);  // not a state
    EXPECT_EQ(SetOffPhaseState(0, 1), 0);
    EXPECT_EQ(g_OutputShadow[1][core::kShwOffEnable], 1u);
    EXPECT_EQ(GetOffPhaseState(1), 0);

    // Edit-all mode: L1 already off, but L2 differs, so L1 is posted again.
    SetOnPhaseState(0, 0);
    g_OutputShadow[0][core::kShwOnEnable] = 0;
    g_EditAllPhases = 1;
    EXPECT_EQ(SetOnPhaseState(0, 0), 0);
    EXPECT_EQ(g_OutputShadow[0][core::kShwOnEnable], 1u);
}

TEST_F(ParamAccess, DutyFollowsTheFrequency) {
    struct Case {
        int32_t duty, freq, expected;
    };
    const Case cases[] = {
        {955, 120000, 900}, {40, 100000, 100}, {549, 100000, 500}, {995, 50000, 990},
        {4, 10000, 10},     {454, 99999, 450}, {995, 5000, 995},   {3, 9999, 3},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(SetWaveDuty(c.duty, 1, 999, 1), c.duty);
        EXPECT_EQ(GetDutyForFreq(c.freq, 1), c.expected) << c.duty << " at " << c.freq;
    }
}

TEST_F(ParamAccess, WaveformAndDutyRefusals) {
    EXPECT_EQ(SetWaveform(17, 1), 17);
    EXPECT_EQ(g_OutputShadow[1][core::kShwWaveform], 18u);
    EXPECT_EQ(SetWaveform(256, 1), 17);  // beyond L1's limits
    SetOutputMode(2);                    // DC-INT
    EXPECT_EQ(SetWaveform(18, 1), 17);
    EXPECT_EQ(SetWaveform_L1(18), 18);  // L1 only refuses the EXT modes
    SetOutputMode(4);
    EXPECT_EQ(SetWaveform_L1(19), 18);

    MsgQueue_Clear();
    EXPECT_EQ(SetWaveDuty(500, 0, 999, 1), GetWaveDuty(0));  // AC-EXT has no internal waveform
    uint32_t id = 0;
    ASSERT_EQ(MsgQueue_Pop(&id), 0);
    EXPECT_EQ(id, 27u);
    SetOutputMode(1);
    EXPECT_EQ(SetWaveDuty(1000, 0, 999, 1), GetWaveDuty(0));
    EXPECT_EQ(MsgQueue_Count(), 1u);
    EXPECT_EQ(SetWaveDuty(999, 0, 999, 1), 999);
    EXPECT_EQ(g_OutputShadow[0][core::kShwDuty], 1000u);

    // The selected line (bits 2-3 of byte 3 of the output flags) is the one the Sel forms address.
    g_OutputFlags = 2u << 26;
    SetWaveformSel(18);
    EXPECT_EQ(GetWaveform(2), 18);
    EXPECT_EQ(GetWaveformSel(), 18);
}

TEST_F(ParamAccess, MonitorSourceFieldsAndTheirRegister) {
    SetMonitorSource2(5);  // field 5 in bits 3-5
    CtrlEnv::ClearTrace();
    EXPECT_EQ(SetMonitorSource1(4), 0);
    EXPECT_EQ(core::g_MonitorSourceWord, (5u << 3) | 3u);
    auto w = CtrlEnv::WritesTo(2448);
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].raw & 7u, 3u);
    EXPECT_EQ(w[0].raw >> 3, 5u);
    SetMonitorSource1(9);  // no such source: field kept, word written again
    EXPECT_EQ(core::g_MonitorSourceWord, (5u << 3) | 3u);

    SetTriggerSourceBits(2);
    EXPECT_EQ(core::g_TrigSourceBits, 2u);
    SetTriggerSourceBits(1);
    EXPECT_EQ(core::g_TrigSourceBits, 1u);
    SetTriggerSourceBits(0);
    EXPECT_EQ(core::g_TrigSourceBits, 0u);
}

TEST_F(ParamAccess, PeakCurrentLimitsByLimitMode) {
    ASSERT_EQ(SetIpkMax(4000, 1), 4000);
    ASSERT_EQ(SetIpkMin(-4000, 1), -4000);
    const ParamRec hi = Read(24, 1), lo = Read(27, 1);
    struct Case {
        int32_t mode;
        int32_t onHigh, offHigh;
    };
    for (const Case& c : {Case{1, 4000, hi.defaultMax}, Case{0, hi.defaultMax, 4000}}) {
        paramPutValue(0, 91, c.mode, 0);
        CtrlEnv::ClearTrace();
        EXPECT_EQ(ApplyIpkLimits(1), -4000);
        auto writes = CtrlEnv::Writes();
        ASSERT_EQ(writes.size(), 4u);
        EXPECT_EQ(writes[0].reg, 2406);  // limit-on high, L2
        EXPECT_FLOAT_EQ(writes[0].value, c.onHigh / 100.0f);
        EXPECT_EQ(writes[1].reg, 2400);  // limit-off high, L2
        EXPECT_FLOAT_EQ(writes[1].value, c.offHigh / 100.0f);
        EXPECT_EQ(writes[2].reg, 2409);
        EXPECT_EQ(writes[3].reg, 2403);
        EXPECT_FLOAT_EQ((c.mode == 1 ? writes[2] : writes[3]).value, -40.0f);
        EXPECT_FLOAT_EQ((c.mode == 1 ? writes[3] : writes[2]).value, lo.defaultMin / 100.0f);
    }
}

TEST_F(ParamAccess, MonitorScaleByAmplitudeFamilyWiringAndRange) {
    struct Case {
        uint32_t model, phaseMode, range;
        int32_t amplitude;
        float volt, curr;
    };
    const Case cases[] = {
        {1, 0, 0, 0, 0.01f, 0.041666668f}, {1, 1, 3, 0, 0.005f, 0.027777778f}, {2, 2, 1, 1, 0.02f, 0.25f},
        {8, 1, 2, 1, 0.04f, 0.041666668f}, {1, 0, 4, 0, 0.0f, 0.0f},  // AUTO
    };
    for (const Case& c : cases) {
        test::BuildDefaults(c.model);
        g_PhaseMode = c.phaseMode;
        g_ParamStore.rangeCode[GetOutputMode()] = c.range;
        paramPutValue(0, 127, c.amplitude, 0);
        CtrlEnv::ClearTrace();
        EXPECT_EQ(ApplyMonitorScale(), c.amplitude);
        auto w = CtrlEnv::Writes();
        ASSERT_EQ(w.size(), 2u) << c.model;
        EXPECT_EQ(w[0].reg, 2449);
        EXPECT_FLOAT_EQ(std::bit_cast<float>(w[0].raw), c.volt) << c.model;
        EXPECT_FLOAT_EQ(std::bit_cast<float>(w[1].raw), c.curr) << c.model;
    }
    paramPutValue(0, 127, 2, 0);
    CtrlEnv::ClearTrace();
    EXPECT_EQ(ApplyMonitorScale(), 2);
    EXPECT_TRUE(CtrlEnv::Writes().empty());
}

TEST_F(ParamAccess, Predicates) {
    // Remote sensing: AC-INT, 100 V, 3P4W, all SIN, impedance off.
    SetOutputMode(1);
    for (int p = 0; p < 3; ++p)
        SetWaveform(16, p);
    EXPECT_EQ(RemoteSenseBlockReason(), 0);
    SetWaveform(17, 2);
    EXPECT_EQ(RemoteSenseBlockReason(), 4);
    g_PhaseMode = 2;  // 1P3W uses L1 and L2 only
    EXPECT_EQ(RemoteSenseBlockReason(), 0);
    g_PhaseMode = 0;
    SetOutputMode(2);
    EXPECT_EQ(RemoteSenseBlockReason(), 0);  // DC-INT: waveforms do not matter
    SetOutputImpedance(1);
    EXPECT_EQ(RemoteSenseBlockReason(), 3);
    SetOutputMode(0);
    EXPECT_EQ(RemoteSenseBlockReason(), 1);
    SetOutputMode(8);
    SetVoltRange(4);
    EXPECT_EQ(RemoteSenseBlockReason(), 2);

    EXPECT_EQ(IsVoltResponseLocked(), 1);  // impedance on
    SetOutputImpedance(0);
    EXPECT_EQ(IsVoltResponseLocked(), 0);
    g_ParallelActive = 1;
    EXPECT_EQ(IsVoltResponseLocked(), 1);
    g_ParallelActive = 0;

    SetPhaseBalanceMode(1);
    EXPECT_EQ(IsBalanceActive(), 1);  // AC-SYNC, 3P4W
    g_PhaseMode = 1;
    EXPECT_EQ(IsBalanceActive(), 0);
    EXPECT_EQ(SetPhaseBalanceMode(5), 1);

    SetAcvUnit(1);
    EXPECT_EQ(IsAcvVpp(18), 1);
    EXPECT_EQ(IsAcvVpp(16), 0);
    EXPECT_EQ(IsAcvVpp(17), 0);
    SetOutputMode(1);
    EXPECT_EQ(IsAcIntNoSeqSim(), 1);
    OutputFlagSet(kOutFlagSeqSimActive);
    EXPECT_EQ(IsAcIntNoSeqSim(), 0);
}

TEST_F(ParamAccess, RmsAndPeakToPeakConversions) {
    EXPECT_EQ(RmsToVpp(10000, 1.414f), 28280);
    EXPECT_EQ(RmsToVpp(17500, 1.0f), 35000);
    EXPECT_EQ(VppToRms(28280, 1.414f), 10000);
    EXPECT_EQ(VppToRms(35000, 0.0f), 0);  // a waveform without a factor
    EXPECT_FLOAT_EQ(GetWaveCrestFactor(16), 1.414f);
    EXPECT_EQ(GetWaveCrestFactor(256), 0.0f);
}

TEST_F(ParamAccess, VoltageSetsReadWithoutTheSetSwitch) {
    SetWaveform(18, 0);  // TRI: shown in Vpp once the unit is Vpp
    SetAcv(5000, 0);
    SetAcvUnit(1);
    SetAcv(14000, 0);  // now the Vpp record
    EXPECT_EQ(GetAcvSetRms(0), 5000);
    EXPECT_EQ(GetAcvSetVpp(0), 14000);
    EXPECT_EQ(GetAcv(0), 14000);
}

TEST_F(ParamAccess, OutputPhaseInitPutsThePhaseBack) {
    core::g_CtrlStartupWord = 0;  // after the first pass: waveform, gain and voltages too
    SetOutputMode(1);
    SetWaveform(18, 1);
    SetAcv(12000, 1);
    SetFrequencyPhase(6000, 1);
    SetCurrLimit(1000, 1);
    SetOnPhaseState(0, 1);
    CtrlEnv::ClearTrace();
    OutputPhaseInit(1);
    EXPECT_EQ(GetWaveform(1), 16);
    EXPECT_EQ(GetAcv(1), 0);
    EXPECT_EQ(GetFrequency(1), 5000);
    // The start values go to the power stage; the store takes them only within its records' limits (a
    // 4.5 kVA unit allows 15.75 A and a gain of 250.0 in the 100 V range).
    EXPECT_EQ(GetCurrLimit(1), 1000);
    EXPECT_EQ(g_OutputShadow[1][core::kShwIrms], 2100u);
    EXPECT_EQ(GetOnPhaseState(1), 1);
    EXPECT_EQ(GetGain(1), 1000);
    auto regs = CtrlEnv::Writes();
    auto wrote = [&](uint16_t reg, double value) {
        for (const auto& w : regs)
            if (w.reg == reg && w.value == value) return true;
        return false;
    };
    EXPECT_TRUE(wrote(2338, 17));    // waveform register of L2: SIN
    EXPECT_TRUE(wrote(2385, 0.0));   // AC voltage L2
    EXPECT_TRUE(wrote(2415, 50.0));  // frequency L2
    EXPECT_TRUE(wrote(2397, 21.0));  // rms current limit L2
    EXPECT_TRUE(wrote(2391, 1000.0));
    EXPECT_TRUE(CtrlEnv::WritesTo(2340).empty());  // the control task raises the strobe
}

TEST_F(ParamAccess, ReapplyAfterSeqSimPostsEverySetting) {
    SetAcv(11000, 2);
    SetOnPhase(900, 1);
    std::memset(g_OutputShadow, 0, sizeof g_OutputShadow);
    ReapplyAfterSeqSim();
    EXPECT_EQ(g_OutputShadow[0][core::kShwMode], GetOutputMode() + 1);
    EXPECT_EQ(g_OutputShadow[0][core::kShwRange], GetVoltRangeCode() + 1);
    EXPECT_EQ(g_OutputShadow[2][core::kShwAcv], 11001u);
    EXPECT_EQ(g_OutputShadow[1][core::kShwOnPhase], 901u);
    EXPECT_EQ(g_OutputShadow[2][core::kShwOnEnable], 2u);  // enables of every phase, state 1
    EXPECT_EQ(g_OutputShadow[0][core::kShwSlew], static_cast<uint32_t>(GetSlewRate()) + 1);

    SeqSimEnterRequest();
    EXPECT_EQ(g_OutputShadow[0][core::kShwSeqSimEntry], 1u);
    EXPECT_EQ(core::g_SeqSimOutputReset, 1u);
}

}  // namespace
