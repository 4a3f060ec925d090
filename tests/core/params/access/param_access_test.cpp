// The parameter access layer: limits, shadow posts, range codes, waveform and duty, register writers.
#include "core/params/access/param_access.h"

#include <climits>
#include <cmath>
#include <tuple>
#include <utility>

#include "core/params/access/acv_unit.h"
#include "core/params/param_ranges.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/output_flags.h"
#include "platform/stage/wave_numbers.h"
#include "tests/core/ctrl_fixture.h"

using namespace test;

namespace {

using ParamAccess = CtrlTest;

TEST_F(ParamAccess, ParallelSettersReturnZeroAndWriteTheLinkOnlyWhenSettled) {
    g_ParallelLink.ctrl = 3;
    EXPECT_EQ(SetParallelEnable(1), 0);
    EXPECT_TRUE(WritesTo(2480).empty());
    OutputFlagSet(kOutFlagSettled);
    SetParallelEnable(7);  // refused, but the link word is written all the same
    EXPECT_EQ(GetParallelEnable(), 1);
    EXPECT_EQ(OnlyWriteTo(2480).raw, 3u);
}

TEST_F(ParamAccess, VoltRangeCodesFollowTheWiring) {
    SetPhaseMode(1);                 // 1P2W
    EXPECT_EQ(SetVoltRange(4), 6u);  // AUTO of the other wiring becomes AUTO here
    EXPECT_EQ(GetVoltRange(), 2);
    EXPECT_EQ(SetVoltRange(1), 3u);
    EXPECT_EQ(GetVoltRange(), 1);
    EXPECT_EQ(RangeUserToCode(0), 2u);
    EXPECT_EQ(RangeUserToCode(9), 9u);

    SetPhaseMode(0);
    EXPECT_EQ(RangeUserToCode(2), 4u);
    EXPECT_EQ(SetVoltRange(6), 4u);
    EXPECT_EQ(GetVoltRange(), 2);
    g_OutputRefresh = 0;
    EXPECT_EQ(SetVoltRange(5), 4u);  // no such code: nothing stored, the display still refreshes
    EXPECT_EQ(g_OutputRefresh, 1u);
    EXPECT_EQ(SetPhaseMode(3), 0u);  // no such wiring: ignored

    for (const uint32_t mode : {3u, 6u}) {  // AC+DC-EXT to AC-ADD: no AUTO range
        SetOutputMode(mode);
        SetVoltRange(1);
        g_OutputRefresh = 0;
        EXPECT_EQ(SetVoltRange(4), GetVoltRangeCode());
        EXPECT_NE(GetVoltRangeCode(), 4u) << mode;
        EXPECT_EQ(g_OutputRefresh, 0u);
    }
}

// The ON and OFF enables of the lines, as the stage's option word carries them once the task took them.
bool StageEnable(uint32_t firstBit, uint32_t line) {
    return Stage().Stored(2348, 0) & (1u << (firstBit + line));
}

TEST_F(ParamAccess, PhaseEnableStatesReachTheStageOnlyOnAChange) {
    ASSERT_LT(RunUntilReady(), 2000);
    for (int p = 0; p < 3; ++p)
        ASSERT_EQ(GetOnPhaseState(p), 1);
    EXPECT_EQ(SetOnPhaseState(1, 0), 1);
    Settle();
    EXPECT_TRUE(WritesTo(2348).empty()) << "no change";
    paramPutValue(kParamMeasItem1 + 5, 1, 0);  // the line the remote addresses
    SelectLine(1);
    EXPECT_EQ(SetOnPhaseState(0, 1), 0);
    EXPECT_EQ(SetOnPhaseState(2, 1), 0);  // not a state
    EXPECT_EQ(SetOffPhaseState(0, 1), 0);
    Settle();
    EXPECT_FALSE(StageEnable(core::kOptOnEnableL1, 1));
    EXPECT_FALSE(StageEnable(core::kOptOffEnableL1, 1));
    EXPECT_TRUE(StageEnable(core::kOptOnEnableL1, 2));

    // Edit-all mode: L1 already off and L2 on; L2 counts as a change only in 3P4W (1P3W looks at L1 only),
    // and the change takes every line to L1's state.
    for (const auto& [wiring, changed] : {std::pair{2u, false}, {0u, true}}) {
        Rebuild();
        g_PhaseMode = wiring;
        ASSERT_LT(RunUntilReady(), 2000);
        SetOnPhaseState(0, 0);
        Settle();
        EXPECT_EQ(SetOnPhaseState(0, 0), 0);  // L2 differs, but only edit-all mode looks at it
        Settle();
        EXPECT_TRUE(WritesTo(2348).empty());
        g_EditAllPhases = 1;
        EXPECT_EQ(SetOnPhaseState(0, 0), 0);
        Settle();
        EXPECT_EQ(StageEnable(core::kOptOnEnableL1, 1), !changed) << "wiring " << wiring;
        g_EditAllPhases = 0;
    }
}

TEST_F(ParamAccess, DutyFollowsTheFrequency) {
    const int32_t cases[][3] = {
        // {duty set, frequency, duty in force}
        {955, 120000, 900}, {40, 100000, 100}, {549, 100000, 500}, {995, 50000, 990},
        {4, 10000, 10},     {454, 99999, 450}, {995, 5000, 995},   {3, 9999, 3},
    };
    for (const auto& [duty, freq, expected] : cases) {
        ASSERT_EQ(SetWaveDuty(duty, 1, 999, 1), duty);
        EXPECT_EQ(GetDutyForFreq(freq, 1), expected) << duty << " at " << freq;
    }
}

TEST_F(ParamAccess, WaveformAndDutyRefusals) {
    EXPECT_EQ(SetWaveform(17, 1), 17);
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

    // The selected line (bits 2-3 of byte 3 of the output flags) is the one the Sel forms address.
    g_OutputFlags = 2u << 26;
    SetWaveformSel(18);
    EXPECT_EQ(GetWaveform(2), 18);
}

TEST_F(ParamAccess, MonitorSourceFieldsShareOneRegister) {
    SetMonitorSource2(5);  // field 5 in bits 3-5
    ClearTrace();
    EXPECT_EQ(SetMonitorSource1(4), 0);
    const uint32_t word = OnlyWriteTo(2448).raw;
    EXPECT_EQ(word & 7u, 3u);
    EXPECT_EQ(word >> 3, 5u);
    SetMonitorSource1(9);  // no such source: field kept, word written again
    EXPECT_EQ(WritesTo(2448).back().raw, word);
    SetTriggerSourceBits(2);
    SetTriggerSourceBits(1);
    EXPECT_EQ(core::g_TrigSourceBits, 1u);
}

TEST_F(ParamAccess, PeakCurrentLimitsByLimitMode) {
    ASSERT_EQ(SetIpkMax(4000, 1), 4000);
    ASSERT_EQ(SetIpkMin(-4000, 1), -4000);
    const ParamRec hi = Read(24, 1), lo = Read(27, 1);
    // Limit mode 1 sends the set limits as the limit-on pair and the outer bounds as the limit-off pair;
    // mode 0 the other way round.
    for (int32_t mode : {1, 0}) {
        paramPutValue(91, mode, 0);
        ClearTrace();
        EXPECT_EQ(ApplyIpkLimits(1), -4000);
        const float onHigh = mode == 1 ? 40.0f : hi.defaultMax / 100.0f;
        const float offHigh = mode == 1 ? hi.defaultMax / 100.0f : 40.0f;
        const float onLow = mode == 1 ? -40.0f : lo.defaultMin / 100.0f;
        const float offLow = mode == 1 ? lo.defaultMin / 100.0f : -40.0f;
        EXPECT_FLOAT_EQ(OnlyWriteTo(2406).value, onHigh);
        EXPECT_FLOAT_EQ(OnlyWriteTo(2400).value, offHigh);
        EXPECT_FLOAT_EQ(OnlyWriteTo(2409).value, onLow);
        EXPECT_FLOAT_EQ(OnlyWriteTo(2403).value, offLow);
    }
}

// 200 V halves the voltage scale and doubles the current scale; 1P2W a third of the current scale;
// 6 kVA three quarters of 4.5 kVA; high amplitude four times. AUTO sends 0, an amplitude above 1 nothing.
TEST_F(ParamAccess, MonitorScaleFollowsRangeWiringFamilyAndAmplitude) {
    auto scale = [](uint32_t model, uint32_t wiring, uint32_t code, int32_t amplitude) {
        BuildDefaults(model);
        g_PhaseMode = wiring;
        g_ParamStore.rangeCode[GetOutputMode()] = code;
        paramPutValue(127, amplitude, 0);
        ClearTrace();
        EXPECT_EQ(ApplyMonitorScale(), amplitude);
        const auto w = Writes();
        return w.size() == 2 ? std::pair{w[0].value, w[1].value} : std::pair{-1.0, -1.0};
    };
    const auto base = scale(1, 0, 0, 0);
    ASSERT_GT(base.first, 0.0);
    ASSERT_GT(base.second, 0.0);
    EXPECT_FLOAT_EQ(scale(1, 0, 1, 0).first, base.first / 2);
    EXPECT_FLOAT_EQ(scale(1, 0, 1, 0).second, base.second * 2);
    EXPECT_FLOAT_EQ(scale(1, 1, 2, 0).first, base.first);
    EXPECT_FLOAT_EQ(scale(1, 1, 2, 0).second, base.second / 3);
    EXPECT_FLOAT_EQ(scale(2, 0, 0, 0).second, base.second * 0.75);
    EXPECT_FLOAT_EQ(scale(8, 0, 0, 0).second, base.second * 0.75);
    EXPECT_FLOAT_EQ(scale(1, 0, 0, 1).first, base.first * 4);
    EXPECT_FLOAT_EQ(scale(1, 0, 0, 1).second, base.second * 4);
    EXPECT_EQ(scale(1, 0, 4, 0), std::pair(0.0, 0.0));
    EXPECT_EQ(scale(1, 0, 0, 2), std::pair(-1.0, -1.0));
}

// The reason names the condition that fails.
TEST_F(ParamAccess, RemoteSensingConditions) {
    const std::tuple<const char*, void (*)(), int> cases[] = {
        {"AC-INT, SIN", [] {}, 0},
        {"TRI on L3", [] { SetWaveform(18, 2); }, 4},
        {"TRI on L3, 1P3W", [] { SetWaveform(18, 2), g_PhaseMode = 2; }, 0},
        {"TRI on L3, DC-INT", [] { SetWaveform(18, 2), SetOutputMode(2); }, 0},
        {"impedance on", [] { SetOutputImpedance(1); }, 3},
        {"AC+DC-INT", [] { SetOutputMode(0); }, 1},
        {"AC-SYNC, AUTO", [] { SetOutputMode(8), SetVoltRange(4); }, 2},
    };
    for (const auto& [what, set, reason] : cases) {
        Rebuild();
        SetOutputMode(1);
        set();
        EXPECT_EQ(RemoteSenseBlockReason(), reason) << what;
    }
    // The voltage response is locked with the impedance on, in 1P2W or in parallel operation.
    BuildDefaults(1);
    SetOutputMode(8);
    SetOutputImpedance(1);
    EXPECT_EQ(IsVoltResponseLocked(), 1);
    SetOutputImpedance(0);
    EXPECT_EQ(IsVoltResponseLocked(), 0);
    g_ParallelActive = 1;
    EXPECT_EQ(IsVoltResponseLocked(), 1);
}

// Every output mode in every wiring: balancing needs 3P4W or 1P3W and one of the modes AC+DC-INT (0),
// AC-INT (1), AC+DC-Sync (7), AC-Sync (8) and AC-VCA (9); the AC-INT test holds only for mode 1 and only
// while no SEQ/SIM function runs.
TEST_F(ParamAccess, BalanceAndAcIntTestsByModeAndWiring) {
    const bool balanceModes[10] = {true, true, false, false, false, false, false, true, true, true};
    ASSERT_EQ(SetPhaseBalanceMode(1), 1);
    EXPECT_EQ(SetPhaseBalanceMode(5), 1);  // not a mode
    for (uint32_t wiring = 0; wiring < 3; ++wiring) {
        for (uint32_t mode = 0; mode < 10; ++mode) {
            g_PhaseMode = wiring;
            ASSERT_EQ(SetOutputMode(mode), mode);
            EXPECT_EQ(IsBalanceActive(), wiring != 1 && balanceModes[mode] ? 1 : 0) << wiring << " " << mode;
            OutputFlagClear(kOutFlagSeqSimActive);
            EXPECT_EQ(IsAcIntNoSeqSim(), mode == 1 ? 1 : 0) << mode;
            OutputFlagSet(kOutFlagSeqSimActive);
            EXPECT_EQ(IsAcIntNoSeqSim(), 0) << mode;
            OutputFlagClear(kOutFlagSeqSimActive);
        }
    }
    SetPhaseBalanceMode(0);
    g_PhaseMode = 0;
    EXPECT_EQ(IsBalanceActive(), 0);
}

// The four set readers each take their own record set (0 rms, 1 Vpp) of their own setting, whatever the
// automatic switch between the sets would choose.
TEST_F(ParamAccess, SetReadersTakeTheirOwnRecordSet) {
    SetOutputMode(0);  // AC+DC-INT: both voltages have both sets
    for (int p = 0; p < 3; ++p) {
        core::ParamPlace at{.waveform = uint32_t(GetWaveform(p)), .unit = uint32_t(p)};
        for (at.area = 0; at.area < 2; ++at.area) {
            for (at.set = 0; at.set < 2; ++at.set) {
                for (uint32_t id : {uint32_t{kParamAcv}, uint32_t{kParamDcv}}) {
                    ParamRec rec;
                    ASSERT_EQ(paramAccessByUnit(Access::kRead, id, &rec, at), 0);
                    rec.value = 1000 * p + 100 * static_cast<int32_t>(at.set) + (id == kParamDcv ? 10 : 1);
                    ASSERT_EQ(paramAccessByUnit(Access::kWrite, id, &rec, at), 0);
                }
            }
        }
        EXPECT_EQ(GetAcvSetRms(p), 1000 * p + 1);
        EXPECT_EQ(GetDcvSetRms(p), 1000 * p + 10);
        EXPECT_EQ(GetAcvSetVpp(p), 1000 * p + 101);
        EXPECT_EQ(GetDcvSetVpp(p), 1000 * p + 110);
    }
}

TEST_F(ParamAccess, RmsAndPeakToPeakConversions) {
    EXPECT_EQ(RmsToVpp(10000, 1.414f), 28280);
    // Beyond 32 bits the conversion saturates; the largest value is over every limit.
    const std::tuple<int32_t, float, int32_t> saturating[] = {
        {35000, 1.0e5f, INT32_MAX}, {-35000, 1.0e5f, INT32_MIN}, {35000, NAN, 0}};
    for (const auto& [v, f, vpp] : saturating)
        EXPECT_EQ(RmsToVpp(v, f), vpp) << v << " " << f;
    EXPECT_EQ(AcvExceedsMax(RmsToVpp(35000, 1.0e5f), 0), 1);
    EXPECT_EQ(AcvExceedsMax(GetAcvLimitMax(0), 0), 0);  // the maximum itself is a value the phase takes
    EXPECT_EQ(AcvExceedsMax(GetAcvLimitMax(0) + 1, 0), 1);
    EXPECT_EQ(VppToRms(28280, 1.414f), 10000);
    EXPECT_EQ(VppToRms(35000, 0.0f), 0);  // a waveform without a factor
    EXPECT_EQ(SetAcv(100, 3), 0);         // no such phase
    EXPECT_EQ(GetAcv(-1), 0);
}

// In Vrms a waveform change takes the AC and DC voltage set just before it, which the control task reads
// from the new waveform's records.
TEST_F(ParamAccess, WaveformChangeInVrmsTakesTheVoltageInForce) {
    SetOutputMode(kModeAcDcInt);
    SetAcvUnit(0);
    ASSERT_EQ(SetWaveform(kWaveSin, 0), static_cast<int32_t>(kWaveSin));
    for (const auto& [wave, acv, dcv] : {std::tuple{kWaveTri, 6000, 500}, {kWaveSqu, 8000, -300}, {0u, 9000, 0}}) {
        SetAcv(acv, 0);
        SetDcv(dcv, 0);
        ASSERT_EQ(SetWaveform(static_cast<int32_t>(wave), 0), static_cast<int32_t>(wave));
        EXPECT_EQ(GetAcv(0), acv) << wave;
        EXPECT_EQ(GetDcv(0), dcv) << wave;
    }
}

// A waveform with almost no rms: the Vpp ceiling saturates instead of wrapping to a negative.
TEST_F(ParamAccess, VppCeilingOfAHugePeakFactorSaturates) {
    SetAcvUnit(1);
    EXPECT_EQ(SetWaveform(18, 0), 18);
    core::ParamSetWaveFactor(18, 1.0e5f);
    for (const auto& [wiring, state] : {std::pair{0u, 0u}, {0u, 50u}, {2u, 50u}}) {
        g_PhaseMode = wiring;
        g_MenuState = state;
        EXPECT_EQ(GetAcvMaxVppOfPhase(0), INT32_MAX) << wiring << " " << state;
        EXPECT_EQ(IsAcvOverVppLimitOfPhase(30000, 0), 0);
    }
    g_MenuState = 0;
}

TEST_F(ParamAccess, OutputPhaseInitPutsThePhaseBack) {
    core::g_CtrlStartupWord = 0;  // after the first pass: waveform, gain and voltages too
    SetOutputMode(1);
    SetWaveform(18, 1);
    SetAcv(12000, 1);
    SetCurrLimit(1000, 1);
    ClearTrace();
    OutputPhaseInit(1);
    EXPECT_EQ(GetWaveform(1), 16);
    EXPECT_EQ(GetAcv(1), 0);
    // The stage takes the record's value, so that the setting shown is the limit in force.
    EXPECT_EQ(GetCurrLimit(1), 1000);
    EXPECT_EQ(WritesTo(2338).back().raw, 17u);  // waveform register of L2: SIN
    EXPECT_EQ(WritesTo(2397).back().value, 10.0);
    EXPECT_TRUE(WritesTo(2340).empty());
}

// The stage played other values during the run: every setting is written to it again, unchanged ones too.
TEST_F(ParamAccess, ReapplyAfterSeqSimWritesEverySettingAgain) {
    SetAcv(11000, 2);
    SetOnPhase(900, 1);
    ASSERT_LT(RunUntilReady(), 2000);
    // The run left every line's ON enable off.
    g_OutputOptionWord = g_OutputOptionWord & ~(7u << core::kOptOnEnableL1);
    BusReg_SetServiceFlags(static_cast<int32_t>(g_OutputOptionWord.load()));
    ReapplyAfterSeqSim();
    Settle();
    for (const uint16_t reg : {2347, 2386, 2377, 2343})
        EXPECT_FALSE(WritesTo(reg).empty()) << reg;
    for (uint32_t p = 0; p < 3; ++p)
        EXPECT_TRUE(StageEnable(core::kOptOnEnableL1, p)) << p;
    EXPECT_FLOAT_EQ(WritesTo(2386).back().value, 110.0f);
    EXPECT_FLOAT_EQ(WritesTo(2377).back().value, 90.0f);

    SeqSimEnterRequest();
    EXPECT_EQ(core::g_SeqSimOutputReset, 1u);
}

}  // namespace
