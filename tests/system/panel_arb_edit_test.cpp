// The running controller's waveform editor: opened from the top menu, its type set remotely, a crest
// factor typed on the keypad. Every SCPI message ends by returning the panel to local.
#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/system/front_panel_suite.h"

namespace {

using namespace testsupport;

class ArbEditScene : public FrontPanelSuite {
  protected:
    static std::string Query(const std::string& q) { return Ask(q + ";:SYST:COMM:RLST LOC"); }
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
    Keys({"key L", "key L"});
}

}  // namespace
