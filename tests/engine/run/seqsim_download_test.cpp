// Whole-program downloads with read-back, through the simulated power stage.
#include <cstring>

#include "core/system/messaging/msg_ring.h"
#include "tests/engine/seqsim_fixture.h"

namespace {

float StepFloat(uint32_t reg, uint32_t step) {
    const uint32_t w = test::StepWord(reg, step);
    float f;
    std::memcpy(&f, &w, sizeof f);
    return f;
}

class Download : public ::testing::Test {
  protected:
    test::SeqSimEnv env_;
};

TEST_F(Download, MismatchEndsTheDownloadAtItsStep) {
    test::Stage().InjectReadXor(802, 17, 1);
    SeqDownloadAll();
    SeqReportErrors();
    EXPECT_EQ(test::PopupText(), "SEQ Err.(17, 1)");
    bool wroteStep18 = false, wroteL3Of17 = false;
    for (const test::RegWrite& w : test::Writes()) {
        wroteStep18 |= w.reg >= 768 && w.reg <= 803 && w.word == 18;
        wroteL3Of17 |= w.reg == 803 && w.word == 17;
    }
    EXPECT_FALSE(wroteStep18);
    EXPECT_FALSE(wroteL3Of17);
}

// 1P3W is one split phase: every AC step sends L2 at 180 degrees, also one that keeps 90 for 3P4W.
TEST_F(Download, SplitPhaseStepsSendL2Opposite) {
    const uint32_t mode0 = GetOutputMode(), wiring0 = g_PhaseMode;
    for (uint32_t mode : {0u, 1u}) {
        SCOPED_TRACE(mode);
        SetOutputMode(mode);
        g_PhaseMode = 2;
        for (auto& r : g_SeqStepTable[SeqTableIndex(mode, 1)][0])
            r.angleL2 = 900;
        test::ClearTrace();
        SeqDownloadAll();
        EXPECT_EQ(g_SeqSimErrors.seqCount.load(), 0);
        EXPECT_FLOAT_EQ(static_cast<float>(test::WritesTo(799).at(3).value), (3600 - 1800) / 10.0f);
    }
    SetOutputMode(mode0);
    g_PhaseMode = wiring0;
}

TEST_F(Download, SimSlotsCarryTheirOwnCopies) {
    test::EnterSim();
    SeqSimSetCurStep(kSimTrans1);
    ASSERT_EQ(SimSetTime(0), 0);
    g_SimStepTable[0][0][kSimInitial].time = 5000;
    SimDownloadAll();
    EXPECT_EQ(g_SeqSimErrors.simCount.load(), 0);
    EXPECT_TRUE(test::StepWord(768, kSimNormal1) & kStatJump);
    EXPECT_EQ(test::StepWord(787, kSimNormal1), uint32_t{kSimAbnormal});
    EXPECT_EQ(test::StepWord(788, kSimNormal1), 0u);
    EXPECT_EQ(test::StepWord(791, kSimInitial), 1u);
    EXPECT_EQ(test::StepWord(768, kSimNoState) & kStatTermMask, uint32_t{kStatEnd});
    // A wrong read-back of one slot's own copy is found and recorded as that slot.
    test::Stage().InjectReadXor(791, kSimTrans2, 4);
    SimDownloadAll();
    EXPECT_EQ(g_SeqSimErrors.simCount.load(), 1);
    EXPECT_EQ(g_SeqSimErrors.simStep.load(), int32_t{kSimTrans2});
}

// Every register of a downloaded SEQ step holds that step's own value: the step-global words, and each
// phase's words from its own record.
TEST_F(Download, EveryRegisterOfASeqStepHoldsItsValue) {
    constexpr uint32_t kStep = 7;
    SeqStepRecord& g = g_SeqSimBlock[0].seqTable[0][kStep];
    g.time = 4321;
    g.jumpTo = 2;
    g.jumpCnt = 6;
    g.branch1 = 3;
    g.branch2 = 9;
    g.syncCode = 2;
    g.angleL2 = 1100;
    g.angleL3 = 2300;
    g.flags |= kSeqEnJumpto | kSeqEnBranch2 | kTermHold << kSeqTermShift;
    for (int p = 0; p < 3; ++p) {
        SeqStepRecord& r = g_SeqSimBlock[p].seqTable[0][kStep];
        r.acv = static_cast<uint32_t>(10000 + 100 * p);
        r.dcv = -1000 - 100 * p;
        r.fset = static_cast<uint32_t>(6000 + 100 * p);
        r.onPhase = static_cast<uint32_t>(100 + p);
        r.offPhase = static_cast<uint32_t>(200 + p);
        r.duty = static_cast<uint32_t>(300 + 100 * p);
        r.wave = kWaveCodeSqu;
        r.flags = (r.flags & ~0x1FFu) | uint32_t(p) << kSeqAcvTypeShift | kTypeSP << kSeqDcvTypeShift |
                  (p == 1 ? kSeqEnOnPhase : 0u);
    }
    g_SeqSimBlock[0].seqTable[0][999].time = 77;
    SeqSetCurStep(12);
    SeqDownloadAll();
    ASSERT_EQ(g_SeqSimErrors.seqCount.load(), 0);
    EXPECT_EQ(SeqGetAbsStep(), 12) << "the step base back to 0, the selected step kept";
    EXPECT_EQ(test::StepWord(791, 999), 77u);
    EXPECT_EQ(test::StepWord(791, kStep), 4321u);
    EXPECT_EQ(test::StepWord(787, kStep), 2u);
    EXPECT_EQ(test::StepWord(788, kStep), 6u);
    EXPECT_EQ(test::StepWord(789, kStep), 3u);
    EXPECT_EQ(test::StepWord(790, kStep), 9u);
    EXPECT_EQ(test::StepWord(768, kStep), uint32_t{2u | kStatJump | kStatHold | kStatBranch2});
    EXPECT_FLOAT_EQ(StepFloat(799, kStep), (3600 - 1100) / 10.0f);
    EXPECT_FLOAT_EQ(StepFloat(800, kStep), (3600 - 2300) / 10.0f);
    EXPECT_FLOAT_EQ(StepFloat(798, kStep), 0.0f);
    for (uint32_t p = 0; p < 3; ++p) {
        SCOPED_TRACE(p);
        EXPECT_FLOAT_EQ(StepFloat(775 + p, kStep), (10000 + 100 * p) / 100.0f);
        EXPECT_FLOAT_EQ(StepFloat(772 + p, kStep), (-1000 - 100 * static_cast<int>(p)) / 100.0f);
        EXPECT_FLOAT_EQ(StepFloat(778 + p, kStep), (6000 + 100 * p) / 100.0f);
        EXPECT_EQ(test::StepWord(781 + p, kStep), 100 + p);
        EXPECT_EQ(test::StepWord(784 + p, kStep), 200 + p);
        EXPECT_EQ(test::StepWord(801 + p, kStep), (300 + 100 * p) * 4096 / 1000);
        const uint32_t ctrl = test::StepWord(769 + p, kStep);
        EXPECT_EQ(ctrl & (7u << kCtrlAcvShift), (1u << p) << kCtrlAcvShift);
        EXPECT_EQ(ctrl & (7u << kCtrlDcvShift), 4u << kCtrlDcvShift);
        EXPECT_EQ((ctrl & kCtrlWaveMask) >> kCtrlWaveShift, uint32_t{kWaveCodeSqu});
        EXPECT_EQ((ctrl & kCtrlOnFixed) != 0, p == 1);
    }
}

// After a kind or wiring change the first download sends each wiring's default angles over the steps' own,
// and takes them into the steps; the downloads after it send the steps' angles.
TEST_F(Download, DefaultAnglesOfEachWiringOnTheFirstDownloadOnly) {
    const struct {
        uint32_t wiring;
        float l2, l3;  // as sent: (3600 - angle) / 10
    } rows[] = {{1, 360.0f, 360.0f}, {2, 180.0f, 120.0f}, {0, 240.0f, 120.0f}};  // 3P4W's angles stay
    for (const auto& row : rows) {
        SCOPED_TRACE(row.wiring);
        for (auto& r : g_SeqStepTable[SeqTableIndex(0, 1)][0])
            r.angleL2 = 900;
        g_SeqSimBlock[0].seqSaved.wiring = row.wiring;
        g_SeqSimBlock[0].kindChanged = 1;
        test::ClearTrace();
        SeqDownloadAll();
        EXPECT_EQ(g_SeqSimErrors.seqCount.load(), 0);
        EXPECT_EQ(g_SeqSimBlock[0].kindChanged.load(), 0u);
        ASSERT_EQ(test::WritesTo(799).size(), size_t{kSeqSteps});
        EXPECT_FLOAT_EQ(static_cast<float>(test::WritesTo(799)[500].value), row.l2);
        EXPECT_FLOAT_EQ(static_cast<float>(test::WritesTo(800)[500].value), row.l3);
    }
    SeqSetCurStep(3);
    SeqSetBalance_L2(900);
    SeqSetCurStep(0);
    test::ClearTrace();
    SeqDownloadAll();
    EXPECT_EQ(g_SeqSimErrors.seqCount.load(), 0);
    EXPECT_FLOAT_EQ(static_cast<float>(test::WritesTo(799).at(3).value), (3600 - 900) / 10.0f);
    EXPECT_FLOAT_EQ(static_cast<float>(test::WritesTo(799).at(4).value), (3600 - 1200) / 10.0f);
}

// Each read-back check compares its register of the current step with the value the step holds: a match
// gives 0, a mismatch 1, one more error of its engine and the step it was given as the last error step.
TEST_F(Download, EveryReadBackCheckFindsItsMismatch) {
    struct Row {
        const char* what;
        uint16_t reg;
        int (*check)(int32_t step, int phase);
    };
    const Row seq[] = {
        {"status", 768, [](int32_t s, int) { return SeqSimVerifyStatusReg(s, kEngineSeq); }},
        {"control", 769, [](int32_t s, int p) { return SeqSimVerifyPhaseReg(s, p, kEngineSeq); }},
        {"DCV", 772, [](int32_t s, int p) { return SeqSimVerifyDcv(s, p, kEngineSeq); }},
        {"ACV", 775, [](int32_t s, int p) { return SeqSimVerifyAcv(s, p, kEngineSeq); }},
        {"Fset", 778, [](int32_t s, int p) { return SeqSimVerifyFset(s, p, kEngineSeq); }},
        {"ON", 781, [](int32_t s, int p) { return SeqSimVerifyOnPhase(s, p, kEngineSeq); }},
        {"OFF", 784, [](int32_t s, int p) { return SeqSimVerifyOffPhase(s, p, kEngineSeq); }},
        {"Jump To", 787, [](int32_t s, int) { return SeqSimVerifyJumpto(s, kEngineSeq); }},
        {"Jump Cnt", 788, [](int32_t s, int) { return SeqVerifyJumpCnt(s); }},
        {"Branch 1", 789, [](int32_t s, int) { return SeqVerifyBranch1(s); }},
        {"Branch 2", 790, [](int32_t s, int) { return SeqVerifyBranch2(s); }},
        {"time", 791, [](int32_t s, int) { return SeqSimVerifyTime(s, kEngineSeq); }},
        {"798", 798, [](int32_t s, int) { return SeqSimVerifyErrReg(s, kEngineSeq); }},
        {"L2", 799, [](int32_t s, int) { return SeqSimVerifyBalance_L2(s, kEngineSeq); }},
        {"L3", 800, [](int32_t s, int) { return SeqSimVerifyBalance_L3(s, kEngineSeq); }},
        {"duty", 801, [](int32_t s, int p) { return SeqVerifyDuty(s, p); }},
    };
    const Row sim[] = {
        {"status", 768, [](int32_t s, int) { return SeqSimVerifyStatusReg(s, kEngineSim); }},
        {"control", 769, [](int32_t s, int p) { return SeqSimVerifyPhaseReg(s, p, kEngineSim); }},
        {"DCV", 772, [](int32_t s, int p) { return SeqSimVerifyDcv(s, p, kEngineSim); }},
        {"ACV", 775, [](int32_t s, int p) { return SeqSimVerifyAcv(s, p, kEngineSim); }},
        {"frequency", 778, [](int32_t s, int p) { return SeqSimVerifyFset(s, p, kEngineSim); }},
        {"ON", 781, [](int32_t s, int p) { return SeqSimVerifyOnPhase(s, p, kEngineSim); }},
        {"OFF", 784, [](int32_t s, int p) { return SeqSimVerifyOffPhase(s, p, kEngineSim); }},
        {"jump", 787, [](int32_t s, int) { return SimVerifyJumpto(s); }},
        {"time", 791, [](int32_t s, int) { return SeqSimVerifyTime(s, kEngineSim); }},
        {"798", 798, [](int32_t s, int) { return SeqSimVerifyErrReg(s, kEngineSim); }},
        {"L2", 799, [](int32_t s, int) { return SeqSimVerifyBalance_L2(s, kEngineSim); }},
        {"L3", 800, [](int32_t s, int) { return SeqSimVerifyBalance_L3(s, kEngineSim); }},
    };
    auto run = [](const Row* rows, size_t n, uint32_t step, bool simEngine) {
        auto& count = simEngine ? g_SeqSimErrors.simCount : g_SeqSimErrors.seqCount;
        auto& last = simEngine ? g_SeqSimErrors.simStep : g_SeqSimErrors.seqStep;
        auto& other = simEngine ? g_SeqSimErrors.seqCount : g_SeqSimErrors.simCount;
        for (size_t i = 0; i < n; ++i) {
            const Row& row = rows[i];
            const bool perPhase = row.reg == 769 || (row.reg >= 772 && row.reg < 787) || row.reg == 801;
            for (int p = 0; p < (perPhase ? 3 : 1); ++p) {
                SCOPED_TRACE(testing::Message() << row.what << ", phase " << p);
                const auto reg = static_cast<uint16_t>(row.reg + (perPhase ? p : 0));
                count = 0;
                last = 0;
                EXPECT_EQ(row.check(static_cast<int32_t>(step), p), 0);
                test::Stage().InjectReadXor(reg, step, 0x10);
                EXPECT_EQ(row.check(static_cast<int32_t>(step), p), 1);
                EXPECT_EQ(count.load(), 1);
                EXPECT_EQ(last.load(), static_cast<int32_t>(step));
                EXPECT_EQ(other.load(), 0);
                test::Stage().ClearReadXor(reg, step);
                if (perPhase) {
                    EXPECT_EQ(row.check(static_cast<int32_t>(step), 3), 0) << "no phase 3";
                }
            }
        }
        count = 0;
        last = 0;
    };
    g_SeqSimBlock[0].seqTable[0][0].branch2 = 5;
    SeqDownloadAll();
    ASSERT_EQ(g_SeqSimErrors.seqCount.load(), 0);
    run(seq, std::size(seq), 0, false);
    test::EnterSim();
    SimDownloadAll();
    ASSERT_EQ(g_SeqSimErrors.simCount.load(), 0);
    SeqSimSetCurStep(kSimAbnormal);
    run(sim, std::size(sim), kSimAbnormal, true);
    // The repeat checks read the "Normal 2" copy whatever the current state.
    using Check = int (*)(int32_t);
    for (const auto& [reg, check] : {std::pair<uint16_t, Check>{788, SimVerifyRepeat}, std::pair<uint16_t, Check>{768, SimVerifyEnRepeat}}) {
        EXPECT_EQ(check(3), 0) << reg;
        test::Stage().InjectReadXor(reg, kSimNormal2, 0x100);
        EXPECT_EQ(check(3), 1) << reg;
        EXPECT_EQ(g_SeqSimErrors.simStep.load(), 3) << reg;
        test::Stage().ClearReadXor(reg, kSimNormal2);
    }
    EXPECT_EQ(g_SeqSimErrors.simCount.load(), 2);
    EXPECT_EQ(g_SeqSimErrors.seqCount.load(), 0);
}

// The reports show the last error step and the count, and nothing while both are 0; the check hooks go to
// their own engine's routine.
TEST_F(Download, ReportsAndCheckHooksByEngine) {
    const struct {
        void (*report)();
        std::atomic<int32_t>&count, &step;
        const char* text;
    } rows[] = {{SeqReportErrors, g_SeqSimErrors.seqCount, g_SeqSimErrors.seqStep, "SEQ Err.(12, 3)"},
                {SimReportErrors, g_SeqSimErrors.simCount, g_SeqSimErrors.simStep, "SIM Err.(4, 1)"}};
    for (const auto& row : rows) {
        g_MsgFreeText[0] = '\0';
        row.count = 0;
        row.step = 0;
        row.report();
        EXPECT_EQ(test::PopupText(), "");
        row.count = row.text[0] == 'S' && row.text[1] == 'E' ? 3 : 1;
        row.step = row.text[1] == 'E' ? 12 : 4;
        row.report();
        EXPECT_EQ(test::PopupText(), row.text);
    }
    static int seqCalls, simCalls, lastMismatch;
    seqCalls = simCalls = 0;
    SeqSimSetCheckHooks({.seq = [](int m) { ++seqCalls, lastMismatch = m; },
                         .sim = [](int m) { ++simCalls, lastMismatch = m; }});
    SeqSimCheck(kEngineSim, 1);
    EXPECT_EQ(simCalls, 1);
    EXPECT_EQ(seqCalls, 0);
    EXPECT_EQ(lastMismatch, 1);
    SeqSimCheck(kEngineSeq, 0);
    EXPECT_EQ(seqCalls, 1);
    EXPECT_EQ(lastMismatch, 0);
}

// Every register of each downloaded SIM slot: the state's time (1 for "Initial" and the end), ACV,
// frequency and angles per phase, DCV 0, its status word, its jump target, the wiring's fixed angles.
TEST_F(Download, EveryRegisterOfEachSimSlot) {
    test::EnterSim();
    for (uint32_t s = 0; s < kSimNoState; ++s) {
        engine::SimRecAt(s, 0).time = 1000 + s;
        engine::SimRecAt(s, 0).syncCode = s % 4;
        for (uint32_t p = 0; p < 3; ++p) {
            SimStepRecord& r = engine::SimRecAt(s, static_cast<int>(p));
            r.acv = 10000 + 100 * s + p;
            r.freq = 5000 + 100 * s + p;
            r.onPhase = 10 * s + p;
            r.offPhase = 20 * s + p;
        }
    }
    engine::SimRecAt(kSimNormal2, 0).flags |= kSimEnRepeat;
    engine::SimRecAt(kSimNormal2, 0).repeat = 42;
    SimDownloadAll();
    ASSERT_EQ(g_SeqSimErrors.simCount.load(), 0);
    const uint32_t jumps[kSimSlots] = {0, 3, 0, 5, 0, 1, 0};
    for (uint32_t s = 0; s < kSimSlots; ++s) {
        SCOPED_TRACE(s);
        const uint32_t rec = s == kSimNoState ? kSimInitial : s;
        EXPECT_EQ(test::StepWord(791, s), s == kSimInitial || s == kSimNoState ? 1u : 1000 + s);
        EXPECT_EQ(test::StepWord(787, s), jumps[s]);
        const uint32_t status = (s == kSimNoState ? 0u : s % 4) | (s == kSimNormal2 ? uint32_t{kStatJump} : 0u) |
                                (s == kSimNoState ? uint32_t{kStatEnd} : uint32_t{kStatConti});
        EXPECT_EQ(test::StepWord(768, s), status);
        EXPECT_FLOAT_EQ(StepFloat(799, s), (3600 - 1200) / 10.0f);
        EXPECT_FLOAT_EQ(StepFloat(800, s), (3600 - 2400) / 10.0f);
        for (uint32_t p = 0; p < 3; ++p) {
            EXPECT_FLOAT_EQ(StepFloat(775 + p, s), (10000 + 100 * rec + p) / 100.0f) << p;
            EXPECT_FLOAT_EQ(StepFloat(772 + p, s), 0.0f) << p;
            EXPECT_EQ(test::StepWord(769 + p, s), SimCtrlWord(s, static_cast<int>(p))) << p;
            if (s == kSimNoState) continue;
            EXPECT_FLOAT_EQ(StepFloat(778 + p, s), (5000 + 100 * s + p) / 100.0f) << p;
            EXPECT_EQ(test::StepWord(781 + p, s), 10 * s + p) << p;
            EXPECT_EQ(test::StepWord(784 + p, s), 20 * s + p) << p;
        }
    }
    EXPECT_EQ(test::StepWord(788, kSimNormal2), 42u);
    EXPECT_EQ(test::StepWord(768, kSimNormal2) & kStatJump, uint32_t{kStatJump});
    EXPECT_EQ(test::StepWord(788, kSimNormal1), 0u);
    EXPECT_EQ(test::StepWord(788, kSimAbnormal), 0u);
    EXPECT_EQ(SeqSimGetCurStep(), 0u);
}

}  // namespace
