// The handler framework on a capturing fake channel: the mode table of unused settings, the line checks,
// the duty rules of the generic numeric handler and the block header reader.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/params/access/param_access.h"
#include "core/params/param_dirty.h"
#include "core/params/param_store.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/service_flags.h"
#include "engine/arb/arb_builder.h"
#include "scpi/handlers/scpi_numeric_param.h"
#include "scpi/handlers/scpi_refusals.h"
#include "scpi/handlers/source/scpi_arb_edit_param.h"
#include "scpi/parser/scpi_errors.h"
#include "tests/core/ctrl_fixture.h"
#include "tests/scpi/scpi_channel_fixture.h"
#include "tests/support/default_store.h"

namespace {

// The modes 0-9 in which an id is unused, as a string of 0/1.
std::string UnusedModes(uint32_t id) {
    std::string s;
    for (uint32_t mode = 0; mode < 10; ++mode) {
        g_OutputModeIdx.store(mode);
        s += ParamUnusedInMode(id) ? '1' : '0';
    }
    g_OutputModeIdx.store(1);
    return s;
}

TEST(ScpiFramework, UnusedSettingsByModeAndSeqSim) {
    test::DefaultStore store;
    const std::pair<uint32_t, const char*> cases[] = {
        {12, "0011100110"}, {64, "0011100000"}, {75, "1110000110"}, {81, "1111111001"}, {8, "1011110101"},
        {10, "0101101011"}, {47, "0011100001"}, {51, "0101101011"}, {34, "0011100000"}, {61, "0000000000"},
    };
    for (const auto& [id, modes] : cases)
        EXPECT_EQ(UnusedModes(id), modes) << id;
    SetPhaseBalanceMode(0);  // Unbalance: the line values are unused everywhere
    EXPECT_EQ(UnusedModes(50), "1111111111");
    SetPhaseBalanceMode(1);
    EXPECT_EQ(UnusedModes(50), "0011100001");
    OutputFlagSet(kOutFlagSeqSimActive);
    EXPECT_EQ(UnusedModes(61), "1111111111");
    OutputFlagClear(kOutFlagSeqSimActive);
}

// {wiring, selected line, phase access refused, line access refused}, then the same under the override.
TEST(ScpiFramework, LineChecksPerWiringAndOverride) {
    test::DefaultStore store;
    const struct {
        uint32_t wiring, line;
        int phase, lineAccess;
    } cases[] = {
        {0, 0, 0, 0}, {0, 2, 0, 0}, {1, 0, 0, 1}, {1, 1, 1, 1}, {2, 0, 0, 0}, {2, 1, 0, 1}, {2, 2, 1, 1},
    };
    for (const auto& c : cases) {
        SetPhaseMode(c.wiring);
        test::SelectLine(c.line);
        EXPECT_EQ(PhaseAccessInvalid(), c.phase) << c.wiring << " L" << c.line + 1;
        EXPECT_EQ(LineAccessInvalid(), c.lineAccess) << c.wiring << " L" << c.line + 1;
        g_ServiceFlags.threePhase1P2W.store(1);
        EXPECT_EQ(PhaseAccessInvalid() + LineAccessInvalid(), 0);
        g_ServiceFlags.threePhase1P2W.store(0);
    }
    SetPhaseMode(0);
    test::SelectLine(0);
}

class NumericParam : public ::testing::Test {
  protected:
    test::DefaultStore store;
    scpitest::FakeChannel ch{kChanLan};

    // Runs the generic handler of `id` with one parameter (or none) and returns "reply|error row".
    template <typename T>
    std::string Run(uint32_t id, bool query, uint8_t type, T value) {
        return ch.Call([id](ScpiInterface* ifc) { return scpiNumericParam(ifc, id); }, query, type, value);
    }
    void SetFreq(int32_t hundredthsHz) {
        ParamRec rec = test::ReadRecord(kParamFreq, 0);
        rec.value = hundredthsHz;
        paramPutRecord(kParamFreq, &rec, 0);
    }
};

// Duty at 500 Hz: tenths rounded to whole percent, bounds 1-99 %; at 2 kHz: bounds 10-90 %.
TEST_F(NumericParam, DutyFollowsTheFrequency) {
    SetFreq(50000);
    EXPECT_EQ(Run(34, false, kItemReal, 25.4), "|0");
    EXPECT_EQ(Run(34, true, kItemOmitted, 0), "+25.0000|0");
    EXPECT_EQ(Run(34, true, kItemChoice, int32_t{0}), "+1.0000|0");
    EXPECT_EQ(Run(34, true, kItemChoice, int32_t{1}), "+99.0000|0");
    EXPECT_EQ(Run(34, false, kItemInt, int32_t{25}), "|0");  // an integer is the same step as 25.0
    EXPECT_EQ(Run(34, true, kItemOmitted, 0), "+25.0000|0");
    // Each bound is a value a set takes; a tenth beyond it is refused.
    EXPECT_EQ(Run(34, false, kItemReal, 1.0), "|0");
    EXPECT_EQ(Run(34, false, kItemReal, 0.9), "|53");
    EXPECT_EQ(Run(34, false, kItemReal, 99.0), "|0");
    EXPECT_EQ(Run(34, false, kItemReal, 99.1), "|53");
    SetFreq(200000);
    EXPECT_EQ(Run(34, false, kItemInt, int32_t{5}), "|53");
    EXPECT_EQ(Run(34, false, kItemChoice, int32_t{2}), "|51");
    EXPECT_EQ(Run(34, false, kItemReal, 10.0), "|0");
    EXPECT_EQ(Run(34, false, kItemReal, 9.9), "|53");
    EXPECT_EQ(Run(34, false, kItemReal, 90.0), "|0");
    EXPECT_EQ(Run(34, false, kItemReal, 90.1), "|53");
}

// The peak-current limits are refused with the output on only while parallel operation is active.
TEST_F(NumericParam, PeakCurrentLimitsWithTheOutputOn) {
    OutputFlagSet(kOutFlagOutputOn);
    for (const uint32_t id : {kParamIpkMax, kParamIpkMin}) {
        EXPECT_EQ(Run(id, false, kItemChoice, int32_t{0}), "|0") << id;
        g_ParallelActive.store(1);
        EXPECT_EQ(Run(id, false, kItemChoice, int32_t{0}), "|112") << id;
        g_ParallelActive.store(0);
    }
    OutputFlagClear(kOutFlagOutputOn);
}

// A refused value changes no phase, also when only a later phase refuses it under edit-all.
TEST_F(NumericParam, RefusedEditAllChangesNothing) {
    const int32_t before = GetAcv(0);
    ParamRec l3 = test::ReadRecord(kParamAcv, 2);
    l3.max = 5000;  // L3 tops out at 50 V
    paramPutRecord(kParamAcv, &l3, 2);
    g_EditAllPhases.store(1);
    ClearParamGroupMarks();
    EXPECT_EQ(Run(47, true, kItemChoice, int32_t{1}), "+50.0000|0");  // the smallest phase maximum
    EXPECT_EQ(Run(47, false, kItemReal, 120.0), "|53");
    EXPECT_EQ(GetAcv(0), before);
    EXPECT_EQ(g_ParamDirty[kDirtyAcv].load(), 0u);
    EXPECT_EQ(Run(47, false, kItemReal, 1e12), "|53");
    EXPECT_EQ(Run(47, false, kItemReal, 40.0), "|0");
    EXPECT_EQ(GetAcv(0), 4000);
    EXPECT_EQ(GetAcv(2), 4000);
    EXPECT_EQ(g_ParamDirty[kDirtyAcv].load(), 1u);  // the control task applies it to every phase
    g_EditAllPhases.store(0);
}

// The builder's clip (item 2, hundredths) within the caller's 10-90 steps: {query, type, value, result}.
TEST_F(NumericParam, ArbBuilderSettingWithinTheCallersLimits) {
    auto clip = [](ScpiInterface* ifc) { return scpiArbEditParam(ifc, 2, 90, 10); };
    EXPECT_EQ(ch.Call(clip, false, kItemReal, 0.455), "|0");
    EXPECT_EQ(ArbBuild_GetClip(), 46);
    EXPECT_TRUE(g_ArbBuilder.flags2.load() & engine::kArbBuildPending);
    EXPECT_EQ(ch.Call(clip, true, kItemOmitted, 0), "+0.4600|0");
    EXPECT_EQ(ch.Call(clip, true, kItemChoice, int32_t{1}), "+0.9000|0");
    EXPECT_EQ(ch.Call(clip, false, kItemInt, int32_t{1}), "|53");  // 100 steps
    EXPECT_EQ(ch.Call(clip, false, kItemChoice, int32_t{0}), "|0");
    EXPECT_EQ(ArbBuild_GetClip(), 10);
    auto stairs = [](ScpiInterface* ifc) { return scpiArbEditParam(ifc, 1, 20, 1); };
    EXPECT_EQ(ch.Call(stairs, true, kItemOmitted, 0), "+5|0");
    SetParallelPosition(0);  // a slave
    EXPECT_EQ(ch.Call(stairs, false, kItemInt, int32_t{7}), "|112");
    SetParallelPosition(1);
}

// {data, result, declared length}.
TEST(ScpiFramework, BlockHeaders) {
    const struct {
        const char* data;
        int result;
        uint32_t length;
    } cases[] = {
        {"#15abcde", 0, 5}, {"#2101234567890", 0, 10}, {"#3005abcde", 0, 5}, {"#16abcde", -1, 0},
        {"#0abc", -1, 0},   {"#B01", -1, 0},           {"#Q7", -1, 0},       {"#2x1abc", -1, 0},
        {"#9", -1, 0},      {"15abcde", -1, 0},        {"#1", -1, 0},
    };
    for (const auto& c : cases) {
        ScpiBlockHeader h{};
        const auto* bytes = reinterpret_cast<const uint8_t*>(c.data);
        EXPECT_EQ(scpiParseBlockHeader(bytes, static_cast<uint32_t>(std::strlen(c.data)), &h), c.result)
            << c.data;
        if (c.result == 0) {
            EXPECT_EQ(h.length, c.length) << c.data;
        }
    }
    EXPECT_EQ(BrandCodeLookup("tulve"), 1);
    EXPECT_EQ(BrandCodeLookup("QXX"), -1);
}

}  // namespace
