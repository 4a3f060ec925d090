// The waveform builder editor's keys: knob ranges, typed numbers, row moves and the soft keys.
#include "screens/menu/arbedit/arb_edit_keys.h"

#include <gtest/gtest.h>

#include "core/system/state/output_flags.h"
#include "engine/arb/arb_builder.h"
#include "tests/screens/menu/menu_keys_fixture.h"

namespace menutest {
namespace {

class ArbEditKeys : public MenuKeys {
  protected:
    void SetUp() override {
        MenuKeys::SetUp();
        engine::ArbBuilderReset();
        ASSERT_EQ(ArbEdit_RegisterKeys(), 0);
        g_ParamFlags.fetch_and(~core::kFlagShiftLatched);
        OutputFlagClear(kOutFlagOutputOn);
    }
    void TearDown() override {
        OutputFlagClear(kOutFlagOutputOn);
        engine::ArbBuilderReset();
        MenuKeys::TearDown();
    }
};

TEST_F(ArbEditKeys, KnobStaysBetweenTheNeighbouringPhases) {
    ASSERT_EQ(ArbBuild_GetDIPStart(), 450);
    ASSERT_EQ(ArbBuild_GetDIPEnd(), 1720);
    At(521);
    for (int k = 0; k < 3; ++k)
        Press(kKeyLeft, kClassCursor);  // the thousands
    Knob(-1);
    EXPECT_EQ(Work(), 451);
    Knob(5);
    EXPECT_EQ(Work(), 1719);
    for (int k = 0; k < 4; ++k)
        Press(kKeyRight, kClassCursor);  // the fourth wraps from the units to the thousands
    Knob(-1);
    EXPECT_EQ(Work(), 719);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(State(), 522u);
    EXPECT_EQ(ArbBuild_GetDIPSweep(), 719);
}

TEST_F(ArbEditKeys, DipPresetsKeepTheOrderAtEveryCall) {
    using Dip = std::vector<int32_t>;
    const auto dip = [] { return Dip{ArbBuild_GetDIPStart(), ArbBuild_GetDIPSweep(), ArbBuild_GetDIPEnd()}; };
    At(520);
    Press(kKeySoft2, kClassSoft);  // from sweep 540: end first
    EXPECT_EQ(dip(), (Dip{1, 899, 900}));
    Press(kKeySoft3, kClassSoft);
    EXPECT_EQ(dip(), (Dip{2700, 3598, 3599}));
    Press(kKeySoft2, kClassSoft);  // from sweep 3598: sweep first
    EXPECT_EQ(dip(), (Dip{1, 899, 900}));
    ASSERT_EQ(ArbBuild_SetDIPSweep(300), 300);
    ASSERT_EQ(ArbBuild_SetDIPEnd(500), 500);
    Press(kKeySoft2, kClassSoft);  // an end below 899: the sweep can follow only once the end moved
    EXPECT_EQ(dip(), (Dip{1, 899, 900}));
}

TEST_F(ArbEditKeys, TypedNumbersAreScaledAndRounded) {
    TypeIn(515, "150");  // the knob stops at 100, a typed value goes to the builder as typed
    EXPECT_EQ(ArbBuild_GetRippleVDC(), 150);
    EXPECT_EQ(State(), 516u);
    At(515);
    Knob(1);
    EXPECT_EQ(Work(), 100);

    const struct {
        uint32_t state;
        const char* typed;
        int32_t (*stored)();
        int32_t want;
    } rows[] = {{533, "-0.0504", ArbBuild_GetLFRingDecay, -50}, {525, "1.15", ArbBuild_GetLFRingACV, 115},
                {503, "1.25", ArbBuild_GetCf1, 13}, {501, "0.505", ArbBuild_GetClip, 50},
                {501, "0.51", ArbBuild_GetClip, 51}};
    for (const auto& r : rows) {
        TypeIn(r.state, r.typed);
        EXPECT_EQ(r.stored(), r.want) << r.typed;
    }
}

TEST_F(ArbEditKeys, ANumberBeyondThirtyTwoBitsIsDropped) {
    const int32_t decay = ArbBuild_GetLFRingDecay();
    TypeIn(533, "4294967.3");  // 4294967300 thousandths: 4 once cut to 32 bits, a valid decay
    EXPECT_EQ(ArbBuild_GetLFRingDecay(), decay);
    EXPECT_EQ(State(), 534u);
}

TEST_F(ArbEditKeys, ExitWithDigitsTypedLeavesAtOnce) {
    const int32_t cf = ArbBuild_GetCf1();
    At(503);
    Type("5");
    Press(kKeyExit, kClassKeypad);
    EXPECT_EQ(State(), 504u);
    EXPECT_EQ(ArbBuild_GetCf1(), cf);
    EXPECT_EQ(g_EditBuf.entryState, 0u);
}

TEST_F(ArbEditKeys, StoredShapeTypeMovesBetweenArbNoAndTheTypeRow) {
    ArbBuild_SetType(12);
    At(542);
    EXPECT_EQ(Walk({0, 1, 1, -1}), (std::vector<uint32_t>{542, 544, 544, 542}));
}

TEST_F(ArbEditKeys, KnobOverTheRowsOfTheLfRingType) {
    ArbBuild_SetType(30);
    At(544);  // down from the type row: the last parameter row
    EXPECT_EQ(Walk({-1, 1, -1, -1, 1}), (std::vector<uint32_t>{540, 538, 540, 542, 540}));
    EXPECT_EQ(After(526, kKeyKnob, kClassCursor, 1), 544u);
}

TEST_F(ArbEditKeys, TypeRowNeedsTheParallelMaster) {
    ArbBuild_SetType(12);
    ASSERT_EQ(paramPutValue(kParamParallelPosition, 2, 0), 0);
    EXPECT_EQ(After(542, kKeyKnob, kClassCursor, 1), 542u);
}

TEST_F(ArbEditKeys, RippleApplyOnlyWithTheRippleType) {
    OutputFlagSet(kOutFlagOutputOn);  // the apply refuses with its message: seen only when it ran
    ArbBuild_SetType(0);
    At(514);
    Press(kKeySoft2, kClassSoft);
    EXPECT_TRUE(Texts().empty());
    ArbBuild_SetType(28);
    Press(kKeySoft2, kClassSoft);
    EXPECT_EQ(Texts().size(), 1u);
}

TEST_F(ArbEditKeys, TypeEditorStepsAndSetsTheType) {
    At(544);
    Press(kKeyEnter, kClassKeypad);
    ASSERT_EQ(State(), 543u);
    Knob(-1);
    EXPECT_EQ(Work(), 0) << "clamped at TRI";
    Knob(40);
    EXPECT_EQ(Work(), 30);
    Press(kKeySoft8, kClassSoft);
    EXPECT_EQ(State(), 544u);
    EXPECT_EQ(ArbBuild_GetType(), 0) << "soft key 8 drops the choice";
    Press(kKeyEnter, kClassKeypad);
    Press(kKeyRight, kClassCursor);
    Knob(3);
    Type("7");  // the choice takes no typed number
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(State(), 544u);
    EXPECT_EQ(ArbBuild_GetType(), 3);
}

TEST_F(ArbEditKeys, VariantsOfTheEditStates) {
    At(513);
    const int32_t levels[] = {2, 5, 10, 15};
    for (int k = 0; k < 4; ++k) {
        Press(static_cast<uint8_t>(kKeySoft1 + k), kClassSoft);
        EXPECT_EQ(Work(), levels[k]) << "soft key " << k + 1;
    }
    Press(kKeySoft2, kClassSoft);
    Press(kKeySoft8, kClassSoft);
    EXPECT_EQ(State(), 513u) << "soft key 8 stays in the ripple level";
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(ArbBuild_GetRippleLevel(), 5);

    At(517);
    Press(kKeySoft1 + 3, kClassSoft);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(ArbBuild_GetRippleTimes(), 3);

    At(525);
    const int32_t acv = Work();
    Knob(1);
    Press(kKeyKnob, kClassKeypad, 1);
    EXPECT_EQ(Work(), acv + 1) << "the ACV knob acts on class 4 only";
    Press(kKeyEnter, kClassCursor);
    EXPECT_EQ(State(), 525u) << "and enter on class 1 only";

    EXPECT_EQ(After(499, kKeyMenu, kClassFunction), 502u);
    EXPECT_EQ(After(500, kKeyKnob, kClassCursor, -1), 542u);
}

TEST_F(ArbEditKeys, ViewKeysLeaveTheEditor) {
    EXPECT_EQ(After(504, kKeyLeft, kClassCursor), 214u);
    EXPECT_EQ(After(504, kKeyMenu, kClassFunction), 94u);
    EXPECT_EQ(After(504, kKeyRight, kClassCursor), 503u);
}

}  // namespace
}  // namespace menutest
