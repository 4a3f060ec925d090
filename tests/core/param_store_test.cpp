// The parameter store's accessors on the real store built from the default tables.
#include "core/params/param_store.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/system/ctrl_words.h"
#include "core/system/edit_state.h"
#include "param_fixture.h"

using test::Read;

namespace {

constexpr uint32_t kIdAcvUnit = 119;

ParamRec Marked(int32_t value) {
    ParamRec r{};
    r.value = value;
    r.max = value + 1;
    r.min = value - 1;
    return r;
}

class ParamStoreTest : public ::testing::Test {
  protected:
    void SetUp() override { test::BuildDefaults(2); }
};

}  // namespace

TEST_F(ParamStoreTest, VppRecordServesNonSinusWaveformsWhenTheUnitIsVpp) {
    const uint32_t mode = 0;
    for (uint32_t w : {16u, 17u, 18u, 3u}) {
        ParamRec rms = Marked(1000 + w), vpp = Marked(5000 + w);
        paramAccessByUnit(1, 47, &rms, mode, 0, w, 0, 0);
        paramAccessByUnit(1, 47, &vpp, mode, 0, w, 1, 0);
    }
    // Unit Vrms: every waveform reads the rms set.
    paramPutValue(0, 30, 18, 0);  // L1 on TRI
    EXPECT_EQ(Read(47, 0).value, 1018);

    paramPutValue(0, kIdAcvUnit, 1, 0);
    EXPECT_EQ(Read(47, 0).value, 5018);  // TRI in Vpp
    paramPutValue(0, 30, 3, 0);
    EXPECT_EQ(Read(47, 0).value, 5003);  // an ARB in Vpp
    paramPutValue(0, 30, 16, 0);
    EXPECT_EQ(Read(47, 0).value, 1016);  // SIN stays rms
    paramPutValue(0, 30, 17, 0);
    EXPECT_EQ(Read(47, 0).value, 1017);  // SQU stays rms
}

TEST_F(ParamStoreTest, VppSwitchOfTheDcVoltagesDependsOnDcInt) {
    paramPutValue(0, kIdAcvUnit, 1, 0);
    paramPutValue(0, 30, 18, 0);  // the LINE ids follow L1's waveform
    for (uint32_t mode : {0u, 2u}) {
        g_OutputModeIdx = mode;
        const uint32_t w = mode == 2 ? 0 : 18;
        // Phase DC voltage of L1 and LINE DC voltage of unit 3, both record sets, marked in place.
        g_ParamStore.unit[0].mode[mode].volt[0].dcv[1][w].value = 200;
        g_ParamStore.unit[0].mode[mode].volt[0].dcv[0][w].value = 100;
        g_ParamStore.unit[core::kLineUnit].mode[mode].volt[0].dcv[1][w].value = 400;
        g_ParamStore.unit[core::kLineUnit].mode[mode].volt[0].dcv[0][w].value = 300;
    }
    g_OutputModeIdx = 0;
    EXPECT_EQ(Read(51, 0).value, 200);  // phase DC switches
    EXPECT_EQ(Read(57, 0).value, 300);  // LINE DC stays rms
    g_OutputModeIdx = 2;
    EXPECT_EQ(Read(51, 0).value, 100);  // in DC-INT the phase DC stays rms
    EXPECT_EQ(Read(57, 0).value, 400);  // and the LINE DC switches
}

TEST_F(ParamStoreTest, FrequencyAbove500HzRoundsTheAnglesAndRestoresAtOrBelow) {
    paramPutValue(0, 12, 60000, 0);  // 600.00 Hz
    paramPutValue(0, 64, 456, 0);    // ON phase 45.6 degrees
    ParamRec on = Read(64, 0);
    EXPECT_EQ(on.value, 456);  // untouched until id 12 is accessed

    Read(12, 0);
    on = Read(64, 0);
    EXPECT_EQ(on.value, 460);
    EXPECT_EQ(on.decimals, 0);
    EXPECT_EQ(on.digits, 3);
    EXPECT_EQ(Read(68, 0).decimals, 0);
    EXPECT_EQ(Read(89, 0).decimals, 0);
    EXPECT_EQ(Read(34, 0).decimals, 0);  // duty: 2 digits from 100 Hz
    EXPECT_EQ(Read(34, 0).digits, 2);

    paramPutValue(0, 12, 40000, 0);  // 400.00 Hz
    Read(12, 0);
    on = Read(64, 0);
    EXPECT_EQ(on.value, 460);
    EXPECT_EQ(on.decimals, 1);
    EXPECT_EQ(on.digits, 4);
    EXPECT_EQ(Read(34, 0).digits, 2);

    paramPutValue(0, 12, 120000, 0);
    Read(12, 0);
    EXPECT_EQ(Read(34, 0).decimals, 0);
    EXPECT_EQ(Read(34, 0).digits, 1);
    paramPutValue(0, 12, 5000, 0);
    Read(12, 0);
    EXPECT_EQ(Read(34, 0).decimals, 1);
    EXPECT_EQ(Read(34, 0).digits, 3);
}

TEST_F(ParamStoreTest, AngleRoundingAtTheEdgesOfTheRangeDoesNotOverflow) {
    // The store never checks limits, so an angle may hold any 32-bit value when id 12 rounds it.
    paramPutValue(0, 12, 60000, 0);
    paramPutValue(0, 64, INT32_MAX, 0);
    paramPutValue(0, 68, INT32_MIN, 0);
    Read(12, 0);
    EXPECT_EQ(Read(64, 0).value, INT32_MAX / 10 * 10);
    EXPECT_EQ(Read(68, 0).value, INT32_MIN / 10 * 10);
}

TEST_F(ParamStoreTest, WriteOfId12DerivesFromTheOldFrequency) {
    paramPutValue(0, 64, 456, 0);
    ParamRec f = Read(12, 0);  // 50.00 Hz
    f.value = 60000;
    paramRW(1, 12, &f, 0);
    EXPECT_EQ(Read(64, 0).value, 456);  // formats came from 50.00 Hz
    EXPECT_EQ(Read(64, 0).decimals, 1);
    EXPECT_EQ(Read(12, 0).value, 60000);  // this access uses 600.00 Hz
    EXPECT_EQ(Read(64, 0).value, 460);
    EXPECT_EQ(Read(64, 0).decimals, 0);
    // Ids 13 and 14 reach the same record without the side effects.
    paramPutValue(0, 64, 456, 0);
    EXPECT_EQ(Read(13, 0).value, 60000);
    EXPECT_EQ(Read(64, 0).value, 456);
}

TEST_F(ParamStoreTest, FrequencyLimitsFollowTheFrequencyClass) {
    ParamRec r = Marked(111);
    paramAccess(1, 16, &r, 0, 0, 16, 0, 0);
    r = Marked(222);
    paramAccess(1, 19, &r, 1, 0, 16, 0, 0);
    for (uint32_t mode : {0u, 5u, 7u}) {
        ParamRec out;
        paramAccess(0, 16, &out, mode, 0, 16, 0, 0);
        EXPECT_EQ(out.value, 111) << mode;
        paramAccess(0, 19, &out, mode, 0, 16, 0, 0);
        EXPECT_NE(out.value, 222) << mode;
    }
    for (uint32_t mode : {1u, 2u, 3u, 4u, 6u, 8u, 9u}) {
        ParamRec out;
        paramAccess(0, 19, &out, mode, 0, 16, 0, 0);
        EXPECT_EQ(out.value, 222) << mode;
        paramAccess(0, 16, &out, mode, 0, 16, 0, 0);
        EXPECT_NE(out.value, 111) << mode;
    }
}

TEST_F(ParamStoreTest, UnknownIdsShareTheSpareRecord) {
    ParamRec r = Marked(4242);
    paramRW(1, 99, &r, 1);
    for (uint32_t id :
         {0u, 7u, 9u, 15u, 17u, 22u, 23u, 45u, 46u, 98u, 138u, 192u, 207u, 214u, 544u, 100000u}) {
        EXPECT_EQ(Read(id, 0).value, 4242) << id;
    }
    // The pairs of the menu lists address one record.
    paramPutValue(0, 96, 77, 0);
    EXPECT_EQ(Read(97, 2).value, 77);
    paramPutValue(0, 194, 1, 0);
    EXPECT_EQ(Read(193, 0).value, 1);
    EXPECT_EQ(Read(99, 0).value, 4242);
}

TEST_F(ParamStoreTest, AutoRangeVariantFollowsThePowerStage) {
    g_ParamStore.rangeCode[0] = 4;  // AUTO in 3P4W
    core::g_OutputStatusMirror = 0;
    EXPECT_EQ(Read(61, 0).max, 2100);  // variant 4 uses the 100 V row: 21.00 A
    core::g_OutputStatusMirror = 2;
    EXPECT_EQ(Read(61, 0).max, 1050);  // variant 5 the 200 V row: 10.50 A
    // Distinct records, not just equal rows.
    paramPutValue(0, 61, 999, 0);
    core::g_OutputStatusMirror = 0;
    EXPECT_EQ(Read(61, 0).value, 2100);
}

TEST_F(ParamStoreTest, ModeAndWaveformAreClamped) {
    ParamRec r = Marked(31);
    paramAccess(1, 47, &r, 9, 0, 255, 0, 0);
    ParamRec out;
    paramAccess(0, 47, &out, 12, 0, 300, 0, 0);
    EXPECT_EQ(out.value, 31);
    // In DC-INT the voltages live under waveform 0 whatever is asked.
    r = Marked(32);
    paramAccess(1, 51, &r, 2, 0, 0, 0, 0);
    paramAccess(0, 51, &out, 2, 0, 77, 0, 0);
    EXPECT_EQ(out.value, 32);
}

TEST_F(ParamStoreTest, BadUnitOrVariantIsRefusedAndWritesNothing) {
    const ParamRec spare = Read(0, 0);
    ParamRec r = Marked(-7);
    EXPECT_EQ(paramRW(1, 47, &r, 4), -1);
    EXPECT_EQ(paramRW(1, 99, &r, 0xFFFFFFFF), -1);
    EXPECT_EQ(paramAccessByUnit(1, 47, &r, 0, 0, 16, 0, 9), -1);
    EXPECT_EQ(paramPutValue(0, 47, -7, 5), -1);
    EXPECT_EQ(Read(0, 0).value, spare.value);
    for (uint32_t u = 0; u < 4; ++u)
        EXPECT_NE(Read(47, u).value, -7);

    // A refused read hands back an all-zero record instead of the caller's garbage.
    ParamRec out;
    std::memset(&out, 0x5A, sizeof out);
    EXPECT_EQ(paramRW(0, 47, &out, 4), -1);
    EXPECT_EQ(out.value, 0);
    EXPECT_EQ(out.unitText, nullptr);
    EXPECT_EQ(paramGetValue(47, 0, 4), 0);

    // The range variant is checked where it selects the record: the current limits.
    EXPECT_EQ(paramAccess(1, 61, &r, 0, 0, 16, 8, 0), -1);
    EXPECT_EQ(paramAccess(1, 27, &r, 0, 0, 16, 0xFFFF, 0), -1);
    EXPECT_EQ(paramAccess(0, 47, &out, 0, 0, 16, 8, 0), 0);
    // A range code that is not one of the eight makes paramRW refuse the current limits only.
    g_ParamStore.rangeCode[0] = 9;
    EXPECT_EQ(paramRW(0, 61, &out, 0), -1);
    EXPECT_EQ(paramRW(0, 47, &out, 0), 0);
}

TEST_F(ParamStoreTest, PutValueChangesValueOrAValidState) {
    EXPECT_EQ(paramPutValue(1, 64, 0, 1), 0);
    EXPECT_EQ(Read(64, 1).state, 0);
    paramPutValue(1, 64, 2, 1);
    EXPECT_EQ(Read(64, 1).state, 0);  // only 0 or 1
    paramPutValue(1, 64, 1, 1);
    EXPECT_EQ(Read(64, 1).state, 1);
    paramPutValue(7, 64, 55, 1);  // another field: nothing changes
    EXPECT_EQ(Read(64, 1).value, 0);
    EXPECT_EQ(paramGetValue(64, 1, 1), 0);  // selector other than 0 gives 0
}

TEST_F(ParamStoreTest, RecordsArePerUnitModeAndWaveform) {
    paramPutValue(0, 47, 1111, 0);
    paramPutValue(0, 48, 2222, 1);
    EXPECT_EQ(Read(47, 0).value, 1111);
    EXPECT_EQ(Read(47, 1).value, 2222);
    EXPECT_EQ(Read(49, 2).value, 0);
    g_OutputModeIdx = 1;
    EXPECT_EQ(Read(47, 0).value, 0);
    g_OutputModeIdx = 0;
    paramPutValue(0, 30, 18, 0);
    EXPECT_EQ(Read(47, 0).value, 0);
    paramPutValue(0, 30, 16, 0);
    EXPECT_EQ(Read(47, 0).value, 1111);
    // The 200 V range has its own voltage records; the measurement items are shared by all units.
    g_ParamStore.rangeCode[0] = 1;
    EXPECT_EQ(Read(47, 0).value, 0);
    EXPECT_EQ(Read(47, 0).max, 35000);
    paramPutValue(0, 40, 3, 2);
    EXPECT_EQ(Read(40, 0).value, 3);
}

TEST_F(ParamStoreTest, EnteringASettingPrimesTheEditWords) {
    g_OutputFlags = 1u << 26;  // L2 selected
    paramPutValue(0, 48, 12345, 1);
    ASSERT_EQ(menuEnterParamState(48), 0);
    EXPECT_EQ(g_MenuState, 48u);
    EXPECT_EQ(g_MenuPrevState, 48u);
    EXPECT_EQ(g_EditParam.startValue, 12345);
    EXPECT_EQ(g_EditParam.workValue, 12345);
    EXPECT_EQ(g_EditParam.max, 17500);
    EXPECT_EQ(g_EditParam.decimals, 2);
    EXPECT_EQ(g_EditParam.digits, 5);
    EXPECT_FLOAT_EQ(g_EditParam.scale, 0.01f);
    EXPECT_EQ(g_EditParam.cursor, 0u);
    EXPECT_EQ(g_EditBuf.choiceValue, 12345u);

    g_OutputModeIdx = 8;
    ASSERT_EQ(menuEnterParamState(46), 0);
    EXPECT_EQ(g_EditParam.workValue, 8);
    g_ParamFlags = core::kFlagIpkKind;
    menuEnterParamState(23);
    EXPECT_EQ(g_EditParam.workValue, 1);
    menuEnterParamState(45);
    EXPECT_EQ(g_EditParam.workValue, 1);  // the selected phase
    paramPutValue(0, 44, 1, 0);           // LINE view
    menuEnterParamState(45);
    EXPECT_EQ(g_EditParam.workValue, 0);
}

TEST_F(ParamStoreTest, LockedKeysOrHeldMeterLeaveOnlyTheMeasurementItems) {
    for (uint32_t flag : {uint32_t(core::kFlagKeysLocked), uint32_t(core::kFlagMeterHold)}) {
        g_MenuState = 1;
        g_ParamFlags = flag;
        EXPECT_EQ(menuEnterParamState(47), -1);
        EXPECT_EQ(g_MenuState, 1u);
        EXPECT_EQ(menuEnterParamState(40), 0);
        EXPECT_EQ(g_MenuState, 40u);
    }
    g_ParamFlags = 0;
    EXPECT_EQ(menuEnterParamState(47), 0);
}
