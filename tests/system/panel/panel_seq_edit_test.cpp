// The running controller's SEQUENCE value editors from the panel: the knob over the step's fields, the
// keypad, soft keys and their long presses; the step read back with the SEQuence queries.
#include <vector>

#include "tests/system/panel/fb_png.h"
#include "tests/system/panel/front_panel_suite.h"

namespace {

using namespace testsupport;

constexpr const char* kNoError = "+0,\"No error\"";

class PanelSeqEdit : public FrontPanelSuite {
  protected:
    // A command, then the error queue's answer, so that it is known done before the next key.
    static std::string Command(const std::string& m) {
        Send(m);
        return Query("SYST:ERR?");
    }
    static bool Popup(const std::string& text) { return WaitLogged(365, 190, text); }
    // SEQ from the panel, back once its preparation is done.
    static void EnterSequence() {
        const size_t ready = Count("popup: Sequence is ready.\n");
        ASSERT_TRUE(Panel("key M"));
        ASSERT_TRUE(Shown("Sequence is ready.", ready + 1, 30000)) << c().Output();
    }
    static void Knob(int times) {
        for (int i = 0; i < times; ++i)
            ASSERT_TRUE(Panel("knob 1"));
    }
};

// '@', 'A'-'I' are the keypad's 0-9, 'J' its point. At step 0 in 3P4W AC+DC the knob visits the step
// index, Time, Sync Code, then ACV and its mode of L1-L3, DCV and mode, Fset and mode, Wave (and Duty).
TEST_F(PanelSeqEdit, VoltageFrequencyWaveAndDuty) {
    EnterSequence();
    ASSERT_TRUE(Sync());

    // ACV L1 typed 12.345: the float rounding constant keeps it at 12.34 V.
    Knob(3);
    Keys({"key U", "key A", "key B", "key J", "key C", "key D", "key E", "key U"});
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Field(Query("SEQ:SPAR?"), 0), "+12.34");
    // The editor with its cursor moved to the 10 V digit (the popups have closed by the picture).
    Keys({"key U", "key W", "key W"});
    ASSERT_TRUE(Sync());
    EXPECT_EQ(ScreenMatchesGolden(c().root(), c().workDir(), "seqedit_acv_cursor", 20000), "");
    // The maximum, then the knob can go no further.
    Keys({"key ["});
    Mark();
    ASSERT_TRUE(Panel("knob 1"));
    EXPECT_TRUE(Popup("Setting Voltage Limited")) << TextLog();
    Keys({"key T"});
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Field(Query("SEQ:SPAR?"), 0), "+12.34") << "exit writes nothing";

    // ACV mode L1 on step 0: the knob gives SWEEP.
    Knob(1);
    Keys({"key U", "key Z", "knob 1", "key U"});
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Field(Query("SEQ:SPAR?"), 1), "SWEEP");

    // DCV L1: 5 typed and stored as DEF1 by a long press; the DCV editor of L2 recalls it.
    Knob(5);
    Keys({"key U", "key E", "hold Y"});
    ASSERT_TRUE(c().WaitForOutput("popup: Saved to DEF1")) << c().Output();
    Keys({"key T"});
    Knob(2);
    Keys({"key U", "key Y", "key U"});
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Field(Query("SEQ:INST:SEL L2;:SEQ:SPAR?"), 2), "+5.00");
    EXPECT_EQ(Field(Query("SEQ:INST:SEL L1;:SEQ:SPAR?"), 2), "+0.00") << "only typed, never written on L1";

    // Fset L1: 600 Hz, then 1234.567 Hz written as 1234.57 Hz.
    Knob(4);
    Keys({"key U", "key F", "key @", "key @", "key U"});
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Field(Query("SEQ:SPAR?"), 4), "+600.00");
    Keys({"key U", "key A", "key B", "key C", "key D", "key J", "key E", "key F", "key G", "key U"});
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Field(Query("SEQ:SPAR?"), 4), "+1234.57");

    // Wave L1 SIN -> SQU; its duty above 999.99 Hz in whole 10 %.
    Knob(6);
    Keys({"key U", "knob 1", "key U"});
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Field(Query("SEQ:SPAR?"), 6), "SQU");
    Knob(1);
    Keys({"key U", "key C", "key C", "key J", "key C", "key U"});
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Field(Query("SEQ:NSP?"), 7), "+30.0");
    Keys({"key U", "key I", "key E"});
    Mark();
    ASSERT_TRUE(Panel("key U"));
    EXPECT_TRUE(Popup("Setting Duty Limited")) << TextLog();
    // The SEQ key in an editor leaves it with nothing written.
    Keys({"key U", "knob 3", "key M"});
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Field(Query("SEQ:NSP?"), 7), "+30.0");
    EXPECT_EQ(Query("SYST:CONF:MODE CONT;:SYST:CONF?"), "CONT");
}

// A cleared SEQ7 holds its template: step 40 steps back down to 0.00 V for 1.0000 s, step 42 ends it.
TEST_F(PanelSeqEdit, ClearedMemoryHoldsItsTemplate) {
    EnterSequence();
    EXPECT_EQ(Command("DATA:SEQ:CLE 7"), kNoError);
    EXPECT_EQ(Query("SEQ:STEP 40;:SEQ:SPAR?"), "+0.00,CONST,+0.00,CONST,+50.00,CONST,SIN,+0.0");
    EXPECT_EQ(Field(Query("SEQ:CPAR?"), 0), "+1.0000");
    EXPECT_EQ(Field(Query("SEQ:STEP 41;:SEQ:SPAR?"), 2), "+12.00");
    EXPECT_EQ(Field(Query("SEQ:STEP 42;:SEQ:CPAR?"), 5), "END");
    EXPECT_EQ(Query("SYST:CONF:MODE CONT;:SYST:CONF?"), "CONT");
}

// A cleared SEQ8 recalled from the list runs on the simulated stage: steps 0-6, Jump To step 1 while its
// count runs down, and the "END" of step 7.
TEST_F(PanelSeqEdit, ClearedSeq8RunsItsJumpsToItsEnd) {
    EnterSequence();
    EXPECT_EQ(Command("DATA:SEQ:CLE 8"), kNoError);
    ASSERT_TRUE(Sync());
    const size_t ready = Count("popup: Sequence is ready.\n");
    Keys({"key Z", "knob -8", "key U"});
    ASSERT_TRUE(c().WaitForOutput("popup: Recalled from SEQ8", 10000)) << c().Output();
    // The recall prepares the memory again, and its download selects step 0: a step chosen before then
    // would not stay chosen.
    ASSERT_TRUE(Shown("Sequence is ready.", ready + 1, 30000)) << c().Output();
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Field(Query("SEQ:STEP 6;:SEQ:CPAR?"), 8), "+10") << "the template's jump count";
    EXPECT_EQ(Command("SEQ:STEP 0"), kNoError);
    Keys({"key X", "key 92"});
    std::vector<std::string> counts;
    bool jumpedBack = false, ended = false;
    std::string last;
    for (int waited = 0; waited < 25000 && !ended; waited += 100) {
        const std::string reply = Query("SEQ:CJUM:CNT?");
        const std::string step = Field(reply, 0), count = Field(reply, 1);
        if (last == "+6" && step == "+1") jumpedBack = true;
        if (counts.empty() || counts.back() != count) counts.push_back(count);
        ended = step == "+7" && Query("SEQ:COND?") == "+0";
        last = step;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(ended) << last;
    EXPECT_TRUE(jumpedBack);
    EXPECT_GE(counts.size(), 3u) << "the jump count runs down";
    EXPECT_EQ(Command("OUTP 0"), kNoError);
    EXPECT_EQ(Query("SYST:CONF:MODE CONT;:SYST:CONF?"), "CONT");
}

}  // namespace
