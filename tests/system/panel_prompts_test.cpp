// The running controller's wiring change from the panel: the wiring choice, its confirmation, the popups
// and what the power stage applies, and the settings of each wiring kept apart.
#include "tests/system/front_panel_suite.h"

namespace {

using namespace testsupport;

class PanelPrompts : public FrontPanelSuite {
  protected:
    // Asks the simulated stage until register reg was applied with the value (bounded).
    static bool WaitReg(int reg, const std::string& value) {
        const std::string want = "reg " + std::to_string(reg) + " = " + value + " written ";
        for (int tries = 0; tries < 40; ++tries) {
            if (!Panel("reg " + std::to_string(reg))) return false;
            const std::string out = c().Output();
            const size_t last = out.rfind("reg " + std::to_string(reg) + " = ");
            if (last != std::string::npos && out.compare(last, want.size(), want) == 0) return true;
        }
        return false;
    }
};

TEST_F(PanelPrompts, WiringChangeTo1P2WAndBack) {
    Send("VOLT 100");
    ASSERT_EQ(Ask("VOLT?"), "+100.0000");
    Keys({"key S", "key N"});
    // The present wiring asks nothing; NO keeps everything.
    Keys({"key S", "key H", "key U", "key S", "key H", "key W", "key U", "key U"});
    ASSERT_TRUE(WaitReg(2355, "0"));
    Mark();
    Keys({"key S", "key H", "key W", "key U", "key V", "key U"});
    EXPECT_TRUE(c().WaitForOutput("popup: Configure Phase Toggle,\nPlease wait...")) << c().Output();
    EXPECT_TRUE(c().WaitForOutput("popup: Configure Phase is Ready")) << c().Output();
    EXPECT_TRUE(WaitReg(2355, "1")) << c().Output();
    // The 100 V range goes over as 1P2W's own code; the stage takes 0 for 100 V in every wiring.
    EXPECT_TRUE(WaitReg(2347, "0")) << c().Output();
    EXPECT_EQ(Ask("VOLT:RANG?"), "100");
    // The home page's status bar follows: its wiring cell, right-aligned to (638, 3).
    EXPECT_TRUE(WaitLogged(638, 3, "1P2W")) << TextLog();
    EXPECT_TRUE(Sync());
    Keys({"key S", "key N", "key S", "key H", "key V", "key U", "key V", "key U"});
    EXPECT_TRUE(WaitReg(2355, "0")) << c().Output();
    EXPECT_EQ(Ask("VOLT?"), "+100.0000");
}

}  // namespace
