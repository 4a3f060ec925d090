// The waveform editor's windows as the MENU page paints them: texts of the text log, by position.
#include <gtest/gtest.h>

#include "core/system/state/edit_state.h"
#include "drivers/panel_link.h"
#include "engine/arb/arb_builder.h"
#include "screens/menu/arbedit/arb_edit_keys.h"
#include "screens/menu/page/menu_page.h"
#include "tests/GUI/screen_fixture.h"
#include "tests/screens/menu/menu_page_fixture.h"

namespace {

using menutest::Logged;
using menutest::Step;
using menutest::TakeLog;

const auto Drawn = screentext::LoggedAnywhere;

class ArbEditPage : public ::testing::Test {
  protected:
    void SetUp() override { menutest::StartPage(); }
    void TearDown() override {
        g_LFRingActualAmp.store(0);
        menutest::StopPage();
    }
    // The editor opened on its type row, then the state given with a new preview: what both drew.
    static std::string Show(uint32_t state, int32_t work) {
        Step(544, 3);
        g_EditParam.workValue.store(work);
        ArbBuild_SetPreviewChanged();
        Step(state, 3);
        return TakeLog();
    }
    // The builder's task and the page stepped in turn, as the timer and GUI threads run them.
    static void Run(uint32_t state) {
        for (int i = 0; i < 12; ++i) {
            ArbBuild_TaskRun();
            Step(state);
        }
    }
    // The preview window on screen, at (30, 43) in the editor's body.
    static std::vector<uint16_t> PreviewPixels() {
        return screentext::BoxPixels(guitest::Screen(), 30, 43, 379, 417);
    }
    // The preview of a type as the type row shows it once the builder holds that type.
    static std::vector<uint16_t> PreviewOf(int32_t type) {
        ArbBuild_SetType(type);
        ArbBuild_RequestPreview();
        Run(544);
        return PreviewPixels();
    }
};

// While the type is chosen the curve is the working type's; after Enter on a new type, before the builder
// had drawn it, the curve and the LF-ring advice follow without another key.
TEST_F(ArbEditPage, ThePreviewFollowsTheTypeBeingChosenAndTheTypeEntered) {
    const std::vector<uint16_t> triangle = PreviewOf(0), dst07 = PreviewOf(12);
    ASSERT_NE(triangle, dst07);
    // Entered with the builder's type, then the knob down to the triangle.
    g_EditParam.workValue.store(12);
    Run(543);
    g_EditParam.workValue.store(0);
    g_EditBuf.choiceValue = 0;
    Run(543);
    EXPECT_EQ(PreviewPixels(), triangle) << "the triangle being chosen";

    PreviewOf(30);
    TakeLog();
    g_MenuState.store(543);
    g_EditParam.workValue.store(12);
    uint32_t enter = KeyEventPack(0, 'U', 1);
    KeyProcess_ArbEdit(&enter);
    ASSERT_EQ(ArbBuild_GetType(), 12);
    Run(544);
    EXPECT_EQ(PreviewPixels(), dst07) << "the entered DST07, without the LF-ring advice";
}

// The stored shape's rows and its harmonic table: orders and percentages 15 pixels apart.
TEST_F(ArbEditPage, StoredShapeRowsAndItsHarmonicTable) {
    ArbBuild_SetType(12);
    Step(544, 3);
    menutest::ExpectPage("arb_edit_dst07");
}

TEST_F(ArbEditPage, ATypeSetRemotelyOnTheTypeRowRelabelsThePage) {
    ArbBuild_SetType(12);
    Step(544, 3);
    TakeLog();
    ArbBuild_SetType(25);  // as a remote BUIL does, the state staying 544
    Step(544, 3);
    const std::string log = TakeLog();
    EXPECT_TRUE(Drawn(log, "DST20")) << log;
    EXPECT_TRUE(Logged(log, 545, 98, "0xFFFF", "21:")) << "the table of the new shape";
}

TEST_F(ArbEditPage, SecondColumnOfALongTable) {
    ArbBuild_SetType(25);  // DST20: twenty entries
    Show(542, ArbBuild_GetArbNo());
    menutest::ExpectPage("arb_edit_dst20");  // the eleventh entry opens the second column
}

TEST_F(ArbEditPage, TypeChoiceRelabelsWhileTheTableKeepsTheStoredShape) {
    ArbBuild_SetType(12);
    Step(544, 3);
    TakeLog();
    g_EditParam.workValue.store(30);
    g_EditBuf.choiceValue = 30;
    ArbBuild_SetPreviewChanged();
    Step(543, 3);
    const std::string log = TakeLog();
    EXPECT_TRUE(Drawn(log, "LF-RING"));
    EXPECT_TRUE(Logged(log, 450, 111, "0xFFFF", "Amp")) << "row 2 of the LF-ring type";
    EXPECT_TRUE(Logged(log, 450, 321, "0xFFFF", "ARB NO.")) << "row 9";
    EXPECT_TRUE(Drawn(log, "it is recommended to use VRN-HF models.")) << "the advice follows the choice";

    g_EditParam.workValue.store(13);
    g_EditBuf.choiceValue = 13;
    Step(543, 3);
    const std::string shapes = TakeLog();
    EXPECT_TRUE(Drawn(shapes, "DST08"));
    EXPECT_TRUE(Logged(shapes, 520, 113, "0xFFFF", " 2.20 %")) << "the table keeps the stored DST07";
    EXPECT_FALSE(Drawn(shapes, " 4.90 %"));
    EXPECT_TRUE(
        Logged(log, 0, 12, "0xFFFF", "Built In(TRI|STAIR|CLIP|CF-1|CF-2|SURGE|DST01-22|RIPPLE|DIP|LF-RING)"));
}

TEST_F(ArbEditPage, ReadoutsOfTheRippleAndTheLfRing) {
    ArbBuild_SetType(30);
    ASSERT_EQ(ArbBuild_SetLFRingEnd(1200), 1200);
    ASSERT_EQ(ArbBuild_SetLFRingBaseFreq(500), 500);
    std::string log = Show(535, 1000);
    EXPECT_TRUE(Logged(log, 720, 13, "0xFFFF", "1.11 ms")) << log;
    EXPECT_TRUE(Logged(log, 0, 12, "0xFFFF", "Start Phs(0.1 ~ 119.9)"));

    log = Show(529, 0);  // a base frequency of 0: no readout, no division
    EXPECT_FALSE(Drawn(log, "ms")) << log;

    ArbBuild_SetType(28);
    ASSERT_EQ(ArbBuild_SetRippleVDC(48), 48);
    log = Show(513, 10);
    EXPECT_TRUE(Logged(log, 720, 13, "0xFFFF", "4.80 Vpp")) << log;
}

TEST_F(ArbEditPage, ActualAmplitudeAdvice) {
    ArbBuild_SetType(30);
    g_LFRingActualAmp.store(1000);
    std::string log = Show(526, ArbBuild_GetLFRingACV());
    EXPECT_TRUE(Logged(log, 200, 83, "0xFFFF", "Actual Amp = Err  %")) << log;
}

TEST_F(ArbEditPage, SelectedAndEditedFields) {
    ArbBuild_SetType(3);
    ASSERT_EQ(ArbBuild_SetCf1(13), 13);
    std::string log = Show(504, 13);
    EXPECT_TRUE(Logged(log, 615, 81, "0x0000", "1.3")) << "selected: black, centred in field 1";
    log = Show(503, 25);
    EXPECT_TRUE(Logged(log, 0, 12, "0xFFFF", "CF(1.1 ~ 10.0)"));
}

TEST_F(ArbEditPage, TypeOutsideTheTableDrawsNoRows) {
    g_ArbBuilder.type.store(31);
    Step(544, 3);
    const std::string log = TakeLog();
    EXPECT_TRUE(Drawn(log, "Built In"));
    EXPECT_FALSE(Drawn(log, "ARB NO."));
}

}  // namespace
