// The SEQ field accessors on the simulated power stage: limits, re-rounding, the step-0 rule, the mended
// setters and the memory names with their file.
#include <cstring>

#include "engine/seq/seq_internal.h"
#include "engine/seqsim/seqsim_names.h"
#include "engine/seqsim/seqsim_names_file.h"
#include "storage/byte_order.h"
#include "tests/engine/seqsim_fixture.h"

namespace {

class SeqFields : public ::testing::Test {
  protected:
    test::SeqSimEnv env_;
};

// Every numeric SEQ field at its last accepted value and one past it, on each phase of a step (AC+DC, 200V,
// model frequency maximum 2000.00 Hz): an accepted value is returned, stored and sent to the field's register
// at the step; a refused one keeps the value before, sends nothing and answers with that value (the time with
// 0). A phase outside L1-L3 gives 0 and writes nothing.
TEST_F(SeqFields, EveryFieldAtItsBounds) {
    using Bound = int32_t (*)(int);
    struct Row {
        const char* what;
        int32_t (*set)(int32_t, int);
        int32_t (*get)(int);
        uint16_t reg;  // + phase for a per-phase field
        bool perPhase;
        Bound lo, hi;
        bool resends;  // a refused value re-sends the value before (the frequency, whose change re-rounds)
    };
#define BOUND(v) [](int) { return int32_t{v}; }
    const Row rows[] = {
        {"time", [](int32_t v, int) { return SeqSetTime(v); }, [](int) { return SeqGetTime(); }, 791, false,
         BOUND(1), BOUND(99999999), false},
        {"Jump To", [](int32_t v, int) { return SeqSetJumpto(v); }, [](int) { return SeqGetJumpto(); }, 787, false,
         BOUND(0), BOUND(999), false},
        {"Jump Cnt", [](int32_t v, int) { return SeqSetJumpCnt(v); }, [](int) { return SeqGetJumpCnt(); }, 788,
         false, BOUND(0), BOUND(9999), false},
        {"Branch 1", [](int32_t v, int) { return SeqSetBranch1(v); }, [](int) { return SeqGetBranch1(); }, 789,
         false, BOUND(0), BOUND(999), false},
        {"Branch 2", [](int32_t v, int) { return SeqSetBranch2(v); }, [](int) { return SeqGetBranch2(); }, 790,
         false, BOUND(0), BOUND(999), false},
        {"L2 angle", [](int32_t v, int) { return SeqSetBalance_L2(v); }, [](int) { return SeqGetBalance_L2(); },
         799, false, BOUND(0), BOUND(3599), false},
        {"L3 angle", [](int32_t v, int) { return SeqSetBalance_L3(v); }, [](int) { return SeqGetBalance_L3(); },
         800, false, BOUND(0), BOUND(3599), false},
        {"Fset", SeqSetFset, SeqGetFset, 778, true, BOUND(100), BOUND(200000), true},
        {"duty", [](int32_t v, int p) { return SeqSetDuty(v, p, 999, 1); }, SeqGetDuty, 801, true, BOUND(1),
         BOUND(999), false},
        {"ON phase", SeqSetOnPhase, SeqGetOnPhase, 781, true, BOUND(0), BOUND(3599), false},
        {"OFF phase", SeqSetOffPhase, SeqGetOffPhase, 784, true, BOUND(0), BOUND(3599), false},
        // The voltages' limits come from the output limit calculator at the step's other voltage.
        {"DCV", SeqSetDcv, SeqGetDcv, 772, true, SeqGetDcvRangeMin, SeqGetDcvRangeMax, false},
        {"ACV", SeqSetAcv, SeqGetAcv, 775, true, SeqGetAcvRangeMin, SeqGetAcvRangeMax, false},
    };
#undef BOUND
    constexpr int kStep = 3;
    SeqSetCurStep(kStep);
    for (const Row& row : rows) {
        for (int p = 0; p < (row.perPhase ? 3 : 1); ++p) {
            SCOPED_TRACE(testing::Message() << row.what << ", phase " << p);
            const auto reg = static_cast<uint16_t>(row.reg + (row.perPhase ? p : 0));
            const int32_t lo = row.lo(p), hi = row.hi(p);
            ASSERT_LT(lo, hi);
            for (const int32_t v : {lo, hi}) {
                test::ClearTrace();
                EXPECT_EQ(row.set(v, p), v);
                EXPECT_EQ(row.get(p), v);
                ASSERT_EQ(test::WritesTo(reg).size(), 1u) << v;
                EXPECT_EQ(test::WritesTo(reg)[0].word, uint32_t{kStep});
            }
            const test::RegWrite sent = test::WritesTo(reg)[0];
            for (const int32_t v : {lo - 1, hi + 1}) {
                test::ClearTrace();
                EXPECT_EQ(row.set(v, p), row.reg == 791 ? 0 : hi) << v;
                EXPECT_EQ(row.get(p), hi) << v;
                if (row.resends) {
                    ASSERT_EQ(test::WritesTo(reg).size(), 1u) << v;
                    EXPECT_EQ(test::WritesTo(reg)[0].raw, sent.raw) << v;
                } else {
                    EXPECT_TRUE(test::WritesTo(reg).empty()) << v;
                }
            }
            if (!row.perPhase) continue;
            test::ClearTrace();
            for (const int bad : {-1, 3}) {
                EXPECT_EQ(row.set(lo, bad), 0) << bad;
                EXPECT_EQ(SeqGetAcv(bad) + SeqGetDcv(bad) + SeqGetFset(bad) + SeqGetOnPhase(bad), 0) << bad;
            }
            EXPECT_TRUE(test::Writes().empty());
        }
        // Leave the step as the next row expects it.
        for (int p = 0; p < 3; ++p) {
            SeqSetFset(5000, p);
            SeqSetAcv(1000, p);
            SeqSetDcv(0, p);
        }
    }
    // Step 0 takes no jump, count or branch target.
    SeqSetCurStep(0);
    const SeqStepRecord before = g_SeqSimBlock[0].seqTable[0][0];
    test::ClearTrace();
    for (auto set : {SeqSetJumpto, SeqSetJumpCnt, SeqSetBranch1, SeqSetBranch2})
        EXPECT_EQ(set(5), 0);
    EXPECT_EQ(SeqSetTerm(kTermEnd), 0u);
    EXPECT_EQ(std::memcmp(&before, &g_SeqSimBlock[0].seqTable[0][0], sizeof before), 0);
    EXPECT_TRUE(test::Writes().empty());
}

// The type, waveform and enable fields of a phase go into its control word (register 769 + phase): each
// type one-hot in its three bits, the waveform in bits 6-14, the ON/OFF "Fixed" in bits 18/19.
TEST_F(SeqFields, ControlWordFieldsOfEachPhase) {
    struct Row {
        const char* what;
        uint32_t (*set)(int32_t, int);
        int32_t (*get)(int);
        uint32_t shift, width;  // the field's bits in the control word
        int32_t max;
        bool oneHot;
    };
    const Row rows[] = {
        {"ACV type", SeqSetAcvMode, SeqGetAcvMode, kCtrlAcvShift, 3, 2, true},
        {"DCV type", SeqSetDcvMode, SeqGetDcvMode, kCtrlDcvShift, 3, 2, true},
        {"Fset type", SeqSetFsetMode, SeqGetFsetMode, kCtrlFsetShift, 3, 2, true},
        {"ON Fixed", SeqSetEnOnPhase, SeqGetEnOnPhase, 18, 1, 1, false},
        {"OFF Fixed", SeqSetEnOffPhase, SeqGetEnOffPhase, 19, 1, 1, false},
        {"wave", [](int32_t v, int p) { return static_cast<uint32_t>(SeqSetWave(v, p, 0)) << kCtrlWaveShift; },
         SeqGetWave, kCtrlWaveShift, 9, 256, false},
    };
    SeqSetCurStep(4);
    for (const Row& row : rows) {
        for (int p = 0; p < 3; ++p) {
            SCOPED_TRACE(testing::Message() << row.what << ", phase " << p);
            const uint32_t mask = ((1u << row.width) - 1) << row.shift;
            const int32_t first = row.max == 256 ? 1 : 0;
            for (int32_t v = first; v <= row.max; v += row.max == 256 ? 85 : 1) {
                const uint32_t others = g_SeqSimOutCtrl[p] & ~mask;
                row.set(v, p);
                EXPECT_EQ(row.get(p), v);
                const uint32_t bits = row.oneHot ? 1u << v : static_cast<uint32_t>(v);
                EXPECT_EQ(g_SeqSimOutCtrl[p] & mask, bits << row.shift) << v;
                EXPECT_EQ(g_SeqSimOutCtrl[p] & ~mask, others) << "the other fields stay";
            }
            row.set(row.max + 1, p);
            EXPECT_EQ(row.get(p), row.max) << "one past the last code is refused";
            row.set(first - 1, p);
            EXPECT_EQ(row.get(p), row.max) << "one below the first code is refused";
            for (int q = 0; q < 3; ++q) {
                if (q == p) continue;
                EXPECT_EQ(row.get(q), row.oneHot || row.max == 1 ? 0 : kWaveCodeSin) << "phase " << q;
            }
            row.set(row.max == 256 ? kWaveCodeSin : 0, p);
        }
        test::ClearTrace();
        EXPECT_EQ(row.set(1, 3), 0u) << "no phase 3";
        EXPECT_EQ(row.set(1, -1), 0u) << "no phase -1";
        EXPECT_TRUE(test::Writes().empty());
    }
    // The waveform setter marks the screen for a refresh only when asked; applying a step does not.
    SeqSimClearDirty();
    SeqSetWave(kWaveCodeTri, 1, 0);
    EXPECT_EQ(SeqSimIsDirty(), 0);
    SeqApplyStep(1);
    EXPECT_EQ(SeqSimIsDirty(), 0);
    SeqSetWave(kWaveCodeSqu, 1, 1);
    EXPECT_EQ(SeqSimIsDirty(), 1);
    SeqSetWave(kWaveCodeSin, 1, 0);
    // Applying the step sends the phase's control word to its register.
    for (int p = 0; p < 3; ++p) {
        SeqSetAcvMode(kTypeSP, p);
        test::ClearTrace();
        SeqApplyStep(p);
        EXPECT_EQ(test::OnlyWriteTo(static_cast<uint16_t>(769 + p)).raw, g_SeqSimOutCtrl[p]) << p;
        EXPECT_EQ(g_SeqSimOutCtrl[p] & (7u << kCtrlAcvShift), 4u << kCtrlAcvShift) << p;
    }
    // A "KP" type is stored at step 0 but not taken into the live modes there.
    SeqSetCurStep(0);
    SeqSetAcvMode(kTypeSP, 0);
    SeqSetAcvMode(kTypeKP, 0);
    EXPECT_EQ(SeqGetAcvMode(0), int32_t{kTypeKP});
    EXPECT_EQ(g_SeqSimOutCtrl[0] & (7u << kCtrlAcvShift), 4u << kCtrlAcvShift) << "still SP";
}

// The status register 768 of a step: sync code bits 0-1, Jump To enable bit 2, one of CONTI 3, HOLD 4,
// END 5, Branch enables bits 6 and 7; each setter writes the whole word.
TEST_F(SeqFields, StatusWordFieldsOfAStep) {
    SeqSetCurStep(6);
    auto status = [] { return test::StepWord(768, 6); };
    for (int32_t code = 0; code <= 3; ++code) {
        SeqSetSyncCode(code);
        EXPECT_EQ(SeqGetSyncCode(), code);
        EXPECT_EQ(status() & 3u, static_cast<uint32_t>(code));
    }
    SeqSetSyncCode(4);
    EXPECT_EQ(SeqGetSyncCode(), 3) << "4 refused";
    EXPECT_EQ(SeqSetSyncCodeVal(1, 0), 1);
    EXPECT_EQ(status() & 3u, 1u);
    const struct {
        int32_t term;
        uint32_t bit;
    } terms[] = {{kTermEnd, kStatEnd}, {kTermHold, kStatHold}, {kTermConti, kStatConti}};
    for (const auto& t : terms) {
        EXPECT_EQ(SeqSetTerm(t.term) & kStatTermMask, t.bit) << t.term;
        EXPECT_EQ(SeqGetTerm(), t.term);
        EXPECT_EQ(status() & kStatTermMask, t.bit) << t.term;
    }
    SeqSetTerm(3);
    EXPECT_EQ(SeqGetTerm(), int32_t{kTermConti}) << "3 refused";
    const struct {
        const char* what;
        int32_t (*set)(int32_t);
        int32_t (*get)();
        uint32_t bit;
    } enables[] = {
        {"Jump To", [](int32_t v) { return static_cast<int32_t>(SeqSetEnJumpto(v)); }, SeqGetEnJumpto, kStatJump},
        {"Branch 1", [](int32_t v) { return static_cast<int32_t>(SeqSetEnBranch1(v)); }, SeqGetEnBranch1, kStatBranch1},
        {"Branch 2", [](int32_t v) { return static_cast<int32_t>(SeqSetEnBranch2(v)); }, SeqGetEnBranch2, kStatBranch2},
    };
    for (const auto& e : enables) {
        SCOPED_TRACE(e.what);
        for (const int32_t v : {1, 2, 0, -1}) {
            e.set(v);
            const int32_t kept = v == 1 || v == 2 ? 1 : 0;
            EXPECT_EQ(e.get(), kept) << v;
            EXPECT_EQ((status() & e.bit) != 0, kept == 1) << v;
        }
    }
    EXPECT_EQ(status(), uint32_t{1u | kStatConti}) << "every other bit as set above";
    // The sync setters rebuild the rest of the word from the step (SeqSetSyncCodeVal only when asked to):
    // nothing of another step's word goes along.
    SeqSetTerm(kTermHold);
    SeqSetEnBranch1(1);
    SeqSetCurStep(7);
    SeqSetSyncCode(2);
    EXPECT_EQ(test::StepWord(768, 7), uint32_t{2u | kStatConti});
    SeqSetCurStep(6);
    SeqSetSyncCodeVal(3, 0);
    EXPECT_EQ(status(), uint32_t{3u | kStatConti}) << "the word held before, step 7's";
    SeqSetSyncCodeVal(3, 1);
    EXPECT_EQ(status(), uint32_t{3u | kStatHold | kStatBranch1});
    SeqSetTerm(kTermConti);
    SeqSetEnBranch1(0);
    // Step 0: the Jump To enable and the termination are refused, the Branch enables are not.
    SeqSetCurStep(0);
    EXPECT_EQ(SeqSetEnJumpto(1), 0u);
    EXPECT_EQ(SeqGetEnJumpto(), 0);
    SeqSetEnBranch1(1);
    EXPECT_EQ(test::StepWord(768, 0) & kStatBranch1, uint32_t{kStatBranch1});
}

// The reads of an explicit step give that step's words whatever the current step, 0 outside 0-999 and
// outside L1-L3, and 0 in a kind without the field.
TEST_F(SeqFields, ReadsOfAnExplicitStep) {
    for (const int32_t step : {0, 1, 998, 999}) {
        for (int p = 0; p < 3; ++p) {
            SeqStepRecord& r = g_SeqSimBlock[p].seqTable[0][step];
            r.acv = static_cast<uint32_t>(10000 + step + p);
            r.dcv = -(1000 + step + p);
            r.flags = (r.flags & ~0x3Fu) | uint32_t(p) << kSeqAcvTypeShift | uint32_t(2 - p) << kSeqDcvTypeShift;
        }
        SeqStepRecord& l1 = g_SeqSimBlock[0].seqTable[0][step];
        l1.jumpTo = static_cast<uint32_t>(step / 2);
        l1.flags |= kSeqEnJumpto | kTermHold << kSeqTermShift;
    }
    SeqSetCurStep(500);
    for (const int32_t step : {0, 1, 998, 999}) {
        for (int p = 0; p < 3; ++p) {
            SCOPED_TRACE(testing::Message() << "step " << step << ", phase " << p);
            EXPECT_EQ(SeqGetAcvAt(step, p), 10000 + step + p);
            EXPECT_EQ(SeqGetDcvAt(step, p), -(1000 + step + p));
            EXPECT_EQ(SeqGetAcvModeAt(step, p), p);
            EXPECT_EQ(SeqGetDcvModeAt(step, p), 2 - p);
        }
        EXPECT_EQ(SeqGetJumptoAt(step), step / 2);
        EXPECT_EQ(SeqGetEnJumptoAt(step), 1);
        EXPECT_EQ(SeqGetTermAt(step), int32_t{kTermHold});
    }
    for (const auto& [step, phase] : {std::pair{-1, 0}, std::pair{1000, 0}, std::pair{1, 3}, std::pair{1, -1}}) {
        SCOPED_TRACE(testing::Message() << "step " << step << ", phase " << phase);
        EXPECT_EQ(SeqGetAcvAt(step, phase) + SeqGetDcvAt(step, phase) + SeqGetAcvModeAt(step, phase) +
                      SeqGetDcvModeAt(step, phase),
                  0);
        if (phase == 0) {
            EXPECT_EQ(SeqGetJumptoAt(step) + SeqGetEnJumptoAt(step) + SeqGetTermAt(step), 0);
        }
    }
    // Words in the fourth slice and in the tables of the other kinds are not read either.
    for (uint32_t kind = 0; kind < 3; ++kind) {
        for (int p = 0; p < kSeqSlices; ++p) {
            SeqStepRecord& r = g_SeqSimBlock[p].seqTable[kind][1];
            if (kind > 0 || p == 3) {
                r.acv = 111;
                r.dcv = 222;
                r.flags |= kTypeSP << kSeqAcvTypeShift | kTypeSP << kSeqDcvTypeShift;
            }
        }
    }
    EXPECT_EQ(SeqGetAcvAt(1, 3) + SeqGetDcvAt(1, 3) + SeqGetAcvModeAt(1, 3) + SeqGetDcvModeAt(1, 3), 0);
    SetOutputMode(2);
    EXPECT_EQ(SeqGetAcvAt(1, 0) + SeqGetAcvModeAt(1, 1), 0) << "the DC kind has no ACV";
    EXPECT_EQ(SeqGetDcvAt(1, 0), 222);
    SetOutputMode(1);
    EXPECT_EQ(SeqGetDcvAt(1, 0) + SeqGetDcvModeAt(1, 0), 0) << "the AC kind has no DCV";
    EXPECT_EQ(SeqGetAcvAt(1, 0), 111);
    SetOutputMode(0);
}

// The accessors use the table of the output kind: AC+DC, AC or DC, and the AC+DC table in any other mode.
TEST_F(SeqFields, TableOfTheOutputKind) {
    for (uint32_t kind = 0; kind < 3; ++kind)
        g_SeqSimBlock[0].seqTable[kind][2].time = 100 + kind;
    SeqSetCurStep(2);
    for (const auto& [mode, time] : {std::pair{0u, 100}, std::pair{1u, 101}, std::pair{2u, 102}, std::pair{3u, 100},
                                     std::pair{7u, 100}}) {
        SetOutputMode(mode);
        EXPECT_EQ(SeqGetTime(), time) << "output mode " << mode;
    }
    SetOutputMode(0);
}

// The limit pairs the editors take their bounds from.
TEST_F(SeqFields, LimitPairsOfTheEditors) {
    const struct {
        const char* what;
        int32_t (*min)();
        int32_t (*max)();
        int32_t lo, hi;
    } rows[] = {
        {"time", SeqGetTimeMin, SeqGetTimeMax, 1, 99999999},
        {"type", SeqGetTypeMin, SeqGetTypeMax, 0, 2},
        {"wave", SeqGetWaveMin, SeqGetWaveMax, 1, 256},
        {"enable", SeqGetEnableMin, SeqGetEnableMax, 0, 1},
        {"target step", SeqGetTargetStepMin, SeqGetTargetStepMax, 0, 999},
        {"Jump Cnt", SeqGetJumpCntMin, SeqGetJumpCntMax, 0, 9999},
        {"termination", SeqGetTermMin, SeqGetTermMax, 0, 2},
        {"sync code", SeqGetSyncCodeMin, SeqGetSyncCodeMax, 0, 3},
        {"angle", SeqGetPhaseMin, SeqGetPhaseMax, 0, 3599},
        {"Fset", SeqGetFsetMin, SeqGetFsetMax, 100, 200000},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.min(), row.lo) << row.what;
        EXPECT_EQ(row.max(), row.hi) << row.what;
    }
    for (const auto& [mode, fsetMin] : {std::pair{1u, 1500}, std::pair{2u, 0}, std::pair{0u, 100}}) {
        SetOutputMode(mode);
        EXPECT_EQ(SeqGetFsetMin(), fsetMin) << "kind " << mode;
    }
    SeqSetCurStep(1);
    for (const auto& [fset, max] : {std::pair{50000, 3599}, std::pair{50001, 3590}}) {
        SeqSetFset(fset, 2);
        EXPECT_EQ(SeqGetOnOffPhaseMax(2), max) << fset;
    }
}

// The Vpp ceiling of a step is round(2 x base x factor + 0.5): base 175.00 V in the 100V range, 350.00 V in
// the 200V range; the output limits of the 100V range lie below those of the 200V range.
TEST_F(SeqFields, VppCeilingAndLimitsFollowTheRange) {
    core::ParamSetWaveFactor(0, 1.2f);
    SeqSetCurStep(1);
    SeqSetWave(1, 0, 0);
    const int32_t range = GetVoltRange();
    const struct {
        uint32_t user;
        int32_t vppMax;
    } rows[] = {{1, 84000}, {0, 42000}};
    int32_t acvMax[2] = {}, dcvMax[2] = {};
    for (const auto& row : rows) {
        SetVoltRange(RangeUserToCode(row.user));
        EXPECT_EQ(SeqGetAcvVppMax(0), row.vppMax) << row.user;
        acvMax[row.user] = SeqGetAcvRangeMax(0);
        dcvMax[row.user] = SeqGetDcvRangeMax(0);
    }
    EXPECT_LT(acvMax[0], acvMax[1]);
    EXPECT_LT(dcvMax[0], dcvMax[1]);
    SetVoltRange(RangeUserToCode(static_cast<uint32_t>(range)));
}

TEST_F(SeqFields, OnPhaseLimitFollowsTheStepFrequency) {
    struct Case {
        int32_t fset, on, stored;
    } cases[] = {
        {60000, 3595, 0}, {40000, 3595, 3595}, {50001, 3591, 0}, {50001, 3590, 3590}, {50000, 3599, 3599}};
    for (const Case& c : cases) {
        SeqSetCurStep(1);
        SeqSetOnPhase(0, 0);
        ASSERT_EQ(SeqSetFset(c.fset, 0), c.fset);
        EXPECT_EQ(SeqSetOnPhase(c.on, 0), c.stored) << c.fset;
        EXPECT_EQ(SeqGetOnPhase(0), c.stored) << c.fset;
        EXPECT_EQ(test::StepWord(781, 1), static_cast<uint32_t>(c.stored)) << "live value sent";
    }
}

TEST_F(SeqFields, FrequencyChangeReroundsDutyAndPhases) {
    SeqSetCurStep(2);
    SeqSetFset(5000, 1);
    SeqSetDuty(373, 1, 999, 1);
    SeqSetOnPhase(1234, 1);
    SeqSetOffPhase(3597, 1);
    EXPECT_EQ(SeqSetFset(150000, 1), 150000);
    EXPECT_EQ(SeqGetDuty(1), 400);
    EXPECT_EQ(SeqGetOnPhase(1), 1230);
    EXPECT_EQ(SeqGetOffPhase(1), 3590);
    EXPECT_EQ(test::StepWord(802, 2), static_cast<uint32_t>(400 * 4096 / 1000));
    EXPECT_EQ(SeqSetFset(200001, 1), 150000) << "above the model's 2000.00 Hz";
    // Words loaded from a file that failed validation stay in the table: the re-rounding must bring any
    // 32-bit value into range, not wrap it.
    SeqSetFset(5000, 1);
    engine::SeqRec(1).duty = 0x7FFFFFFFu;
    engine::SeqRec(1).onPhase = 0x7FFFFFFDu;
    engine::SeqRec(1).offPhase = 0x80000000u;
    EXPECT_EQ(SeqSetFset(150000, 1), 150000);
    EXPECT_EQ(SeqGetDuty(1), 900);
    EXPECT_EQ(SeqGetOnPhase(1), 3590);
    SeqSetFset(50000, 1);
    engine::SeqRec(1).duty = 0x7FFFFFFCu;
    EXPECT_EQ(SeqSetFset(60000, 1), 60000);
    EXPECT_EQ(SeqGetDuty(1), 990);
    // Whole degrees from 500.01 Hz on, the ON and the OFF phase each to its nearest.
    SeqSetFset(50000, 1);
    SeqSetOnPhase(1234, 1);
    SeqSetOffPhase(2346, 1);
    SeqSetFset(50000, 1);
    EXPECT_EQ(SeqGetOnPhase(1), 1234);
    EXPECT_EQ(SeqGetOffPhase(1), 2346);
    SeqSetFset(50001, 1);
    EXPECT_EQ(SeqGetOnPhase(1), 1230);
    EXPECT_EQ(SeqGetOffPhase(1), 2350);
    // The duty bands' floors: 10.0 % above 999.99 Hz, 1.0 % above 99.99 Hz.
    const struct {
        int32_t from, to, duty, rounded;
    } duties[] = {{5000, 100000, 1, 100}, {5000, 100000, 149, 100}, {5000, 100000, 150, 200},
                  {5000, 10000, 1, 10},   {5000, 10000, 14, 10},    {5000, 10000, 15, 20},
                  {5000, 100000, 999, 900}, {5000, 10000, 999, 990}, {5000, 9999, 999, 999}};
    for (const auto& d : duties) {
        SeqSetFset(d.from, 1);
        ASSERT_EQ(SeqSetDuty(d.duty, 1, 999, 1), d.duty);
        SeqSetFset(d.to, 1);
        EXPECT_EQ(SeqGetDuty(1), d.rounded) << d.duty << " at " << d.to;
    }
}

// A step index past the table is ignored; a loaded waveform code beyond the tables keeps the limits and the
// Vpp test in bounds.
TEST_F(SeqFields, OutOfRangeCodesAreRefused) {
    SeqSetCurStep(3);
    SeqSetCurStep(1000);
    EXPECT_EQ(SeqGetCurStep(), 3);
    SeqSetCurStep(-1);
    EXPECT_EQ(SeqGetCurStep(), 3);
    g_SeqSimBlock[0].seqTable[0][3].wave = 300;
    EXPECT_EQ(SeqGetAcvVppMax(0), 0);
    EXPECT_EQ(SeqSetAcv(1000, 0), 0);
}

TEST_F(SeqFields, VppCeilingHoldsUnlessTheTestModeIsOn) {
    SeqSetCurStep(1);
    SetAcvUnit(1);
    core::ParamSetWaveFactor(0, 1.2f);
    SeqSetWave(1, 0, 0);  // ARB1, peak factor 1.2: held in Vpp
    const int32_t max = SeqGetAcvVppMax(0);
    ASSERT_GT(max, 0);
    ASSERT_LT(max, SeqGetAcvRangeMax(0)) << "the Vpp ceiling binds below the output limits";
    EXPECT_EQ(SeqSetAcv(max, 0), max);
    EXPECT_EQ(g_SeqSimBlock[0].seqTable[0][1].acvVpp, static_cast<uint32_t>(max)) << "held in the Vpp word";
    EXPECT_EQ(SeqSetAcv(max + 1, 0), max);
    g_ServiceFlags.rdTestMode = 1;
    EXPECT_EQ(SeqSetAcv(max + 1, 0), max + 1);
}

TEST_F(SeqFields, MemoryNamesAreBoundedAndKeptInTheirFile) {
    const char* full = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    EXPECT_EQ(SeqSetMemName(full, 9), 0);
    EXPECT_EQ(SeqGetMemName(9), std::string(full, 20));
    EXPECT_EQ(SimSetMemName("x", 1), -1) << "SIM not active";
    EXPECT_EQ(SeqSetMemName("x", 10), -1);
    EXPECT_EQ(SeqGetMemName(-1), "");
    EXPECT_EQ(SimGetMemName(1), "");
    test::EnterSim();
    EXPECT_EQ(SimSetMemName("Dip", 1), 0);
    // Each change writes both lists whole: "SEQSIMNM", ten SEQ names, ten SIM names of 20 bytes, then the
    // big-endian sum of the bytes before it.
    std::string file = env_.ctrl.env.root.Read("/mnt/tst/seq/NAMES.SSN");
    ASSERT_EQ(file.size(), 412u);
    EXPECT_EQ(file.substr(0, 8), "SEQSIMNM");
    EXPECT_EQ(file.substr(8, 20), std::string(20, '\0'));
    EXPECT_EQ(file.substr(8 + 9 * 20, 20), std::string(full, 20));
    EXPECT_EQ(file.substr(208 + 20, 20), std::string("Dip") + std::string(17, '\0'));
    uint32_t sum = 0;
    for (size_t i = 0; i < 408; ++i)
        sum += static_cast<uint8_t>(file[i]);
    EXPECT_EQ(storage::LoadBe32(reinterpret_cast<const uint8_t*>(file.data()) + 408), sum);
    // Read at the next start; a damaged file gives every name empty.
    engine::SeqSimDataReset();
    test::EnterSim();
    EXPECT_EQ(SeqSimNamesLoad(false), 1);
    EXPECT_EQ(SimGetMemName(1), "Dip");
    EXPECT_EQ(std::string(g_SeqMemName[9], 20), std::string(full, 20));
    file[30] ^= 1;
    env_.ctrl.env.root.Write("/mnt/tst/seq/NAMES.SSN", file);
    testing::internal::CaptureStderr();
    EXPECT_EQ(SeqSimNamesLoad(false), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "SEQ/SIM memory names reset: stored file damaged\n");
    EXPECT_EQ(SimGetMemName(1), "");
    EXPECT_EQ(g_SeqMemName[9][0], '\0');
}

}  // namespace
