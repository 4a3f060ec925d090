// The field editors of the home screens: typed numbers, the knob and cursor keys, MAX/MIN and the stored
// defaults, the line voltages and the width-keeping digit cursor.
#include <climits>
#include <tuple>

#include "core/params/access/param_access.h"
#include "core/params/limits/phase_limits.h"
#include "core/params/param_dirty.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "drivers/panel_link.h"
#include "panel/edit/digit_cursor.h"
#include "panel/edit/edit_common.h"
#include "panel/edit/home_edit_keys.h"
#include "panel/edit/param_enter.h"
#include "platform/stage/wave_numbers.h"
#include "tests/panel/edit/edit_fixture.h"

namespace {

using edittest::EditTest;
using Strings = std::vector<std::string>;

int32_t Enter(uint32_t id) {
    uint32_t ev = EditTest::Key(kKeyEnter, kClassKeypad);
    return menuEditParamEnterKey(&ev, id);
}
int32_t Exit(uint32_t id) {
    uint32_t ev = EditTest::Key(kKeyExit, kClassKeypad);
    return menuEditParamEnterKey(&ev, id);
}
int32_t Knob(uint32_t id, int8_t delta) {
    uint32_t ev = EditTest::Key(kKeyKnob, kClassCursor, delta);
    return menuEditParamKnobKey(&ev, id);
}
int32_t Soft(uint32_t id, uint8_t code) {
    uint32_t ev = EditTest::Key(code, kClassSoft);
    return menuEditParamSoftKey(&ev, id);
}

// Typed numbers are rounded by half a hundredth away from zero before the display scale is taken off.
TEST_F(EditTest, TypedNumberIsStoredInTheFieldsStepsAndLeavesTheField) {
    for (auto [typed, stored] : {std::pair{120.0, 12000}, {119.999, 12000}, {-0.004, 0}, {0.996, 100}}) {
        PutRec(kParamAcv, 0, 5000, 30000, 0);
        menuEnterParamState(kParamAcv);
        ASSERT_FLOAT_EQ(g_EditParam.scale, 0.01f);
        Type(typed);
        EXPECT_EQ(Enter(kParamAcv), 1) << typed;
        EXPECT_EQ(Rec(kParamAcv).value, stored) << typed;
        EXPECT_EQ(g_MenuState, 1u) << typed;
    }
}

// A scale of 0 (a choice) or an absurd number give the end of the i32 range, never a wrapped value.
TEST_F(EditTest, TypedNumberSaturatesToTheI32Range) {
    using panel::edit::EntryInSteps;
    for (auto [typed, scale, steps] : {std::tuple{1.0, 0.0f, INT32_MAX},
                                       {-1.0, 0.0f, INT32_MIN},
                                       {0.0, 0.0f, INT32_MAX},
                                       {1e12, 0.01f, INT32_MAX},
                                       {-1e12, 0.01f, INT32_MIN},
                                       {21474836.47, 0.01f, INT32_MAX}})
        EXPECT_EQ(EntryInSteps(typed, scale), steps) << typed << " / " << scale;
    PutRec(kParamAcv, 0, 5000, 30000, 0);
    menuEnterParamState(kParamAcv);
    Type(1e12);
    EXPECT_EQ(Enter(kParamAcv), 2);
    EXPECT_EQ(Rec(kParamAcv).value, 5000);
}

// Outside the limits the typed number is dropped: the limit fields stay open for another try, the others
// are left; the exit key drops a typed number first, then leaves a limit field for its kind choice.
TEST_F(EditTest, RefusedNumbersAndTheExitKey) {
    for (auto [id, stays] :
         {std::pair<uint32_t, bool>{kParamVoltLimit, true}, {kParamIpkMin + 1, true}, {kParamAcv, false}}) {
        for (double typed : {30000.0, 0.0}) {  // above the maximum, below the minimum
            PutRec(id, 0, 1000, 2000, 500);
            menuEnterParamState(id);
            Type(typed);
            EXPECT_EQ(Enter(id), 2) << id << " " << typed;
            EXPECT_EQ(Rec(id).value, 1000) << id << " " << typed;
            EXPECT_EQ(g_MenuState, stays ? id : 1u) << id << " " << typed;
            EXPECT_EQ(g_EditBuf.entryState, 0u) << id << " " << typed;
        }
    }
    for (auto [id, back] : {std::pair<uint32_t, uint32_t>{kParamIpkMax + 2, 23u},
                            {kParamVpkMin, 9u},
                            {kParamFreqLimitLo, 15u},
                            {kParamFreqLimitLo + 1, 1u},
                            {kParamAcv, 1u}}) {
        menuEnterParamState(id);
        Type(1.0);
        Exit(id);
        EXPECT_EQ(g_MenuState, id) << id;
        EXPECT_EQ(g_EditBuf.entryState, 0u) << id;
        Exit(id);
        EXPECT_EQ(g_MenuState, back) << id;
    }
}

// Above 99999 the knob steps by ten (the phase AC voltages: a hundred) at cursor 0; from 10000 by ten except
// in the fine fields; at a limit the value stays and the result says so.
TEST_F(EditTest, KnobStepFollowsTheValuesWidth) {
    for (auto [id, value, delta, after] : {std::tuple{kParamCurrLimit, 123456, 1, 123466},
                                           {kParamAcv, 123456, 1, 123556},
                                           {kParamAcv, 123456, -2, 123256},
                                           {kParamCurrLimit, 50000, 1, 50010},
                                           {kParamFreq, 50000, 1, 50001},
                                           {kParamCurrLimit, 9999, 1, 10000},
                                           {kParamCurrLimit, 10000, 1, 10010},
                                           {kParamAcvLine, 123456, 1, 123466},
                                           {kParamCurrLimit, 5000, -1, 4999}}) {
        PutRec(id, 0, value, 500000, 0);
        menuEnterParamState(id);
        EXPECT_EQ(Knob(id, static_cast<int8_t>(delta)), 1) << id << " " << value;
        EXPECT_EQ(Rec(id).value, after) << id << " " << value;
        EXPECT_EQ(g_EditParam.startValue, after) << id << " " << value;
    }
    PutRec(kParamCurrLimit, 0, 500, 500, 0);
    menuEnterParamState(kParamCurrLimit);
    EXPECT_EQ(Knob(kParamCurrLimit, 1), 2);
    EXPECT_EQ(Rec(kParamCurrLimit).value, 500);
}

// The cursor wraps over the positions the value shows: all digits below 10000, one fewer from 10000 in
// all but the fine fields.
TEST_F(EditTest, CursorKeysWrapOverTheShownDigits) {
    for (auto [id, value, key, from, to] : {std::tuple{kParamCurrLimit, 5000, 'V', 4, 0},
                                            {kParamCurrLimit, 50000, 'V', 3, 0},
                                            {kParamFreq, 50000, 'V', 4, 0},
                                            {kParamCurrLimit, 5000, 'W', 0, 4},
                                            {kParamCurrLimit, 50000, 'W', 0, 3},
                                            {kParamCurrLimit, 500000, 'W', 0, 2},
                                            {kParamFreq, 500000, 'W', 0, 3}}) {
        ParamRec r = Rec(id);
        r.value = value;
        r.max = 900000;
        r.digits = 5;
        paramPutRecord(id, &r, 0);
        menuEnterParamState(id);
        g_EditParam.cursor = static_cast<uint32_t>(from);
        uint32_t ev = Key(static_cast<uint8_t>(key), kClassCursor);
        EXPECT_EQ(menuEditParamKnobKey(&ev, id), 0);
        EXPECT_EQ(g_EditParam.cursor, static_cast<uint32_t>(to)) << id << " " << value << " " << key;
    }
}

// The duty is held to 90 %-10 % with one digit, 99 %-1 % with two, 99.9 %-0.1 % with more.
TEST_F(EditTest, DutyLimitsFollowItsDigitCount) {
    for (auto [digits, max, min] : {std::tuple{1, 900, 100}, {2, 990, 10}, {3, 999, 1}}) {
        for (int8_t delta : {int8_t{127}, int8_t{-127}}) {
            ParamRec r = Rec(kParamWaveDuty);
            r.value = 500;
            r.max = 1000;
            r.min = 0;
            r.digits = digits;
            r.decimals = 1;
            paramPutRecord(kParamWaveDuty, &r, 0);
            menuEnterParamState(kParamWaveDuty);
            g_EditParam.cursor = 2;
            Knob(kParamWaveDuty, delta);
            EXPECT_EQ(Rec(kParamWaveDuty).value, delta > 0 ? max : min) << digits;
        }
    }
}

// In the LINE view of 1P3W the line DC voltage is split into two halves of opposite sign.
TEST_F(EditTest, LineDcvOf1P3WSetsOppositeHalves) {
    g_PhaseMode = 2;
    g_OutputModeIdx = 0;
    SetLineView(true);
    menuEnterParamState(kParamDcvLine);
    Type(100.0);
    EXPECT_EQ(Enter(kParamDcvLine), 1);
    EXPECT_EQ(GetDcv(0), 5000);
    EXPECT_EQ(GetDcv(1), -5000);
    EXPECT_EQ(g_MenuState, 1u);
}

// In Vpp units MAX stops at the peak-to-peak ceiling of 175 V rms in the 100 V range, of 350 V otherwise.
TEST_F(EditTest, MaxOfAcvInVppStopsAtTheRangesCeiling) {
    core::ParamSetWaveFactor(kWaveTri, 1.0f);
    for (uint32_t p = 0; p < 3; ++p)
        g_ParamStore.unit[p].waveform.value = kWaveTri;
    SetAcvUnit(1);
    for (auto [range, ceiling] : {std::pair{0u, 35000}, {1u, 70000}, {4u, 70000}}) {
        g_ParamStore.rangeCode[1] = range;
        PutRec(kParamAcv, 0, 1000, 200000, 0);
        menuEnterParamState(kParamAcv);
        EXPECT_EQ(Soft(kParamAcv, kKeySoft3), 1) << range;
        EXPECT_EQ(Rec(kParamAcv).value, ceiling) << range;
    }
    SetAcvUnit(0);
    g_ParamStore.rangeCode[1] = 0;
    PutRec(kParamAcv, 0, 1000, 200000, 0);
    menuEnterParamState(kParamAcv);
    Soft(kParamAcv, kKeySoft3);
    EXPECT_EQ(Rec(kParamAcv).value, 200000);
}

// A long press stores the typed number, or the value when nothing is typed, as the default; DEF1 and DEF2
// bring the stored defaults back within the limits.
TEST_F(EditTest, StoredDefaults) {
    PutRec(kParamAcv, 0, 11000, 30000, 0);
    menuEnterParamState(kParamAcv);
    EXPECT_EQ(Soft(kParamAcv, 194), 1);
    EXPECT_EQ(Messages(), Strings{"Saved to DEF1"});
    EXPECT_EQ(Rec(kParamAcv).def1, 11000);
    Type(220.0);
    EXPECT_EQ(Soft(kParamAcv, 195), 1);
    EXPECT_EQ(Messages(), Strings{"Saved to DEF2"});
    EXPECT_EQ(Rec(kParamAcv).def2, 22000);
    Type(400.0);
    EXPECT_EQ(Soft(kParamAcv, 195), 0);
    EXPECT_EQ(Messages(), Strings{"18"});
    EXPECT_EQ(Rec(kParamAcv).def2, 22000);
    menuEnterParamState(kParamFreq);
    Type(99999.0);
    EXPECT_EQ(Soft(kParamFreq, 194), 0);
    EXPECT_EQ(Messages(), Strings{"25"});

    menuEnterParamState(kParamAcv);
    EXPECT_EQ(Soft(kParamAcv, kKeySoft2), 1);
    EXPECT_EQ(Rec(kParamAcv).value, 22000);
    EXPECT_EQ(Soft(kParamAcv, kKeySoft1), 1);
    EXPECT_EQ(Rec(kParamAcv).value, 11000);
    EXPECT_EQ(g_EditParam.startValue, 11000);
    PutRec(kParamAcv, 0, 11000, 20000, 0);  // DEF2 now above the limit: the value stays
    EXPECT_EQ(Soft(kParamAcv, kKeySoft2), 2);
    EXPECT_EQ(Rec(kParamAcv).value, 11000);
    EXPECT_EQ(g_EditParam.workValue, 11000);

    // DEF1 on the peak current limits toggles their limit mode, except in 1P3W.
    const int32_t mode = GetIpkLimitMode();
    menuEnterParamState(kParamIpkMax);
    EXPECT_EQ(Soft(kParamIpkMax, kKeySoft1), 1);
    EXPECT_EQ(GetIpkLimitMode(), mode == 0 ? 1 : 0);
    g_PhaseMode = 2;
    Soft(kParamIpkMax, kKeySoft1);
    EXPECT_EQ(Messages(), Strings{"Invalid in \nThis Output Phase"});
    EXPECT_EQ(GetIpkLimitMode(), mode == 0 ? 1 : 0);
}

// Editing all phases, a number above another phase's maximum names that phase; above all three the
// plain message; the knob's look-ahead is summed in 64 bits, so a far step counts as above the maxima.
TEST_F(EditTest, AllPhaseVoltageLimitedByOtherPhases) {
    g_EditAllPhases = 1;
    const ParamRec l1 = Rec(kParamAcv, 0);
    ASSERT_GT(l1.max, 25000);
    PutRec(kParamAcv + 1, 1, 1000, 20000, 0);
    for (auto [typed, message] : {std::pair{250.0, "20"}, {400.0, "18"}}) {
        menuEnterParamState(kParamAcv);
        Type(typed);
        EXPECT_EQ(Enter(kParamAcv), 2) << typed;
        EXPECT_EQ(Messages(), Strings{message}) << typed;
        EXPECT_EQ(Rec(kParamAcv).value, l1.value) << typed;
    }

    const ParamRec dcv = Rec(kParamDcv, 0);
    PutRec(kParamDcv + 1, 1, 0, dcv.max - 100, dcv.min);
    menuEnterParamState(kParamDcv);
    g_EditParam.cursor = 9;
    ClearParamGroupMarks();
    Knob(kParamDcv, 3);
    EXPECT_EQ(g_LimitedPhase.maxIndex, 0u);
    EXPECT_EQ(Rec(kParamDcv).value, dcv.max - 100);
    EXPECT_NE(g_ParamDirty[kDirtyDcv].load(), 0u) << "the control task applies it to every phase";
    ClearParamGroupMarks();
}

// The cursor stays on its decade when the value changes width; a wider value drops the digits it no
// longer shows.
TEST(DigitCursor, KeepsTheDecadeWhenTheWidthChanges) {
    struct Case {
        uint32_t state;
        int32_t start, work;
        uint32_t cursor;
        int32_t digits;
        uint32_t cursorAfter;
        int32_t workAfter;
    };
    for (const Case& c : {Case{47, 9999, 10005, 2, 5, 1, 10000}, Case{12, 9999, 10005, 2, 5, 2, 10005},
                          Case{12, 99999, 100005, 2, 5, 1, 100000}, Case{47, 5000, 123456, 1, 5, 0, 123400},
                          Case{47, 5000, 123456, 0, 5, 0, 123400}, Case{47, 10000, 9999, 1, 5, 2, 9999},
                          Case{47, 10000, 9999, 5, 5, 5, 9999}, Case{12, 10000, 9999, 1, 5, 1, 9999},
                          Case{12, 100000, 50000, 1, 5, 2, 50000}, Case{47, 5000, 6000, 3, 5, 3, 6000}}) {
        g_MenuState = c.state;
        g_EditParam.startValue = c.start;
        g_EditParam.workValue = c.work;
        g_EditParam.cursor = c.cursor;
        menuKeepDigitCursor(c.digits);
        EXPECT_EQ(g_EditParam.cursor, c.cursorAfter) << c.state << " " << c.start << " " << c.work;
        EXPECT_EQ(g_EditParam.workValue, c.workAfter) << c.state << " " << c.start << " " << c.work;
    }
    g_MenuState = 0;
}

}  // namespace
