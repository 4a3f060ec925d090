// The MISC Configuration editors through the key table: the typed and stepped numbers, the choices and
// their limits by wiring and state, and what enter does besides storing.
#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <tuple>

#include "core/system/state/output_flags.h"
#include "panel/menu/dialog_words.h"
#include "sysadmin/firmware/fw_update.h"
#include "tests/screens/menu/menu_keys_fixture.h"

namespace menutest {
namespace {

class MiscEditors : public MenuKeys {
  protected:
    void TearDown() override {
        g_ModelVariantA.store(0);
        MenuKeys::TearDown();
    }
    // Opens the editor of a MISC row by its enter key.
    static void Open(uint32_t row) {
        At(row);
        Press(kKeyEnter, kClassKeypad);
        ASSERT_EQ(State(), row + 1);
    }
    // The row's editor opened, a number typed and entered.
    static void TypeInto(uint32_t row, const char* text) {
        Open(row);
        Type(text);
        Press(kKeyEnter, kClassKeypad);
    }
};

TEST_F(MiscEditors, PeakHoldTimeTakesATypedNumberOnlyWithinItsLimits) {
    // {row, typed, stored}: the hold time 1-60000 ms, its maximum itself, the average count 1-128.
    for (const auto& [row, typed, stored] :
         {std::tuple{96u, "25", 25}, {96u, "70000", 25}, {134u, "0", 8}, {96u, "60000", 60000}}) {
        TypeInto(row, typed);
        EXPECT_EQ(Param(row + 1), stored) << typed;
        EXPECT_EQ(State(), row) << typed;
    }
    Open(96);
    Type("2");
    Press(kKeyExit, kClassKeypad);
    EXPECT_EQ(State(), 97u) << "the first exit drops the typing";
    Press(kKeyExit, kClassKeypad);
    EXPECT_EQ(State(), 96u);
    EXPECT_EQ(Param(97), 60000);
}

TEST_F(MiscEditors, ANumberWhoseStepsLeave32BitsIsDropped) {
    ParamRec rec{};
    paramGetRecord(129, &rec, 0);  // 0.1 ms steps
    rec.max = INT_MAX;
    rec.min = INT_MIN;
    paramPutRecord(129, &rec, 0);
    TypeInto(128, "999999999");
    EXPECT_EQ(Param(129), rec.value);
    TypeInto(128, "12.3");
    EXPECT_EQ(Param(129), 123) << "12.3 ms";
}

TEST_F(MiscEditors, NumbersStepAtTheCursorDigit) {
    Open(134);  // average count 8, 1-128, 3 digits
    Press(kKeyRight, kClassCursor);
    EXPECT_EQ(g_EditParam.cursor, 2u) << "right from the units wraps to the highest digit";
    Press(kKeyLeft, kClassCursor);
    Press(kKeyLeft, kClassCursor);
    EXPECT_EQ(g_EditParam.cursor, 1u);
    Knob(1);
    Knob(1);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(Param(135), 28);
}

TEST_F(MiscEditors, BuzzerOffByTheKnob) {
    Open(106);
    Knob(-1);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(Param(107), 0);
    EXPECT_EQ(State(), 106u);
    Open(106);
    Knob(1);
    Press(kKeyExit, kClassKeypad);
    EXPECT_EQ(Param(107), 0) << "exit stores nothing";
}

TEST_F(MiscEditors, KnobOnlyEditorsIgnoreTheCursorKeys) {
    Open(104);  // Power ON
    Press(kKeyRight, kClassCursor, 1);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(Param(105), 0);
    Open(104);
    Knob(1);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(Param(105), 1);
    Open(120);  // Set Change Phase takes the cursor keys too
    Press(kKeyRight, kClassCursor, 1);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(Param(121), 1);
}

TEST_F(MiscEditors, MonitorSourcesPassOverTheMissingPhases) {
    SetPhaseMode(kWiring1P2W);
    Open(122);
    std::set<int32_t> seen{Work()};
    for (int8_t d : {1, 1, 1, -1, -1, -1, 1}) {
        Knob(d);
        seen.insert(Work());
    }
    EXPECT_EQ(seen, (std::set<int32_t>{0, 3}));
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(Param(123), 3) << "L1 current";

    SetPhaseMode(kWiring1P3W);
    Open(124);  // source 2 starts at 3
    // Down from L1 current: L2 voltage; up again: L1 current; L2 current is the last in 1P3W.
    for (const auto& [delta, source] : {std::pair{-1, 1}, {1, 3}, {1, 4}, {1, 4}}) {
        Knob(static_cast<int8_t>(delta));
        EXPECT_EQ(Work(), source);
    }
}

TEST_F(MiscEditors, PeakClearStoresAllIn1P2WAndReportsSuccess) {
    Open(102);
    Knob(1);
    Knob(1);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(Param(103), 2);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Peak Hold Clear \nSuccess"}));

    SetPhaseMode(kWiring1P2W);
    Open(102);
    EXPECT_EQ(Work(), 2);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(Param(103), 0);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Peak Hold Clear \nSuccess"})) << "unchanged, still cleared";

    SetPhaseMode(kWiring1P3W);
    Open(102);
    for (int i = 0; i < 3; ++i)
        Knob(1);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(Param(103), 2) << "L2 is the last choice in 1P3W";
}

TEST_F(MiscEditors, VoltageResponseLosesItsFastestChoiceWhenNotAllowed) {
    SetPhaseMode(kWiring1P2W);
    Open(110);
    for (int i = 0; i < 4; ++i)
        Knob(1);
    EXPECT_EQ(Work(), 1) << "1P2W";

    SetPhaseMode(kWiring3P4W);
    Open(110);
    Knob(1);
    EXPECT_EQ(Work(), 2);

    g_ModelVariantA.store(1);
    SetPhaseMode(kWiring1P2W);
    Open(110);
    Knob(1);
    EXPECT_EQ(Work(), 2) << "the A variant minds only the impedance";
}

TEST_F(MiscEditors, RemoteSensingStaysOffWhileBlocked) {
    SetOutputMode(1);  // AC-INT
    Open(108);
    SetOutputMode(3);  // AC+DC-EXT: no remote sensing
    Knob(1);
    EXPECT_EQ(Work(), 0);
    SetOutputMode(1);
    Knob(1);
    EXPECT_EQ(Work(), 1);
}

TEST_F(MiscEditors, AChangedWiringAsksFirst) {
    Open(98);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(State(), 98u) << "unchanged";
    Open(98);
    Knob(1);
    g_PhaseChangeFromHome.store(1);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(State(), 4u);
    EXPECT_EQ(g_CfgPhaseChoice.load(), kWiring1P2W);
    EXPECT_EQ(g_PhaseChangeFromHome.load(), 0u) << "No comes back to the MENU row";
    EXPECT_EQ(GetPhaseMode(), kWiring3P4W) << "not yet changed";
}

TEST_F(MiscEditors, TriggerSourceLimitByWiring) {
    SetPhaseMode(kWiring1P3W);
    Open(130);
    Knob(1);
    Knob(1);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(Param(131), 1);
}

}  // namespace
}  // namespace menutest
