// The home settings' edit states through the real key table: the limit messages of the numeric fields,
// the kind selectors, the range keys, the choice fields, the duty's own enter key and the switched-off
// angles.
#include "screens/output/keys/field_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/params/access/key_entry.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/config/model_table.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "panel/edit/param_enter.h"
#include "panel/menu_entries.h"
#include "tests/screens/output/status_words_fixture.h"
#include "tests/screens/screen_keys.h"
#include "tests/support/default_store.h"

namespace {

using namespace screenkeys;

// A model-1 unit in 3P4W, AC-INT, 200 V range, SIN, on the advanced screen.
class Fields : public ::testing::Test {
  protected:
    void SetUp() override {
        MsgQueue_Clear();
        menuGoAdvenceScreen();
    }
    static void Open(uint32_t state) { ASSERT_EQ(menuEnterParamState(state), 0) << state; }
    screentest::StatusWords status_;
    test::DefaultStore store{1};
};

TEST(TypedDuty, RoundedByTheFrequencyAndHeldToTheDigitSettingsBounds) {
    struct Case {
        double typed;
        int32_t digits, frequency, duty;
    };
    for (const Case& c :
         {Case{55.5, 3, 15000, 560}, Case{55.5, 3, 150000, 600}, Case{55.5, 3, 5000, 555},
          Case{99.9, 3, 150000, 999}, Case{0.1, 3, 5000, 1}, Case{0.05, 3, 5000, -1}, Case{9.9, 1, 5000, -1},
          Case{90, 1, 5000, 900}, Case{90.1, 1, 5000, -1}, Case{99.5, 2, 5000, -1}, Case{99, 2, 5000, 990},
          Case{-50, 3, 5000, -1}, Case{999999999, 3, 5000, -1}, Case{-999999999, 3, 5000, -1}}) {
        EXPECT_EQ(screens::TypedDuty(c.typed, 0.1f, c.digits, c.frequency), c.duty)
            << c.typed << " digits " << c.digits << " at " << c.frequency;
    }
}

TEST_F(Fields, TypedDutyIsStoredOnEnterRoundedByTheFrequency) {
    for (int p = 0; p < 3; ++p)
        ASSERT_EQ(SetWaveform(17, p), 17);  // SQU
    paramPutValue(kParamFreq, 15000, 0);
    Open(kParamWaveDuty);
    Type("55.5");
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(GetWaveDuty(0), 560);
    EXPECT_EQ(g_MenuState.load(), 1u);
    // Out of bounds: dropped, the stored duty stays.
    Open(kParamWaveDuty);
    Messages();
    Type("123456789");
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(GetWaveDuty(0), 560);
    EXPECT_TRUE(Messages().empty()) << "dropped silently";
}

TEST_F(Fields, AValueHeldAtItsLimitIsTold) {
    // The current limit has no message of its own.
    for (const auto& [id, told] : {std::pair{kParamAcv, std::vector<std::string>{"18"}},
                                   std::pair{kParamFreq, std::vector<std::string>{"25"}},
                                   std::pair{kParamCurrLimit, std::vector<std::string>{}}}) {
        ParamRec rec;
        paramGetRecord(id, &rec, 0);
        paramPutValue(id, rec.max, 0);
        Open(id);
        Messages();
        Knob(1);
        EXPECT_EQ(Messages(), told) << id;
        Knob(-1);
        EXPECT_TRUE(Messages().empty()) << id << ": a stored step tells nothing";
    }
}

TEST_F(Fields, KindSelectorsChooseTheLimitTheEnterKeyOpens) {
    struct Case {
        uint32_t state;
        uint8_t code;
        int8_t delta;
        uint32_t opens;
    };
    for (const Case& c : {Case{9, kKeyKnob, 1, 11}, Case{9, kKeyKnob, -1, 10}, Case{15, kKeyKnob, 1, 19},
                          Case{15, kKeyKnob, -5, 16}, Case{23, 'W', 0, 27}, Case{23, 'V', 0, 24},
                          Case{23, kKeyKnob, 1, 27}}) {
        Open(c.state);
        Press(c.code, kClassCursor, c.delta);
        Press(kKeyEnter, kClassKeypad);
        EXPECT_EQ(g_MenuState.load(), c.opens) << "state " << c.state << " key " << int{c.code};
        Open(c.state);
        Press(kKeyEnter, kClassKeypad);
        EXPECT_EQ(g_MenuState.load(), c.opens) << "the kind stays chosen";
    }
    for (uint8_t key : {uint8_t{'T'}, uint8_t{96}}) {
        Open(23);
        Press(key, key == 96 ? kClassSoft : kClassKeypad);
        EXPECT_EQ(g_MenuState.load(), 1u);
    }
    Open(23);
    Type("1");
    Press(kKeyExit, kClassKeypad);
    EXPECT_EQ(g_MenuState.load(), 23u) << "the exit key first drops a typed number";
}

TEST_F(Fields, RangeKeysPickTheWiringsCodes) {
    struct Case {
        uint32_t wiring, mode;
        uint8_t key;
        uint32_t code;
    };
    for (const Case& c : {Case{0, 1, '\\', 0}, Case{0, 1, '[', 1}, Case{0, 1, 'Y', 4}, Case{1, 1, '\\', 2},
                          Case{1, 1, '[', 3}, Case{1, 8, 'Y', 6}, Case{0, 3, 'Y', 1}, Case{0, 9, 'Y', 1}}) {
        g_PhaseMode = c.wiring;
        g_OutputModeIdx = c.mode;
        SetVoltRange(c.wiring == 1 ? 3 : 1);
        Open(kParamVoltRange);
        Press(c.key, kClassSoft);
        EXPECT_EQ(GetVoltRangeCode(), c.code)
            << "wiring " << c.wiring << " mode " << c.mode << " key " << c.key;
        Knob(1);
        EXPECT_EQ(GetVoltRangeCode(), c.code) << "no knob";
    }
}

TEST_F(Fields, ChoicesApplyOnEnterOnly) {
    // The knob turned down moves to the next mode; exit applies nothing.
    for (const auto& [delta, key, mode] :
         {std::tuple<int8_t, uint8_t, uint32_t>{-1, 'U', 2}, {-20, 'T', 2}, {-20, 'U', 9}}) {
        const uint32_t before = GetOutputMode();
        Open(kParamMainMode);
        Knob(delta);
        EXPECT_EQ(GetOutputMode(), before) << "not before the enter key";
        Press(key, kClassKeypad);
        EXPECT_EQ(GetOutputMode(), mode) << int{delta} << " " << key;
        EXPECT_EQ(g_MenuState.load(), 1u);
    }

    // The line/view field: the selected line in 3P4W unbalanced (0-2).
    g_OutputModeIdx = 1;
    // Balanced AC-INT: the PHASE/LINE view instead, only with SIN.
    paramPutValue(kParamMeasItem7, 0, 0);
    for (int32_t balanced : {0, 1}) {
        SetPhaseBalanceMode(balanced);
        Open(kParamPhaseMode);
        Knob(-5);
        Press(kKeyEnter, kClassKeypad);
        EXPECT_EQ(GetSelectedLine(), 2) << balanced;
        EXPECT_EQ(GetPhaseLineView(), balanced);
    }

    // With All the shape L1 shows goes to the three phases on the enter key, also when it was not moved.
    SetPhaseBalanceMode(0);
    ASSERT_EQ(SetWaveform(18, 0), 18);
    ASSERT_EQ(GetWaveform(1), 16);
    g_EditAllPhases = 1;
    Open(kParamWaveShape);
    Press(kKeyEnter, kClassKeypad);
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(GetWaveform(p), 18) << "phase " << p;
}

TEST_F(Fields, SwitchedOffAnglesTakeOnlyTheEnableKey) {
    ParamRec on;
    paramGetRecord(kParamOnPhase, &on, 0);
    on.state = 0;
    paramPutRecord(kParamOnPhase, &on, 0);
    const int32_t angle = on.value;
    Open(kParamOnPhase);
    Knob(1);
    Type("12");
    EXPECT_EQ(g_EditBuf.entryLength, 0) << "typed digits are dropped";
    Press(kKeySoft3, kClassSoft);
    EXPECT_EQ(paramGetValue(kParamOnPhase, 0), angle);
    Press(kKeySoft1, kClassSoft);
    paramGetRecord(kParamOnPhase, &on, 0);
    EXPECT_NE(on.state, 0) << "the enable key still acts";
    Open(kParamOnPhase);
    Knob(1);
    EXPECT_NE(paramGetValue(kParamOnPhase, 0), angle);

    paramPutValue(kParamBalance, 0, 0);
    Open(kParamBalance);
    Knob(5);
    EXPECT_EQ(paramGetValue(kParamBalance, 0), 0) << "the L1 angle takes no knob";
}

}  // namespace
