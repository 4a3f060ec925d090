// The running controller's waveform editor as the eye sees it: one type of each kind, set remotely (each
// SCPI message ends by returning the panel to local).
#include "tests/system/fb_png.h"
#include "tests/system/front_panel_suite.h"

namespace {

using namespace testsupport;

// A controller of its own, so the pictures do not depend on what another scene left.
class ArbEditPictures : public FrontPanelSuite {
  protected:
    static std::string Golden(const std::string& name) {
        return ScreenMatchesGolden(c().root(), c().workDir(), name);
    }
    static void Build(const std::string& type) {
        Send("SYST:ARB:EDIT:BUIL " + type + ";:SYST:COMM:RLST LOC");
    }
};

// The sub-page as a whole for a computed type, a stored shape with its table, the DIP, and the type being
// chosen. After each remote type change the editor is left for its top-menu row and opened again, so the
// page draws the rows of the new type afresh.
TEST_F(ArbEditPictures, OneTypeOfEachKind) {
    ASSERT_TRUE(Panel("key L"));
    for (int i = 0; i < 15; ++i)
        ASSERT_TRUE(Panel("knob -1"));
    Keys({"knob 1", "knob 1", "knob 1", "key U"});
    const struct {
        const char* type;
        const char* golden;
    } kTypes[] = {{"TRI", "arb_edit_tri"}, {"DST07", "arb_edit_dst07"}, {"DIP", "arb_edit_dip"}};
    for (const auto& t : kTypes) {
        Build(t.type);
        Keys({"key V", "key U"});
        EXPECT_EQ(Golden(t.golden), "") << t.type;
    }
    Keys({"key U", "knob 1"});  // the type turned from DIP to LF-RING
    EXPECT_EQ(Golden("arb_edit_type_choice"), "");
    Keys({"key T", "key L", "key L"});
}

}  // namespace
