// The running controller's waveform editor: opened from the top menu, its type set remotely, a crest
// factor typed on the keypad. Every SCPI message ends by returning the panel to local.
#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/system/fb_png.h"
#include "tests/system/front_panel_suite.h"

namespace {

using namespace testsupport;

class ArbEditScene : public FrontPanelSuite {
  protected:
    static std::string Query(const std::string& q) { return Ask(q + ";:SYST:COMM:RLST LOC"); }
};

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

TEST_F(ArbEditScene, CrestFactorTypedOnTheKeypad) {
    Mark();
    ASSERT_TRUE(Panel("key L"));
    for (int i = 0; i < 15; ++i)
        ASSERT_TRUE(Panel("knob -1"));
    Keys({"knob 1", "knob 1", "knob 1", "key U"});
    EXPECT_TRUE(WaitLogged(0, 12, "Arbitrary Edit")) << TextLog();
    EXPECT_TRUE(WaitLogged(450, 51, "Built In"));

    Mark();
    Send("SYST:ARB:EDIT:BUIL CFAC1;:SYST:COMM:RLST LOC");
    EXPECT_TRUE(WaitLogged(450, 81, "CF")) << TextLog();
    EXPECT_TRUE(WaitLogged(450, 111, "ARB NO."));
    EXPECT_TRUE(WaitLogged(615, 51, "CF-1"));

    Mark();
    Keys({"knob -1", "key U", "key A", "key J", "key B", "key E", "key U"});
    EXPECT_EQ(Query("SYST:ARB:EDIT:CFAC1?"), "+1.3000");
    EXPECT_TRUE(WaitLogged(615, 81, "1.3")) << TextLog();

    // ARB NO. 17, then soft key 1 stores the built wave there.
    const std::string arb17 = c().root() + "/mnt/tst/ARB/ARB17.ARB";
    std::filesystem::remove(arb17);
    Keys({"knob -1", "key U", "key A", "key G", "key U", "key Y"});
    std::error_code ec;
    for (int waited = 0; waited <= 10000 && std::filesystem::file_size(arb17, ec) != 8260; waited += 50)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(std::filesystem::file_size(arb17, ec), 8260u);

    // Back on the top list's row: a parallel slave cannot open the editor.
    Keys({"key V"});
    Send("PAR:POS SLAV;:SYST:COMM:RLST LOC");
    Mark();
    Keys({"key U"});
    EXPECT_FALSE(WaitLogged(0, 12, "Arbitrary Edit", false, 1500));
    Send("PAR:POS MAST;:SYST:COMM:RLST LOC");
    Keys({"key L"});  // home again
}

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
