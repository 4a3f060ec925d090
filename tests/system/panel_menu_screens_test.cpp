// The running controller's MENU page as the eye sees it: the top menu with the previews of its entries,
// and the configuration lists with their value columns, each against its golden picture.
#include "tests/system/fb_png.h"
#include "tests/system/front_panel_suite.h"

namespace {

using namespace testsupport;

class PanelMenuScreens : public FrontPanelSuite {
  protected:
    static std::string Golden(const std::string& name) {
        if (!Sync()) return "the panel did not catch up";
        return ScreenMatchesGolden(c().root(), c().workDir(), name);
    }
    // From the top menu's current entry: down n entries, then the preview; enter, then the list.
    static void EntryAndList(const char* knob, const std::string& name) {
        Keys({knob});
        EXPECT_EQ(Golden("menu_preview_" + name), "");
        Keys({"key U"});
        EXPECT_EQ(Golden("menu_" + name), "");
        Keys({"key L"});  // back to the top menu, on the same entry
    }
};

// The knob's entries on this unit (RS232, no option card): MISC, LAN, USB Device, RS232C, Output
// Impedance, Parallel, Arbitrary Edit, Default Setting, Special Function, Save/Recall Files.
TEST_F(PanelMenuScreens, TopMenuPreviewsAndLists) {
    Keys({"key L"});
    EXPECT_TRUE(WaitLogged(5, 13, "MENU")) << TextLog();
    EXPECT_EQ(Golden("menu_top"), "") << "System Information's preview";
    EntryAndList("knob -1", "misc");
    EntryAndList("knob -1", "lan");
    EntryAndList("knob -3", "impedance");
    EntryAndList("knob -5", "saverecall");
    Keys({"knob 1", "key U"});
    EXPECT_EQ(Golden("menu_password"), "") << "Special Function's password box";
    Keys({"key T", "key L"});
}

}  // namespace
