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
    // One knob event moves the focus one entry, whatever its delta.
    static void Down(int entries) {
        for (int i = 0; i < entries; ++i)
            Keys({"knob -1"});
    }
    // From the top menu's current entry: down n entries, then the preview; enter, then the list.
    static void EntryAndList(int entries, const std::string& name) {
        Down(entries);
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
    EntryAndList(1, "misc");
    EntryAndList(1, "lan");
    EntryAndList(3, "impedance");  // Option Interface is passed over
    EntryAndList(1, "parallel");
    Down(2);
    EXPECT_EQ(Golden("menu_preview_default"), "");
    Down(1);
    EXPECT_EQ(Golden("menu_preview_special"), "");
    EntryAndList(1, "saverecall");
    Keys({"knob 1", "key U"});
    EXPECT_EQ(Golden("menu_password"), "") << "Special Function's password box";
    Keys({"key A", "key B", "key C", "key D", "key E"});
    EXPECT_EQ(Golden("menu_password_error"), "") << "five digits";
    Keys({"key T", "key T", "key L"});
}

}  // namespace
