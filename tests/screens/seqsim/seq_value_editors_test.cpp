// The AC voltage, DC voltage and frequency editors of a SEQUENCE step, driven with key events: the values
// the step keeps, the messages posted, the registers checked after a write.
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "drivers/panel_link.h"
#include "engine/seq/seq_access.h"
#include "engine/seq/seq_limits.h"
#include "engine/seq/seq_setters.h"
#include "engine/seqsim/seqsim_data.h"
#include "screens/seqsim/seqedit/seq_edit_band.h"
#include "screens/seqsim/seqedit/seq_edit_values.h"
#include "tests/screens/seqsim/seq_edit_fixture.h"

namespace {
using namespace seqedit;

template <int P>
void Dcv(uint32_t* ev) {
    SeqEdit_ValueKey(kSeqDcvRow, P, Back, ev);
}
template <int P>
void Acv(uint32_t* ev) {
    SeqEdit_ValueKey(kSeqAcvRow, P, Back, ev);
}
template <int P>
void Fset(uint32_t* ev) {
    SeqEdit_ValueKey(kSeqFsetRow, P, Back, ev);
}

using SeqValueEditors = SeqEditTest;

TEST_F(SeqValueEditors, DcvCursorFollowsTheDisplayBands) {
    Open(9999);
    g_EditParam.cursor = 2;
    Turn(Dcv<0>, 1);
    EXPECT_EQ(Working(), 10090) << "100.99 V shows one decimal: the hundredths go";
    EXPECT_EQ(g_EditParam.cursor, 1u) << "still the 1 V digit, now stepped x10";
    Turn(Dcv<0>, -1);
    EXPECT_EQ(Working(), 9990);
    EXPECT_EQ(g_EditParam.cursor, 2u);
    Open(9999);
    Turn(Dcv<0>, 1);
    EXPECT_EQ(Working(), 10000);
    EXPECT_EQ(g_EditParam.cursor, 0u) << "cursor 0 cannot move down";
    for (int i = 0; i < 4; ++i)
        Press(Dcv<0>, kClassCursor, kKeyLeft);
    EXPECT_EQ(g_EditParam.cursor, 0u) << "four positions in the one-decimal band";
    Open(500);
    Press(Dcv<0>, kClassCursor, kKeyRight);
    EXPECT_EQ(g_EditParam.cursor, 4u) << "five positions in the two-decimal band, wrapping";
    EXPECT_EQ(SeqGetDcv(0), 0) << "nothing written before the enter key";
}

TEST_F(SeqValueEditors, FsetCursorKeepsItsDecadeAndEveryDigit) {
    Open(99999);
    g_EditParam.cursor = 2;
    Turn(Fset<0>, 1);
    EXPECT_EQ(Working(), 100099) << "no digit dropped above 999.99 Hz";
    EXPECT_EQ(g_EditParam.cursor, 1u) << "still the 1 Hz digit, now stepped x10";
    Turn(Fset<0>, 1);
    EXPECT_EQ(Working(), 100199);
    EXPECT_EQ(g_EditParam.cursor, 1u) << "moved once only";
    Turn(Fset<0>, -2);
    EXPECT_EQ(Working(), 99999);
    EXPECT_EQ(g_EditParam.cursor, 2u);
    Open(5000);
    Press(Fset<0>, kClassSoft, kKeySoft3);
    EXPECT_EQ(Working(), SeqGetFsetMax() / 10 * 10) << "soft key 3 runs the band rule with its truncation";
}

TEST_F(SeqValueEditors, KnobStopsAtTheLimitWithItsMessage) {
    const int32_t max = SeqGetDcvRangeMax(0);
    Open(max);
    Turn(Dcv<0>, 1);
    EXPECT_EQ(Working(), max);
    EXPECT_EQ(Posted(), std::vector<std::string>{"18"});
    Open(SeqGetFsetMax());
    Turn(Fset<0>, 3);
    EXPECT_EQ(Posted(), std::vector<std::string>{"25"});
    Open(100000);
    Turn(Fset<0>, 1);
    EXPECT_EQ(Working(), 100010) << "1000.00 Hz steps by 0.1 Hz at cursor 0";
    EXPECT_TRUE(Posted().empty());
}

TEST_F(SeqValueEditors, TypedNumbersAreRoundedWithTheFloatConstant) {
    struct Case {
        void (*handler)(uint32_t*);
        const char* typed;
        int32_t (*stored)(int);
        int32_t want;
    } cases[] = {
        {Dcv<0>, "-12.347", SeqGetDcv, -1235},
        {Acv<0>, "12.347", SeqGetAcv, 1235},
        {Fset<0>, "1234.567", SeqGetFset, 123457},
    };
    for (const Case& c : cases) {
        Open(0);
        Type(c.typed);
        Press(c.handler, kClassKeypad, kKeyEnter);
        EXPECT_EQ(c.stored(0), c.want) << c.typed;
        EXPECT_TRUE(Posted().empty()) << c.typed;
    }
    EXPECT_EQ(g_backs, 3);
    EXPECT_EQ(g_backPhase, 0);
}

TEST_F(SeqValueEditors, RefusedAndOversizedNumbersKeepTheStep) {
    const std::string aboveMax = std::to_string(SeqGetDcvRangeMax(1) / 100 + 1);
    const struct {
        void (*key)(uint32_t*);
        int32_t (*get)(int);
        int phase;
        int32_t kept;
        std::string typed;
        const char* message;
    } cases[] = {{Dcv<1>, SeqGetDcv, 1, SeqGetDcv(1), aboveMax, "18"},
                 {Dcv<1>, SeqGetDcv, 1, SeqGetDcv(1), "999999999", "18"},
                 {Dcv<1>, SeqGetDcv, 1, SeqGetDcv(1), "-99999999", "18"},
                 {Fset<2>, SeqGetFset, 2, 5000, "0.5", "25"},  // below 1.00 Hz, refused by the step
                 {Fset<2>, SeqGetFset, 2, 5000, "99999999", "25"}};
    for (const auto& c : cases) {
        Open(c.kept);
        Type(c.typed.c_str());
        Press(c.key, kClassKeypad, kKeyEnter);
        EXPECT_EQ(c.get(c.phase), c.kept) << c.typed;
        EXPECT_EQ(Posted(), std::vector<std::string>{c.message}) << c.typed;
        FreshRing();
    }
    EXPECT_EQ(g_backPhase, 2);
}

TEST_F(SeqValueEditors, ExitAndSeqKeysCancelDigitsFirstAndWriteNothing) {
    Open(1500);
    Type("7");
    Press(Acv<0>, kClassKeypad, kKeyExit);
    EXPECT_EQ(g_EditBuf.entryState, 0u);
    EXPECT_EQ(g_backs, 0) << "the digits go, the editor stays";
    Turn(Acv<0>, 5);
    Press(Acv<0>, kClassFunction, kKeySeq);
    EXPECT_EQ(g_backs, 1);
    EXPECT_EQ(SeqGetAcv(0), 0);
    EXPECT_TRUE(test::Writes().empty()) << "nothing reaches the stage";
}

TEST_F(SeqValueEditors, MaxMinAndDefSoftKeys) {
    Open(500);
    Press(Dcv<0>, kClassSoft, kKeySoft3);
    EXPECT_EQ(Working(), SeqGetDcvRangeMax(0) / 10 * 10);
    EXPECT_EQ(g_EditBuf.startChoiceValue, uint32_t(SeqGetDcvRangeMax(0)))
        << "the reference keeps every digit";
    Press(Dcv<0>, kClassSoft, kKeySoft4);
    EXPECT_EQ(Working(), SeqGetDcvRangeMin(0) / 10 * 10);

    ParamRec rec = test::Read(kParamDcv, 0);
    rec.def2 = SeqGetDcvRangeMax(0) + 1;
    paramPutRecord(kParamDcv, &rec, 0);
    Open(500);
    Press(Dcv<0>, kClassSoft, kKeySoft2);
    EXPECT_EQ(Posted(), std::vector<std::string>{"18"});
    EXPECT_EQ(Working(), 500) << "a DEF outside the step's limits is not taken";

    Open(500);
    Press(Dcv<0>, kClassSoft, 194);
    EXPECT_EQ(Posted(), std::vector<std::string>{"Saved to DEF1"});
    Open(0);
    Press(Dcv<2>, kClassSoft, kKeySoft1);
    EXPECT_EQ(Working(), 500) << "the L3 editor recalls what L1 stored";

    rec = test::Read(kParamFreq, 0);
    rec.def1 = SeqGetFsetMax() + 100;
    paramPutRecord(kParamFreq, &rec, 0);
    Open(5000);
    Press(Fset<0>, kClassSoft, kKeySoft1);
    EXPECT_EQ(Posted(), std::vector<std::string>{"25"});
    EXPECT_EQ(Working(), 5000);
}

TEST_F(SeqValueEditors, TypedNumberWinsOverARecalledDef) {
    ParamRec rec = test::Read(kParamAcv, 0);
    rec.def1 = 2000;
    paramPutRecord(kParamAcv, &rec, 0);
    Open(0);
    Type("55.5");
    Press(Acv<0>, kClassSoft, kKeySoft1);
    EXPECT_EQ(Working(), 2000);
    Press(Acv<0>, kClassKeypad, kKeyEnter);
    EXPECT_EQ(SeqGetAcv(0), 5550);
}

TEST_F(SeqValueEditors, L1In1P3WAlsoWritesL2) {
    SetPhaseMode(2);
    Open(0);
    Type("12.5");
    Press(Dcv<0>, kClassKeypad, kKeyEnter);
    EXPECT_EQ(SeqGetDcv(0), 1250);
    EXPECT_EQ(SeqGetDcv(1), -1250) << "L2 carries the opposite sign";
    Open(0);
    Turn(Dcv<0>, 3);
    Press(Dcv<0>, kClassKeypad, kKeyEnter);
    EXPECT_EQ(SeqGetDcv(1), -3) << "also for a value set by the knob";
    Open(0);
    Type("30");
    Press(Acv<0>, kClassKeypad, kKeyEnter);
    EXPECT_EQ(SeqGetAcv(1), 3000);
    Open(0);
    Type("7");
    Press(Dcv<1>, kClassKeypad, kKeyEnter);
    EXPECT_EQ(SeqGetDcv(0), 3) << "the L2 editor writes L2 alone";
}

}  // namespace
