// The SIM field accessors: state-dependent time limits with the skip flags, and the ACV ceilings.
#include <tuple>

#include "tests/engine/seqsim_fixture.h"

namespace {

class SimFields : public ::testing::Test {
  protected:
    SimFields() { test::EnterSim(); }
    test::SeqSimEnv env_;
};

// Every numeric SIM field of "Normal 1" at its last accepted value and one past it, on each phase (200V set,
// model frequency maximum 2000.00 Hz): an accepted value is returned, stored and sent to its register at the
// state; a refused one keeps the value before and sends nothing (the frequency re-sends it). A phase outside
// L1-L3 gives 0.
TEST_F(SimFields, EveryFieldAtItsBounds) {
    struct Row {
        const char* what;
        int32_t (*set)(int32_t, int);
        int32_t (*get)(int);
        uint16_t reg;
        bool perPhase;
        int32_t lo, hi;
        bool resends;
    };
    const Row rows[] = {
        {"repeat", [](int32_t v, int) { return SimSetRepeat(v); }, [](int) { return SimGetRepeat(); }, 788, false,
         0, 9999, true},
        {"ACV", SimSetAcv, SimGetAcv, 775, true, 0, 35000, false},
        {"frequency", SimSetFreq, SimGetFreq, 778, true, 100, 200000, true},
        {"ON phase", SimSetOnpha, SimGetOnpha, 781, true, 0, 3599, false},
        {"OFF phase", SimSetOffpha, SimGetOffpha, 784, true, 0, 3599, false},
    };
    SeqSimSetCurStep(kSimNormal1);
    for (const Row& row : rows) {
        for (int p = 0; p < (row.perPhase ? 3 : 1); ++p) {
            SCOPED_TRACE(testing::Message() << row.what << ", phase " << p);
            // The repeat count lives in "Normal 2" and goes to its step copy.
            const uint32_t step = row.reg == 788 ? kSimNormal2 : kSimNormal1;
            const auto reg = static_cast<uint16_t>(row.reg + (row.perPhase ? p : 0));
            for (const int32_t v : {row.lo, row.hi}) {
                test::ClearTrace();
                EXPECT_EQ(row.set(v, p), v);
                EXPECT_EQ(row.get(p), v);
                ASSERT_EQ(test::WritesTo(reg).size(), 1u) << v;
                EXPECT_EQ(test::WritesTo(reg)[0].word, step);
            }
            for (const int32_t v : {row.lo - 1, row.hi + 1}) {
                test::ClearTrace();
                EXPECT_EQ(row.set(v, p), row.hi) << v;
                EXPECT_EQ(row.get(p), row.hi) << v;
                EXPECT_EQ(test::WritesTo(reg).size(), row.resends ? 1u : 0u) << v;
            }
            EXPECT_EQ(SeqSimGetCurStep(), uint32_t{kSimNormal1});
            if (!row.perPhase) continue;
            for (int q = 0; q < 3; ++q) {
                if (q == p) continue;
                EXPECT_NE(row.get(q), row.hi) << "phase " << q;
            }
            row.set(row.lo + 1, p);
            test::ClearTrace();
            EXPECT_EQ(row.set(row.lo, 3), 0);
            EXPECT_EQ(row.set(row.lo, -1), 0);
            EXPECT_TRUE(test::Writes().empty());
        }
    }
    SeqSimSetCurStep(kSimNormal2);
    EXPECT_EQ(engine::SimRecAt(kSimNormal2, 0).repeat, 9999u);
}

// The time of each state: "Trans 1" and "Trans 2" from 0 (which marks "Normal 1" or "Abnormal" to skip
// them), every other state from 1; up to 99999999 everywhere. A refused time answers 0 and sends nothing.
TEST_F(SimFields, TimeOfEachStateAndTheSkipFlags) {
    const struct {
        uint32_t state;
        int32_t lo;
        int skipOf;  // the state whose skip flag this state's time sets, or -1
    } rows[] = {{kSimInitial, 1, -1},  {kSimNormal1, 1, -1}, {kSimTrans1, 0, kSimNormal1},
                {kSimAbnormal, 1, -1}, {kSimTrans2, 0, kSimAbnormal}, {kSimNormal2, 1, -1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.state);
        SeqSimSetCurStep(static_cast<int32_t>(row.state));
        EXPECT_EQ(SimGetTimeMin(), row.lo);
        EXPECT_EQ(SimGetTimeMax(), 99999999);
        for (const int32_t v : {row.lo, 99999999, row.lo + 1}) {
            test::ClearTrace();
            EXPECT_EQ(SimSetTime(v), v);
            EXPECT_EQ(SimGetTime(), v);
            EXPECT_EQ(test::OnlyWriteTo(791).raw, static_cast<uint32_t>(v));
            EXPECT_EQ(test::OnlyWriteTo(791).word, row.state);
            if (row.skipOf >= 0) {
                EXPECT_EQ((engine::SimRecAt(static_cast<uint32_t>(row.skipOf), 0).flags & kSimSkip) != 0, v == 0)
                    << v;
            }
        }
        for (const int32_t v : {row.lo - 1, 100000000}) {
            test::ClearTrace();
            EXPECT_EQ(SimSetTime(v), 0) << v;
            EXPECT_EQ(SimGetTime(), row.lo + 1) << v;
            EXPECT_TRUE(test::Writes().empty()) << v;
        }
    }
    for (uint32_t s : {kSimInitial, kSimTrans1, kSimAbnormal, kSimTrans2, kSimNormal2})
        EXPECT_EQ(engine::SimRecAt(s, 0).flags & kSimSkip, 0u) << "no skip flag in state " << s;
}

// The control word of a state's phase (register 769 + phase): DCV "CT", ACV and Fset "SP" in the
// transitions and "CT" elsewhere, SIN, and the ON/OFF "Fixed" of the record; the enables and the waveform
// setters write it.
TEST_F(SimFields, ControlWordOfEachStateAndPhase) {
    for (uint32_t state = 0; state <= kSimNoState; ++state) {
        const bool trans = state == kSimTrans1 || state == kSimTrans2;
        const uint32_t type = trans ? 4u : 1u;
        for (int p = 0; p < 3; ++p) {
            SCOPED_TRACE(testing::Message() << "state " << state << ", phase " << p);
            if (state < kSimNoState) {
                engine::SimRecAt(state, p).flags = p == 1 ? uint32_t{kSimEnOnPhase} : p == 2 ? uint32_t{kSimEnOffPhase} : 0u;
            }
            const uint32_t fixed = state == kSimNoState ? 0u
                                   : p == 1   ? uint32_t{kCtrlOnFixed}
                                   : p == 2   ? uint32_t{kCtrlOffFixed}
                                              : 0u;
            const uint32_t word = 1u | type << kCtrlAcvShift | uint32_t{kWaveCodeSin} << kCtrlWaveShift |
                                  type << kCtrlFsetShift | fixed;
            EXPECT_EQ(SimCtrlWord(state, p), word);
            if (state == kSimNoState) continue;
            SeqSimSetCurStep(static_cast<int32_t>(state));
            test::ClearTrace();
            SimApplyStatePhase(p, state);
            EXPECT_EQ(test::OnlyWriteTo(static_cast<uint16_t>(769 + p)).raw, word);
            EXPECT_EQ(test::OnlyWriteTo(static_cast<uint16_t>(769 + p)).word, state);
        }
    }
    SeqSimSetCurStep(kSimAbnormal);
    const struct {
        const char* what;
        int32_t (*set)(int32_t, int);
        int32_t (*get)(int);
        uint32_t ctrl, rec;
    } enables[] = {{"ON", SimSetEnOnpha, SimGetEnOnpha, kCtrlOnFixed, kSimEnOnPhase},
                   {"OFF", SimSetEnOffpha, SimGetEnOffpha, kCtrlOffFixed, kSimEnOffPhase}};
    for (const auto& e : enables) {
        for (int p = 0; p < 3; ++p) {
            for (const int32_t v : {1, 2, 0, -1, 1}) {
                SCOPED_TRACE(testing::Message() << e.what << ", phase " << p << ", value " << v);
                const int32_t kept = v == 2 ? 1 : v == -1 ? 0 : v;
                test::ClearTrace();
                EXPECT_EQ(e.set(v, p), kept);
                EXPECT_EQ(e.get(p), kept);
                EXPECT_EQ((engine::SimRecAt(kSimAbnormal, p).flags & e.rec) != 0, kept == 1);
                EXPECT_EQ((test::OnlyWriteTo(static_cast<uint16_t>(769 + p)).raw & e.ctrl) != 0, kept == 1);
            }
        }
    }
    for (const auto& [wave, code] : {std::pair{1, 1}, std::pair{256, 256}, std::pair{0, kWaveCodeSin},
                                     std::pair{257, kWaveCodeSin}, std::pair{kWaveCodeSqu, kWaveCodeSqu}}) {
        test::ClearTrace();
        EXPECT_EQ(SimSetWave(wave, 0), code) << wave;
        EXPECT_EQ(SimGetWave(), code) << wave;
        EXPECT_EQ((test::OnlyWriteTo(769).raw & kCtrlWaveMask) >> kCtrlWaveShift, static_cast<uint32_t>(code));
    }
}

// The status word of each state (register 768): the state's sync code in bits 0-1 ("Initial"'s for index
// 6), bit 2 the skip flag of "Normal 1" and "Abnormal" or the repeat enable of "Normal 2", END for index 6
// and CONTI otherwise.
TEST_F(SimFields, StatusWordOfEachState) {
    for (uint32_t s = 0; s < kSimNoState; ++s) {
        engine::SimRecAt(s, 0).syncCode = s % 4;
        engine::SimRecAt(s, 0).flags = kSimSkip | kSimEnRepeat;
        engine::SimRecAt(s, 1).syncCode = 3 - s % 4;
    }
    const uint16_t expected[] = {0 | kStatConti,           1 | kStatJump | kStatConti, 2 | kStatConti,
                                 3 | kStatJump | kStatConti, 0 | kStatConti,           1 | kStatJump | kStatConti,
                                 0 | kStatEnd};
    for (uint32_t s = 0; s <= kSimNoState; ++s)
        EXPECT_EQ(SimStatusWord(s), expected[s]) << s;
    // The sync code setter changes bits 0-1 of the state's register; the repeat setters work on "Normal 2".
    SeqSimSetCurStep(kSimAbnormal);
    for (const int32_t code : {2, 3, 4, -1}) {
        SimSetSyncCode(code);
        const uint32_t kept = code == 2 ? 2 : 3;
        EXPECT_EQ(static_cast<uint32_t>(SimGetSyncCode()), kept) << code;
        EXPECT_EQ(test::StepWord(768, kSimAbnormal) & 3u, kept) << code;
    }
    for (const int32_t v : {1, 2, 0, -1, 1}) {
        SCOPED_TRACE(v);
        const int32_t kept = v == 2 ? 1 : v == -1 ? 0 : v;
        EXPECT_EQ(SimSetEnRepeat(v), kept);
        EXPECT_EQ(SimGetEnRepeat(), kept);
        EXPECT_EQ((engine::SimRecAt(kSimNormal2, 0).flags & kSimEnRepeat) != 0, kept == 1);
        EXPECT_EQ((test::StepWord(768, kSimNormal2) & kStatJump) != 0, kept == 1);
        EXPECT_EQ(g_SeqSimStatusShadow & kStatJump, 0u) << "cleared again away from Normal 2";
        EXPECT_EQ(SeqSimGetCurStep(), uint32_t{kSimAbnormal});
    }
}

// The index 6 (no state) reads ACV, frequency and sync code from "Initial" and no ON/OFF enable; the ACV
// ceilings follow the SIM range.
TEST_F(SimFields, NoStateReadsAndTheRangesCeiling) {
    for (int p = 0; p < 3; ++p) {
        SimStepRecord& r = engine::SimRecAt(kSimInitial, p);
        r.acv = static_cast<uint32_t>(12300 + p);
        r.freq = static_cast<uint32_t>(6100 + p);
        r.flags = kSimEnOnPhase | kSimEnOffPhase;
    }
    engine::SimRecAt(kSimInitial, 0).syncCode = 2;
    SeqSimSetCurStep(kSimInitial);
    engine::SimSelectState(kSimNoState);
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(SimGetAcv(p), 12300 + p) << p;
        EXPECT_EQ(SimGetFreq(p), 6100 + p) << p;
        EXPECT_EQ(SimGetEnOnpha(p), 0) << p;
        EXPECT_EQ(SimGetEnOffpha(p), 0) << p;
    }
    EXPECT_EQ(SimGetSyncCode(), 2);
    engine::SimSelectState(kSimInitial);
    EXPECT_EQ(SimGetEnOnpha(1), 1);
    EXPECT_EQ(SimGetEnOffpha(2), 1);
    // The model's voltage limits of AC+DC-INT: 350.00 V rms and 1000.00 Vpp in the 200V range, half in the
    // 100V range.
    for (const auto& [options, rms, vpp] : {std::tuple{1u << 1, 35000, 100000}, std::tuple{0u, 17500, 50000}}) {
        g_SeqSimBlock[0].simOptions = static_cast<uint8_t>(options);
        EXPECT_EQ(SimGetAcvMax(), rms) << options;
        EXPECT_EQ(SimGetAcvVppMax(), vpp) << options;
    }
    g_SeqSimBlock[0].simOptions = 1u << 1;
    // ARB253 (code 256) in Vpp is held in the Vpp word like any waveform but SIN and SQU.
    g_SeqSimBlock[0].simSaved.acvUnit = 1;
    SeqSimSetCurStep(kSimNormal1);
    for (const auto& [wave, vpp] : {std::pair{256u, true}, std::pair{1u, true}, std::pair{uint32_t{kWaveCodeSin}, false},
                                    std::pair{uint32_t{kWaveCodeSqu}, false}}) {
        SimStepRecord& r = engine::SimRecAt(kSimNormal1, 0);
        r.wave = wave;
        r.acv = 1111;
        r.acvVpp = 2222;
        EXPECT_EQ(SimGetAcv(0), vpp ? 2222 : 1111) << wave;
        EXPECT_EQ(SimGetAcvOf(kSimNormal1, 0), vpp ? 2222 : 1111) << wave;
    }
    // A state's ACV read without selecting it: the same words; none for index 6 or another phase.
    SeqSimSetCurStep(kSimInitial);
    EXPECT_EQ(SimGetAcvOf(kSimNormal1, 0), 1111);
    g_SeqSimBlock[0].simSaved.acvUnit = 0;
    engine::SimRecAt(kSimNormal1, 0).wave = 1;
    EXPECT_EQ(SimGetAcvOf(kSimNormal1, 0), 1111) << "Vrms";
    EXPECT_EQ(SimGetAcvOf(kSimInitial, 2), 12302);
    EXPECT_EQ(SimGetAcvOf(kSimNoState, 0) + SimGetAcvOf(kSimInitial, 3) + SimGetAcvOf(kSimInitial, -1), 0);
}

// The end state's ACV register takes "Initial"'s ACV; the current state stays.
TEST_F(SimFields, EndStateTakesTheInitialAcv) {
    SeqSimSetCurStep(kSimNormal1);
    for (int p = 0; p < 3; ++p) {
        engine::SimRecAt(kSimInitial, p).acv = static_cast<uint32_t>(11000 + p);
        test::ClearTrace();
        SimWriteEndAcv(p);
        const test::RegWrite w = test::OnlyWriteTo(static_cast<uint16_t>(775 + p));
        EXPECT_EQ(w.word, uint32_t{kSimNoState});
        EXPECT_FLOAT_EQ(static_cast<float>(w.value), (11000 + p) / 100.0f);
        EXPECT_EQ(SeqSimGetCurStep(), uint32_t{kSimNormal1});
    }
}

TEST_F(SimFields, AcvCeilingByWaveformAndUnit) {
    SeqSimSetCurStep(kSimNormal1);
    const int32_t rmsMax = SimGetAcvMax();
    ASSERT_EQ(rmsMax, 35000) << "200V voltage limit";
    EXPECT_EQ(SimSetAcv(rmsMax, 0), rmsMax);
    EXPECT_EQ(SimSetAcv(rmsMax + 1, 0), rmsMax);
    // Held in Vpp (saved unit Vpp, a waveform other than SIN): the Vpp maximum applies, no longer nothing.
    g_SeqSimBlock[0].simSaved.acvUnit = 1;
    engine::SimRecAt(kSimNormal1, 0).wave = kWaveCodeTri;
    const int32_t vppMax = SimGetAcvVppMax();
    EXPECT_EQ(SimSetAcv(vppMax, 0), vppMax);
    EXPECT_EQ(SimSetAcv(vppMax + 1, 0), vppMax);
    EXPECT_EQ(engine::SimRecAt(kSimNormal1, 0).acvVpp, static_cast<uint32_t>(vppMax));
}

TEST_F(SimFields, ZeroDcvClearsTheCurrentStatesDcRegister) {
    for (int32_t state : {kSimNormal1, kSimTrans1}) {
        SeqSimSetCurStep(state);
        ASSERT_EQ(BusReg_SetStepDcv(1234, regbus::Phase(0)), 0);
        ASSERT_EQ(BusReg_SetStepDcv(1234, regbus::Phase(1)), 0);
    }
    const uint32_t before = test::StepWord(772, kSimNormal1);
    ASSERT_NE(test::StepWord(772, kSimTrans1), 0u);
    test::ClearTrace();
    SimZeroDcv();
    ASSERT_EQ(test::WritesTo(772).size(), 1u);
    EXPECT_EQ(test::WritesTo(772).back().value, 0.0);
    EXPECT_EQ(test::StepWord(772, kSimTrans1), 0u);
    EXPECT_EQ(test::StepWord(772, kSimNormal1), before);
    EXPECT_TRUE(test::WritesTo(773).empty());
}

// Angles loaded from a file that failed validation are brought into range, not wrapped.
TEST_F(SimFields, FrequencyChangeReroundsAnglesOutsideTheirRange) {
    SeqSimSetCurStep(kSimNormal1);
    engine::SimRecAt(kSimNormal1, 0).onPhase = 0x7FFFFFFEu;
    engine::SimRecAt(kSimNormal1, 0).offPhase = 0x7FFFFFFFu;
    ASSERT_EQ(SimSetFreq(60000, 0), 60000);
    EXPECT_EQ(SimGetOnpha(0), 3590);
    EXPECT_EQ(SimGetOffpha(0), 3590);
    // Whole degrees from 500.01 Hz on, each angle to its nearest.
    for (int p = 0; p < 3; ++p) {
        SimSetFreq(5000, p);
        SimSetOnpha(1234, p);
        SimSetOffpha(2346, p);
        SimSetFreq(50000, p);
        EXPECT_EQ(SimGetOnpha(p), 1234) << p;
        EXPECT_EQ(SimGetOffpha(p), 2346) << p;
        test::ClearTrace();
        SimSetFreq(50001, p);
        EXPECT_EQ(SimGetOnpha(p), 1230) << p;
        EXPECT_EQ(SimGetOffpha(p), 2350) << p;
        EXPECT_EQ(test::OnlyWriteTo(static_cast<uint16_t>(781 + p)).raw, 1230u) << p;
        EXPECT_EQ(test::OnlyWriteTo(static_cast<uint16_t>(784 + p)).raw, 2350u) << p;
    }
}

}  // namespace
