// The parameter store's accessors on the real store built from the default tables.
#include "core/params/param_store.h"

#include <cstring>
#include <thread>
#include <tuple>

#include "core/system/state/edit_state.h"
#include "panel/edit/param_enter.h"
#include "tests/core/ctrl_fixture.h"

using test::Read;

namespace {

// A record whose words show where it was written.
ParamRec Marked(int32_t value) {
    ParamRec r{};
    r.value = value, r.max = value + 1, r.min = value - 1;
    return r;
}

class ParamStoreTest : public ::testing::Test {
  protected:
    void SetUp() override { test::BuildDefaults(2); }
};

}  // namespace

// Measurement items are shared by all units, menu-list pairs address one record, ids without a record
// share the spare one; frequency limits are kept once for the AC+DC modes (0, 5, 7), once for the rest.
TEST_F(ParamStoreTest, RecordsArePerUnitModeWaveformAndArea) {
    paramPutValue(47, 1111, 0);
    paramPutValue(48, 2222, 1);
    EXPECT_EQ(Read(47, 1).value, 2222);
    EXPECT_EQ(Read(49, 2).value, 0);
    g_OutputModeIdx = 1;
    EXPECT_EQ(Read(47, 0).value, 0);
    g_OutputModeIdx = 0;
    paramPutValue(30, 18, 0);
    EXPECT_EQ(Read(47, 0).value, 0);
    paramPutValue(30, 16, 0);
    EXPECT_EQ(Read(47, 0).value, 1111);
    g_ParamStore.rangeCode[0] = 1;
    EXPECT_EQ(Read(47, 0).value, 0);
    paramPutValue(40, 3, 2);
    EXPECT_EQ(Read(40, 0).value, 3);
    paramPutValue(96, 77, 0);
    EXPECT_EQ(Read(97, 2).value, 77);
    ParamRec r = Marked(4242);
    paramPutRecord(99, &r, 1);
    for (uint32_t id : {0u, 7u, 45u, 98u, 138u, 207u, 214u, 100000u})
        EXPECT_EQ(Read(id, 0).value, 4242) << id;
    for (uint32_t mode : {0u, 1u}) {
        r = Marked(static_cast<int32_t>(111 * (mode + 1)));
        paramAccess(Access::kWrite, 16, &r, {mode, 0, 16, 0, 0});
    }
    for (uint32_t mode = 0; mode < core::kModes; ++mode) {
        paramAccess(Access::kRead, 16, &r, {mode, 0, 16, 0, 0});
        EXPECT_EQ(r.value, mode == 0 || mode == 5 || mode == 7 ? 111 : 222) << mode;
    }
}

// The DC voltages switch with it outside DC-INT, the LINE DC voltage only in DC-INT.
TEST_F(ParamStoreTest, VppSetServesWhereTheUnitIsVpp) {
    for (uint32_t w : {16u, 17u, 18u, 3u}) {
        ParamRec rms = Marked(1000 + w), vpp = Marked(5000 + w);
        paramAccessByUnit(Access::kWrite, 47, &rms, {.waveform = w, .set = 0});
        paramAccessByUnit(Access::kWrite, 47, &vpp, {.waveform = w, .set = 1});
    }
    const int32_t cases[][3] = {{0, 18, 1018}, {1, 18, 5018}, {1, 3, 5003}, {1, 16, 1016}, {1, 17, 1017}};
    for (const auto& [unit, waveform, value] : cases) {
        paramPutValue(kParamAcvUnit, unit, 0);
        paramPutValue(30, waveform, 0);
        EXPECT_EQ(Read(47, 0).value, value) << unit << " " << waveform;
    }
    paramPutValue(30, 18, 0);  // the LINE ids follow L1's waveform
    for (uint32_t mode : {0u, 2u})
        for (uint32_t set : {0u, 1u}) {
            const uint32_t w = mode == 2 ? 0 : 18;
            g_ParamStore.unit[0].mode[mode].volt[0].dcv[set][w].value = static_cast<int32_t>(100 + set);
            g_ParamStore.unit[core::kLineUnit].mode[mode].volt[0].dcv[set][w].value =
                static_cast<int32_t>(300 + set);
        }
    for (uint32_t mode : {0u, 2u}) {
        g_OutputModeIdx = mode;
        EXPECT_EQ(Read(51, 0).value, mode == 0 ? 101 : 100);
        EXPECT_EQ(Read(57, 0).value, mode == 0 ? 300 : 301);
    }
}

// Whole degrees above 500 Hz (rounded, also at the ends of the 32-bit range), fewer duty digits from
// 100 Hz and 1000 Hz.
TEST_F(ParamStoreTest, FrequencyAccessDerivesTheAngleAndDutyFormats) {
    // {frequency, angle, its decimals and digits, duty decimals and digits}
    const int32_t cases[][6] = {{60000, 460, 0, 3, 0, 2},
                                {40000, 460, 1, 4, 0, 2},
                                {120000, 460, 0, 3, 0, 1},
                                {5000, 460, 1, 4, 1, 3}};
    paramPutValue(12, 60000, 0);
    paramPutValue(64, 456, 0);
    EXPECT_EQ(Read(64, 0).value, 456);  // untouched until id 12 is accessed
    for (const auto& [freq, angle, angleDecimals, angleDigits, dutyDecimals, dutyDigits] : cases) {
        paramPutValue(12, freq, 0);
        Read(12, 0);
        const ParamRec on = Read(64, 0);
        EXPECT_EQ(on.value, angle) << freq;
        EXPECT_EQ(on.decimals, angleDecimals) << freq;
        EXPECT_EQ(on.digits, angleDigits) << freq;
        EXPECT_EQ(Read(68, 0).decimals, angleDecimals) << freq;
        EXPECT_EQ(Read(89, 0).decimals, angleDecimals) << freq;
        EXPECT_EQ(Read(34, 0).decimals, dutyDecimals) << freq;
        EXPECT_EQ(Read(34, 0).digits, dutyDigits) << freq;
    }
    // A write of id 12 derives from the old frequency; ids 13 and 14 reach the record without it.
    paramPutValue(64, 456, 0);
    ParamRec f = Read(13, 0);
    f.value = 60000;
    paramPutRecord(12, &f, 0);
    EXPECT_EQ(Read(14, 0).value, 60000);
    EXPECT_EQ(Read(64, 0).value, 456);
    EXPECT_EQ(Read(12, 0).value, 60000);
    EXPECT_EQ(Read(64, 0).value, 460);
    // The store never checks limits, so an angle may hold any 32-bit value when id 12 rounds it.
    paramPutValue(64, INT32_MAX, 0);
    paramPutValue(68, INT32_MIN, 0);
    Read(12, 0);
    EXPECT_EQ(Read(64, 0).value, INT32_MAX / 10 * 10);
    EXPECT_EQ(Read(68, 0).value, INT32_MIN / 10 * 10);
}

TEST_F(ParamStoreTest, AutoRangeVariantFollowsThePowerStage) {
    g_ParamStore.rangeCode[0] = 4;  // AUTO in 3P4W
    const ParamRec low = Read(61, 0);
    core::g_OutputStatusMirror = 2;  // the stage reports the high range: the 200 V row
    EXPECT_LT(Read(61, 0).max, low.max);
    paramPutValue(61, 999, 0);
    core::g_OutputStatusMirror = 0;
    EXPECT_EQ(Read(61, 0).value, low.value);
}

// A unit or range variant outside the store is refused (a refused read gives an all-zero record); a mode
// or waveform is clamped; a state other than 0 or 1 changes nothing.
TEST_F(ParamStoreTest, AddressesOutsideTheStoreAreRefusedOrClamped) {
    const ParamRec spare = Read(0, 0);
    ParamRec r = Marked(-7);
    EXPECT_EQ(paramPutRecord(47, &r, 4), -1);
    EXPECT_EQ(paramPutRecord(99, &r, 0xFFFFFFFF), -1);
    EXPECT_EQ(paramAccessByUnit(Access::kWrite, 47, &r, {.waveform = 16, .unit = 9}), -1);
    EXPECT_EQ(paramPutValue(47, -7, 5), -1);
    EXPECT_EQ(Read(0, 0).value, spare.value);
    for (uint32_t u = 0; u < 4; ++u)
        EXPECT_NE(Read(47, u).value, -7);
    ParamRec out;
    std::memset(&out, 0x5A, sizeof out);
    EXPECT_EQ(paramGetRecord(47, &out, 4), -1);
    EXPECT_EQ(out.value, 0);
    EXPECT_EQ(out.unitText, nullptr);
    EXPECT_EQ(paramGetValue(47, 4), 0);
    // The range variant is checked where it selects the record: the current limits.
    EXPECT_EQ(paramAccess(Access::kWrite, 61, &r, {.waveform = 16, .variant = 8}), -1);
    EXPECT_EQ(paramAccess(Access::kWrite, 27, &r, {.waveform = 16, .variant = 0xFFFF}), -1);
    EXPECT_EQ(paramAccess(Access::kRead, 47, &out, {.waveform = 16, .variant = 8}), 0);
    g_ParamStore.rangeCode[0] = 9;  // not one of the eight: the current limits alone are refused
    EXPECT_EQ(paramGetRecord(61, &out, 0), -1);
    EXPECT_EQ(paramGetRecord(47, &out, 0), 0);

    r = Marked(31);
    paramAccess(Access::kWrite, 47, &r, {.mode = 9, .waveform = 255});
    paramAccess(Access::kRead, 47, &out, {.mode = 12, .waveform = 300});
    EXPECT_EQ(out.value, 31);
    r = Marked(32);  // in DC-INT the voltages live under waveform 0 whatever is asked
    paramAccess(Access::kWrite, 51, &r, {.mode = 2});
    paramAccess(Access::kRead, 51, &out, {.mode = 2, .waveform = 77});
    EXPECT_EQ(out.value, 32);

    EXPECT_EQ(paramPutState(64, 0, 1), 0);
    paramPutState(64, 2, 1);
    EXPECT_EQ(Read(64, 1).state, 0);
    paramPutState(64, 1, 1);
    EXPECT_EQ(Read(64, 1).state, 1);
}

// A value another thread writes meanwhile is never replaced by one the clamp read before.
TEST_F(ParamStoreTest, ClampTouchesOnlyAValueOutsideItsBounds) {
    paramPutValue(47, 1500, 1);
    const ParamRec before = Read(47, 1);
    EXPECT_EQ(paramClampValue(47, 1000, 0, 1), 1000);
    ParamRec after = Read(47, 1);
    EXPECT_EQ(after.value, 1000);
    after.value = before.value;
    EXPECT_EQ(std::memcmp(&after, &before, sizeof after), 0);
    paramPutValue(47, -5, 1);
    EXPECT_EQ(paramClampValue(47, 1000, 0, 1), 0);
    paramPutValue(47, 500, 1);
    EXPECT_EQ(paramClampValue(47, 1000, 0, 1), 500);
    EXPECT_EQ(paramClampValue(47, 1000, 0, 4), 0);  // no such unit: nothing read or written
    EXPECT_EQ(Read(47, 1).value, 500);

    std::thread writer([] {
        for (int32_t v = 0; v <= 1000; ++v)
            paramPutValue(47, v, 1);
    });
    for (int i = 0; i < 1000; ++i)
        paramClampValue(47, 1000, 0, 1);
    writer.join();
    EXPECT_EQ(Read(47, 1).value, 1000);
}

// While the keys are locked or the meter is held only the measurement items can be entered.
TEST_F(ParamStoreTest, EnteringASettingPrimesTheEditWords) {
    g_OutputFlags = 1u << 26;  // L2 selected
    paramPutValue(48, 12345, 1);
    ASSERT_EQ(menuEnterParamState(48), 0);
    EXPECT_EQ(g_MenuState, 48u);
    EXPECT_EQ(g_EditParam.workValue.load(), 12345);
    EXPECT_EQ(g_EditParam.max, Read(48, 1).max);
    const std::tuple<uint32_t, void (*)(), int32_t> words[] = {
        {46, [] { g_OutputModeIdx = 8; }, 8},
        {23, [] { g_ParamFlags = core::kFlagIpkKind; }, 1},
        {45, [] {}, 1},                               // the selected phase
        {45, [] { paramPutValue(44, 1, 0); }, 0},  // LINE view
    };
    for (const auto& [id, set, value] : words) {
        set();
        ASSERT_EQ(menuEnterParamState(id), 0);
        EXPECT_EQ(g_EditParam.workValue.load(), value) << id;
    }
    for (uint32_t flag : {uint32_t(core::kFlagKeysLocked), uint32_t(core::kFlagMeterHold)}) {
        g_MenuState = 1;
        g_ParamFlags = flag;
        EXPECT_EQ(menuEnterParamState(47), -1);
        EXPECT_EQ(g_MenuState, 1u);
        EXPECT_EQ(menuEnterParamState(40), 0);
    }
    g_ParamFlags = 0;
    EXPECT_EQ(menuEnterParamState(47), 0);
}
