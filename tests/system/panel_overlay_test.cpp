// The running controller's overlay: the quick-edit hint line and soft keys of a setting being edited,
// the range keys, and the limit and wiring popups, read from the text log.
#include "tests/system/fb_png.h"
#include "tests/system/front_panel_suite.h"

namespace {

using namespace testsupport;

class PanelOverlay : public FrontPanelSuite {
  protected:
    static std::string Golden(const std::string& name) { return ScreenMatchesGolden(c().root(), c().workDir(), name); }
};

TEST_F(PanelOverlay, QuickEditShowsTheRangeAndTheSoftKeys) {
    Mark();
    ASSERT_TRUE(Panel("key O"));
    EXPECT_TRUE(WaitLogged(0, 12, "Quick ACV (", true)) << TextLog();
    EXPECT_TRUE(WaitLogged(760, 151, "MAX")) << TextLog();
    EXPECT_TRUE(WaitLogged(760, 211, "MIN")) << TextLog();
    EXPECT_EQ(Golden("overlay_quick_acv"), "");
    Mark();
    ASSERT_TRUE(Panel("key O"));
    // The column goes: the home page's own keys show again at its place.
    EXPECT_TRUE(WaitLogged(760, 143, "ITEM1\\nVrms")) << TextLog();

    Mark();
    ASSERT_TRUE(Panel("key R"));
    EXPECT_TRUE(WaitLogged(760, 31, "AUTO")) << TextLog();
    EXPECT_TRUE(WaitLogged(760, 151, "200V")) << TextLog();
    EXPECT_TRUE(WaitLogged(760, 211, "100V")) << TextLog();
    EXPECT_EQ(Golden("overlay_range"), "");
    ASSERT_TRUE(Panel("key T"));
}

TEST_F(PanelOverlay, LimitKindPopupAndWiringDialog) {
    Mark();
    Keys({"key S", "key Q"});
    EXPECT_TRUE(WaitLogged(265, 200, "IPK Limit")) << TextLog();
    EXPECT_TRUE(WaitLogged(300, 235, "IPK+")) << TextLog();
    EXPECT_TRUE(WaitLogged(410, 235, "IPK-")) << TextLog();
    EXPECT_TRUE(WaitLogged(760, 451, "EXIT")) << TextLog();
    EXPECT_EQ(Golden("overlay_ipk_limit"), "");
    ASSERT_TRUE(Panel("key T"));

    Mark();
    Keys({"key S", "key H"});
    EXPECT_TRUE(WaitLogged(255, 201, "Please select the configure phase.")) << TextLog();
    EXPECT_TRUE(WaitLogged(282, 265, "3P4W")) << TextLog();
    EXPECT_TRUE(WaitLogged(377, 265, "1P2W")) << TextLog();
    EXPECT_TRUE(WaitLogged(471, 265, "1P3W")) << TextLog();
    EXPECT_EQ(Golden("overlay_wiring"), "");
    ASSERT_TRUE(Panel("key T"));
}

}  // namespace
