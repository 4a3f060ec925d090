// The running controller's simple page, reached by the DISPLAY key: the table's labels by meter set, the
// phases without an output, the DC rows, the frozen meter's grey, and the harmonic view with its pages and
// its held popup off 50/60 Hz. After a SCPI command SHIFT then PRESET returns the panel to local.
#include "tests/system/panel/front_panel_suite.h"

namespace {

using namespace testsupport;

// Screen positions: label and value cells of row r in column c, harmonic rows j, soft-key centres.
constexpr int kRowY[11] = {44, 82, 120, 158, 196, 234, 272, 310, 348, 386, 426};
int LabelX(int c) {
    return 60 + 233 * c;
}
int ValueX(int c) {
    return 128 + 233 * c;
}
int HarmY(int j) {
    return 99 + 37 * j;
}

class PanelSimple : public FrontPanelSuite {
  protected:
    static void Local() { Keys({"key S", "key N"}); }
    // A whole log line ("x y align colour font text") drawn since the mark, waited for.
    static bool WaitLine(const std::string& line, int boundMs = 10000) {
        for (int waited = 0; waited <= boundMs; waited += 20) {
            const std::string log = "\n" + TextLogSinceMark();
            if (log.find("\n" + line + "\n") != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
    static std::string TextLogSinceMark() {
        const std::string log = TextLog();
        return log.size() > mark_ ? log.substr(mark_) : "";
    }
    static void MarkHere() {
        Mark();
        mark_ = TextLog().size();
    }
    // From the advanced screen (three-phase wirings: the total view first).
    static void ToSimple() { Keys({"key Y", "key Y"}); }

  private:
    static inline size_t mark_ = 0;
};

TEST_F(PanelSimple, TableLabelsBySetAndTheFrozenGrey) {
    MarkHere();
    ToSimple();
    EXPECT_TRUE(WaitLogged(LabelX(0), kRowY[0], "V")) << TextLog();
    EXPECT_TRUE(WaitLogged(LabelX(0), kRowY[1], "I"));
    for (int c = 0; c < 3; ++c)
        EXPECT_TRUE(WaitLogged(20 + 233 * c, 41, std::string("L") + char('1' + c)));

    MarkHere();
    ASSERT_TRUE(Panel("key 92"));
    EXPECT_TRUE(WaitLogged(LabelX(1), kRowY[0], "Vavg")) << TextLog();
    EXPECT_TRUE(WaitLogged(LabelX(1), kRowY[1], "Iavg"));
    MarkHere();
    ASSERT_TRUE(Panel("key 92"));
    const char* peak[4] = {"Vmax", "Vmin", "Imax", "Imin"};
    for (int r = 0; r < 4; ++r)
        EXPECT_TRUE(WaitLogged(LabelX(2), kRowY[r], peak[r])) << TextLog();
    ASSERT_TRUE(Panel("key 92"));

    MarkHere();
    ASSERT_TRUE(Panel("key 96"));
    EXPECT_TRUE(WaitLine("60 44 0 0xDEFB Font20a V")) << TextLogSinceMark();
    EXPECT_TRUE(WaitLine("526 272 0 0xDEFB Font20a P"));
    ASSERT_TRUE(Panel("key 96"));
    EXPECT_TRUE(WaitLine("60 44 0 0xFFFF Font20a V"));
    ASSERT_TRUE(Panel("key Y"));  // back to the advanced screen
}

TEST_F(PanelSimple, DcRowsBlankAndOneLineWiring) {
    Send("MODE 2");
    EXPECT_EQ(Ask("MODE?"), "DC-INT");
    Local();
    MarkHere();
    ToSimple();
    EXPECT_TRUE(WaitLogged(LabelX(0), kRowY[6], "P")) << TextLog();
    for (int c = 0; c < 3; ++c)
        for (int r = 7; r < 11; ++r) {
            EXPECT_TRUE(WaitLogged(LabelX(c), kRowY[r], "")) << r << " " << c;
            EXPECT_TRUE(WaitLogged(ValueX(c), kRowY[r], "")) << r << " " << c;
        }
    ASSERT_TRUE(Panel("key Y"));

    Send("MODE 0");
    Send("SYST:CONF:PHAS 1");
    ASSERT_EQ(Ask("SYST:CONF:PHAS?"), "1P2W");
    Local();
    MarkHere();
    ASSERT_TRUE(Panel("key Y"));  // one line: no total view between
    for (int c = 1; c < 3; ++c)
        for (int r : {0, 1, 6, 10})
            EXPECT_TRUE(WaitLogged(ValueX(c), kRowY[r], " - - - - ")) << r << " " << c << TextLog();
    ASSERT_TRUE(Panel("key Y"));
    Send("SYST:CONF:PHAS 0");
    ASSERT_EQ(Ask("SYST:CONF:PHAS?"), "3P4W");
    Local();
}

TEST_F(PanelSimple, HarmonicPagesAndTheFrequencyPopup) {
    Send("MODE 1");
    EXPECT_EQ(Ask("MODE?"), "AC-INT");
    Local();
    ToSimple();
    MarkHere();
    ASSERT_TRUE(Panel("key ["));
    EXPECT_TRUE(WaitLogged(14, 35, "Harmonic Voltage Measure")) << TextLog();
    EXPECT_TRUE(WaitLogged(509, 45, "THDv ="));
    EXPECT_TRUE(WaitLogged(235, HarmY(0), "----")) << "values with the output off";
    Keys({"key ^", "key ^", "key ^"});
    MarkHere();
    Keys({"key ^", "key ^"});
    EXPECT_TRUE(WaitLogged(77, HarmY(0), "81th")) << TextLog();
    EXPECT_TRUE(WaitLogged(77, HarmY(9), "90th"));
    EXPECT_TRUE(WaitLogged(427, HarmY(0), "91th"));
    EXPECT_TRUE(WaitLogged(427, HarmY(9), "100th"));
    EXPECT_TRUE(WaitLogged(760, 263, "Page\\nUp"));
    EXPECT_EQ(TextLogSinceMark().find("\n760 323 "), std::string::npos) << "Page Down blank on the last page";

    // The analysis runs with the output on; at 55 Hz it has nothing to show and says so in red. Going
    // local closes a held popup, so the output is switched on by its key.
    Send("FREQ 55");
    Local();
    MarkHere();
    ASSERT_TRUE(Panel("key X"));
    EXPECT_TRUE(WaitLogged(365, 175, "Only AC-INT And \\n50/60Hz Active")) << TextLog();
    EXPECT_TRUE(WaitPixel(241, 161, 0xF800)) << "the red frame";
    EXPECT_TRUE(WaitLogged(235, HarmY(0), "----"));
    Send("FREQ 50");
    EXPECT_TRUE(WaitPixel(241, 161, 0x0000)) << "closed at 50 Hz";

    Send("OUTP OFF");
    Send("MODE 0");
    Local();
    Keys({"key [", "key Y"});
}

}  // namespace
