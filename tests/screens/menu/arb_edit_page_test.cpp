// The waveform editor's windows as the MENU page paints them, on the framebuffer.
#include <gtest/gtest.h>

#include "core/system/state/edit_state.h"
#include "drivers/panel_link.h"
#include "engine/arb/arb_builder.h"
#include "screens/menu/arbedit/arb_edit_keys.h"
#include "screens/menu/page/menu_page.h"
#include "tests/GUI/screen_fixture.h"
#include "tests/screens/menu/menu_page_fixture.h"

namespace {

using menutest::Step;

class ArbEditPage : public ::testing::Test {
  protected:
    void SetUp() override { menutest::StartPage(); }
    void TearDown() override {
        g_LFRingActualAmp.store(0);
        menutest::StopPage();
    }
    // The editor opened on its type row, then the state given with a new preview: what both drew.
    static void Show(uint32_t state, int32_t work) {
        Step(544, 3);
        g_EditParam.workValue.store(work);
        ArbBuild_SetPreviewChanged();
        Step(state, 3);
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
    g_MenuState.store(543);
    g_EditParam.workValue.store(12);
    uint32_t enter = KeyEventPack(0, kKeyEnter, 1);
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

// A type set remotely (a BUIL command, the state staying on the type row) relabels the page and its table.
TEST_F(ArbEditPage, ATypeSetRemotelyOnTheTypeRowRelabelsThePage) {
    ArbBuild_SetType(12);
    Step(544, 3);
    ArbBuild_SetType(25);
    Step(544, 3);
    menutest::ExpectPage("arb_edit_dst20_type_row");
}

TEST_F(ArbEditPage, SecondColumnOfALongTable) {
    ArbBuild_SetType(25);  // DST20: twenty entries
    Show(542, ArbBuild_GetArbNo());
    menutest::ExpectPage("arb_edit_dst20");  // the eleventh entry opens the second column
}

// The rows and the LF-ring advice follow the type being chosen; the table keeps the stored shape's.
TEST_F(ArbEditPage, TypeChoiceRelabelsWhileTheTableKeepsTheStoredShape) {
    ArbBuild_SetType(12);
    Step(544, 3);
    g_EditParam.workValue.store(30);
    g_EditBuf.choiceValue = 30;
    ArbBuild_SetPreviewChanged();
    Step(543, 3);
    menutest::ExpectPage("arb_edit_choosing_lf_ring");
    g_EditParam.workValue.store(13);
    g_EditBuf.choiceValue = 13;
    Step(543, 3);
    guitest::ExpectGolden("arb_edit_choosing_dst08", GUI_BOX{440, 36, 719, 300});  // the rows and the table
}

// The readouts beside the field: the LF-ring's time (none for a base frequency of 0, no division) and the
// ripple's peak-to-peak voltage.
TEST_F(ArbEditPage, ReadoutsOfTheRippleAndTheLfRing) {
    ArbBuild_SetType(30);
    ASSERT_EQ(ArbBuild_SetLFRingEnd(1200), 1200);
    ASSERT_EQ(ArbBuild_SetLFRingBaseFreq(500), 500);
    Show(535, 1000);
    menutest::ExpectPage("arb_edit_lf_ring_start");
    Show(529, 0);
    menutest::ExpectPage("arb_edit_lf_ring_no_base");

    ArbBuild_SetType(28);
    ASSERT_EQ(ArbBuild_SetRippleVDC(48), 48);
    Show(513, 10);
    menutest::ExpectPage("arb_edit_ripple_level");
}

TEST_F(ArbEditPage, ActualAmplitudeAdvice) {
    ArbBuild_SetType(30);
    g_LFRingActualAmp.store(1000);
    Show(526, ArbBuild_GetLFRingACV());
    const std::string log = menutest::TakeLog();
    EXPECT_TRUE(menutest::Logged(log, 200, 83, "0xFFFF", "Actual Amp = Err  %")) << log;
}

// A selected field in black, centred; an edited field with its range in the hint.
TEST_F(ArbEditPage, SelectedAndEditedFields) {
    ArbBuild_SetType(3);
    ASSERT_EQ(ArbBuild_SetCf1(13), 13);
    Show(504, 13);
    menutest::ExpectPage("arb_edit_cf1_selected");
    Show(503, 25);
    menutest::ExpectPage("arb_edit_cf1_edited");
}

TEST_F(ArbEditPage, TypeOutsideTheTableDrawsNoRows) {
    g_ArbBuilder.type.store(31);
    Step(544, 3);
    menutest::ExpectPage("arb_edit_type_outside");
}

}  // namespace
