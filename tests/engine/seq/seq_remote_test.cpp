// Remote step writes and whole-table validation.
#include "engine/seq/seq_remote.h"

#include "engine/seqsim/seqsim_validate.h"
#include "tests/engine/seqsim_fixture.h"

namespace {

// The program downloaded first, as before any edit: every read-back check then compares real writes.
class SeqRemote : public ::testing::Test {
  protected:
    SeqRemote() {
        SeqDownloadAll();
        test::ClearTrace();
    }
    test::SeqSimEnv env_;
};

TEST_F(SeqRemote, PhaseWriteDutyBands) {
    struct Case {
        int32_t fset, duty, result, stored;
    } cases[] = {{150000, 453, 0, 500},  {150000, 950, -108, 500},
                 {100000, 455, 0, 500},  // from 1000.00 Hz: whole 10 %
                 {99999, 455, 0, 460},   // 999.99 down to 100.00 Hz: the nearest whole 1 %
                 {99999, 454, 0, 450},   {10000, 455, 0, 460},
                 {10000, 9, -108, 460},  {9999, 455, 0, 455},  // below: as given
                 {50000, 453, 0, 450},   {5000, 373, 0, 373},
                 {50000, 995, -108, 370}};
    SeqSetCurStep(5);
    for (const Case& c : cases) {
        EXPECT_EQ(SeqSetStepPhaseParams(1000, 0, 0, 0, c.fset, 0, kWaveSqu, c.duty, 0), c.result) << c.duty;
        EXPECT_EQ(SeqGetDuty(0), c.stored) << c.duty;
    }
    EXPECT_EQ(SeqSetStepPhaseParams(1000, 0, 0, 0, 99, 0, kWaveSin, 500, 0), -105) << "below AC+DC's 1.00 Hz";
    g_SeqSimRemoteSel[0] = 1;
    EXPECT_EQ(SeqSetStepPhaseParams(1000, 0, 0, 0, 5000, 0, kWaveSin, 500, 3600), -1);
    EXPECT_EQ(test::PopupText(), "") << "every read-back matched";
}

TEST_F(SeqRemote, CommonWriteJumpAtStepZero) {
    struct Case {
        bool running;
        uint32_t permission;
        int32_t result;
    } cases[] = {{false, 0, 0}, {true, 1, -107}, {true, 0, 0}};
    for (const Case& c : cases) {
        SeqSetCurStep(0);
        g_SeqSimBlock[0].flags = c.running ? kRunFlagRunning : 0;
        g_SeqSimScreen.remoteStep0 = c.permission;
        test::ClearTrace();
        EXPECT_EQ(SeqSetStepCommonParams(2000, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0), c.result);
        EXPECT_EQ(SeqGetJumpto(), 0);
        EXPECT_EQ(test::WritesTo(787).size(), 0u);
        EXPECT_EQ(SeqGetTime(), c.running && c.permission == 0 ? 1000 : 2000);
        g_SeqSimBlock[0].seqTable[0][0].time = 1000;
    }
    EXPECT_EQ(test::PopupText(), "") << "every read-back matched";
}

// From 500.01 Hz on a remote ON or OFF phase is taken in whole degrees.
TEST_F(SeqRemote, CommonWritePhasesInWholeDegreesAbove500Hz) {
    SeqSetCurStep(5);
    for (const int32_t fset : {50000, 50001}) {
        ASSERT_EQ(SeqSetFset(fset, 0), fset);
        EXPECT_EQ(SeqSetStepCommonParams(2000, 1234, 1, 1236, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0), 0) << fset;
        EXPECT_EQ(SeqGetOnPhase(0), fset == 50000 ? 1234 : 1230);
        EXPECT_EQ(SeqGetOffPhase(0), fset == 50000 ? 1236 : 1240);
    }
}

// With remote step 0 allowed, a write while running goes to step 0 and takes every value, as when idle.
TEST_F(SeqRemote, PhaseWriteWhileRunningGoesToStepZero) {
    for (const bool running : {false, true}) {
        SeqSetCurStep(5);
        g_SeqSimBlock[0].flags = running ? kRunFlagRunning : 0;
        g_SeqSimScreen.remoteStep0 = 1;
        ASSERT_EQ(SeqSetStepPhaseParams(10000, 0, 2500, 0, 6000, 0, kWaveSin, 500, 0), 0) << running;
        EXPECT_EQ(SeqGetAbsStep(), running ? 0 : 5) << running;
        EXPECT_EQ(SeqGetAcv(0), 10000) << running;
        EXPECT_EQ(SeqGetDcv(0), 2500) << running;
        EXPECT_EQ(SeqGetFset(0), 6000) << running;
    }
    g_SeqSimBlock[0].flags = 0;
    EXPECT_EQ(test::PopupText(), "") << "every read-back matched";
}

// 1P3W: a remote write goes to L1 whatever phase is selected, and L2 takes every value with its DC
// voltage of opposite polarity.
TEST_F(SeqRemote, OnePhaseThreeWireMirrorsL1IntoL2) {
    g_PhaseMode = 2;
    g_SeqSimRemoteSel[0] = 2;
    SeqSetCurStep(5);
    ASSERT_EQ(SeqSetStepPhaseParams(10000, 0, 2500, 0, 6000, 0, kWaveSin, 500, 0), 0);
    EXPECT_EQ(SeqGetDcv(0), 2500);
    EXPECT_EQ(SeqGetDcv(1), -2500);
    for (int phase : {0, 1}) {
        EXPECT_EQ(SeqGetAcv(phase), 10000) << phase;
        EXPECT_EQ(SeqGetFset(phase), 6000) << phase;
    }
    EXPECT_NE(SeqGetFset(2), 6000) << "L3 untouched";
    EXPECT_EQ(test::PopupText(), "") << "every read-back matched";
    g_PhaseMode = 0;
}

// Every bound of a step, at its last accepted value and one past it, on the last step of each phase of a
// table: a whole table is visited, every phase and every step.
TEST_F(SeqRemote, ValidationBoundsOfASeqStep) {
    using Set = void (*)(SeqStepRecord&, int64_t);
    struct Case {
        const char* what;
        Set set;
        int64_t accepted, refused;
    };
    const Case cases[] = {
        {"time low", [](SeqStepRecord& r, int64_t v) { r.time = static_cast<uint32_t>(v); }, 1, 0},
        {"time high", [](SeqStepRecord& r, int64_t v) { r.time = static_cast<uint32_t>(v); }, 99999999, 100000000},
        {"wave low", [](SeqStepRecord& r, int64_t v) { r.wave = static_cast<uint32_t>(v); }, 1, 0},
        {"wave high", [](SeqStepRecord& r, int64_t v) { r.wave = static_cast<uint32_t>(v); }, 256, 257},
        {"ON phase", [](SeqStepRecord& r, int64_t v) { r.onPhase = static_cast<uint32_t>(v); }, 3599, 3600},
        {"OFF phase", [](SeqStepRecord& r, int64_t v) { r.offPhase = static_cast<uint32_t>(v); }, 3599, 3600},
        {"L2 angle", [](SeqStepRecord& r, int64_t v) { r.angleL2 = static_cast<uint32_t>(v); }, 3599, 3600},
        {"L3 angle", [](SeqStepRecord& r, int64_t v) { r.angleL3 = static_cast<uint32_t>(v); }, 3599, 3600},
        {"Jump To", [](SeqStepRecord& r, int64_t v) { r.jumpTo = static_cast<uint32_t>(v); }, 999, 1000},
        {"Branch 1", [](SeqStepRecord& r, int64_t v) { r.branch1 = static_cast<uint32_t>(v); }, 999, 1000},
        {"Branch 2", [](SeqStepRecord& r, int64_t v) { r.branch2 = static_cast<uint32_t>(v); }, 999, 1000},
        {"Jump Cnt", [](SeqStepRecord& r, int64_t v) { r.jumpCnt = static_cast<uint32_t>(v); }, 9999, 10000},
        {"sync code", [](SeqStepRecord& r, int64_t v) { r.syncCode = static_cast<uint32_t>(v); }, 3, 4},
        {"Fset high", [](SeqStepRecord& r, int64_t v) { r.fset = static_cast<uint32_t>(v); }, 200000, 200001},
        {"termination",
         [](SeqStepRecord& r, int64_t v) { r.flags = (r.flags & ~(7u << kSeqTermShift)) | v << kSeqTermShift; },
         kTermHold, kTermHold + 1},
        {"ACV type",
         [](SeqStepRecord& r, int64_t v) { r.flags = (r.flags & ~(7u << kSeqAcvTypeShift)) | v << kSeqAcvTypeShift; },
         kTypeSP, kTypeSP + 1},
        {"DCV type",
         [](SeqStepRecord& r, int64_t v) { r.flags = (r.flags & ~(7u << kSeqDcvTypeShift)) | v << kSeqDcvTypeShift; },
         kTypeSP, kTypeSP + 1},
        {"Fset type",
         [](SeqStepRecord& r, int64_t v) { r.flags = (r.flags & ~(7u << kSeqFsetTypeShift)) | v << kSeqFsetTypeShift; },
         kTypeSP, kTypeSP + 1},
    };
    ASSERT_EQ(SeqValidateAll(5), 1);
    EXPECT_EQ(SeqValidateTable(-1, 5), 0);
    EXPECT_EQ(SeqValidateTable(kSeqTables, 5), 0);
    EXPECT_EQ(SimValidateSet(kSimSets), 0);
    for (int table = 0; table < kSeqTables; ++table) {
        for (int phase = 0; phase < 3; ++phase) {
            SeqStepRecord& r = g_SeqStepTable[table][phase][kSeqSteps - 1];
            const SeqStepRecord keep = r;
            for (const Case& c : cases) {
                SCOPED_TRACE(testing::Message() << c.what << ", table " << table << " phase " << phase);
                c.set(r, c.accepted);
                EXPECT_EQ(SeqValidateAll(5), 1);
                EXPECT_EQ(SeqValidateTable(table, 5), 1);
                c.set(r, c.refused);
                EXPECT_EQ(SeqValidateAll(5), 0);
                EXPECT_EQ(SeqValidateTable(table, 5), 0);
                EXPECT_EQ(SeqValidateTable((table + 1) % kSeqTables, 5), 1) << "another table";
                r = keep;
            }
        }
    }
    // Step 0 may not take its value from the step before ("KP") in any of the three types.
    for (uint32_t shift : {kSeqAcvTypeShift, kSeqDcvTypeShift, kSeqFsetTypeShift}) {
        SeqStepRecord& r = g_SeqStepTable[0][2][0];
        const SeqStepRecord keep = r;
        r.flags |= kTypeKP << shift;
        EXPECT_EQ(SeqValidateAll(5), 0) << "KP at step 0, shift " << shift;
        r = keep;
        g_SeqStepTable[0][2][1].flags |= kTypeKP << shift;
        EXPECT_EQ(SeqValidateAll(5), 1) << "KP at step 1, shift " << shift;
        g_SeqStepTable[0][2][1].flags &= ~(7u << shift);
    }
    g_SeqStepTable[3][0][7].fset = 120000;
    EXPECT_EQ(SeqValidateAll(5), 1);
    SetParallelEnable(1);
    EXPECT_EQ(SeqValidateAll(5), 0);
    EXPECT_EQ(g_SeqStepTable[3][0][7].fset, 100000u) << "clamped for parallel operation";
}

// The saved configuration's words each have their range; one past it fails every table and set.
TEST_F(SeqRemote, ValidationOfTheSavedConfigurations) {
    struct Case {
        const char* what;
        uint32_t* word;
        uint32_t accepted, refused;
        bool seq;
    };
    SeqSavedConfig& q = g_SeqSimBlock[0].seqSaved;
    SimSavedConfig& m = g_SeqSimBlock[0].simSaved;
    const Case cases[] = {
        {"SEQ wiring", &q.wiring, 2, 3, true},   {"SEQ kind", &q.kind, 2, 3, true},
        {"SEQ range", &q.range, 1, 2, true},     {"SEQ ACV unit", &q.acvUnit, 1, 2, true},
        {"SIM wiring", &m.wiring, 2, 3, false},  {"SIM range", &m.range, 1, 2, false},
        {"SIM ACV unit", &m.acvUnit, 1, 2, false},
    };
    for (const Case& c : cases) {
        const uint32_t keep = *c.word;
        *c.word = c.accepted;
        EXPECT_EQ(c.seq ? SeqValidateAll(5) : SimValidateAll(4), 1) << c.what;
        *c.word = c.refused;
        EXPECT_EQ(c.seq ? SeqValidateAll(5) : SimValidateAll(4), 0) << c.what;
        *c.word = keep;
    }
}

// Each state's bounds in each set: the set's ACV ceiling (400.00 V in the 200V set, 200.00 V in the 100V
// set), the frequency floor and time floor of its state, the phases, the repeat count, the sync code, SIN
// only.
TEST_F(SeqRemote, ValidationBoundsOfASimState) {
    using Set = void (*)(SimStepRecord&, uint32_t);
    struct Case {
        const char* what;
        uint32_t state;
        Set set;
        uint32_t accepted, refused;
        int set01;  // -1 both sets, else the one set whose bound this is
    };
    const Set acv = [](SimStepRecord& r, uint32_t v) { r.acv = v; };
    const Set freq = [](SimStepRecord& r, uint32_t v) { r.freq = v; };
    const Set time = [](SimStepRecord& r, uint32_t v) { r.time = v; };
    const Case cases[] = {
        {"ACV of the 200V set", kSimNormal1, acv, 40000, 40001, 0},
        {"ACV of the 100V set", kSimNormal1, acv, 20000, 20001, 1},
        {"frequency of Trans 1", kSimTrans1, freq, 0, 0, -1},
        {"frequency of Trans 2", kSimTrans2, freq, 0, 0, -1},
        {"frequency of Initial", kSimInitial, freq, 100, 99, -1},
        {"frequency of Normal 1", kSimNormal1, freq, 100, 99, -1},
        {"frequency of Abnormal", kSimAbnormal, freq, 100, 99, -1},
        {"frequency of Normal 2", kSimNormal2, freq, 100, 99, -1},
        {"frequency maximum", kSimAbnormal, freq, 200000, 200001, -1},
        {"time of Initial", kSimInitial, time, 0, 0, -1},
        {"time of Trans 1", kSimTrans1, time, 0, 0, -1},
        {"time of Trans 2", kSimTrans2, time, 0, 0, -1},
        {"time of Normal 1", kSimNormal1, time, 1, 0, -1},
        {"time of Abnormal", kSimAbnormal, time, 1, 0, -1},
        {"time of Normal 2", kSimNormal2, time, 1, 0, -1},
        {"time maximum", kSimTrans2, time, 99999999, 100000000, -1},
        {"ON phase", kSimNormal2, [](SimStepRecord& r, uint32_t v) { r.onPhase = v; }, 3599, 3600, -1},
        {"OFF phase", kSimNormal2, [](SimStepRecord& r, uint32_t v) { r.offPhase = v; }, 3599, 3600, -1},
        {"repeat", kSimNormal2, [](SimStepRecord& r, uint32_t v) { r.repeat = v; }, 9999, 10000, -1},
        {"sync code", kSimInitial, [](SimStepRecord& r, uint32_t v) { r.syncCode = v; }, 3, 4, -1},
        {"waveform", kSimNormal2, [](SimStepRecord& r, uint32_t v) { r.wave = v; }, kWaveSin, kWaveSqu, -1},
    };
    ASSERT_EQ(SimValidateAll(4), 1);
    for (int set = 0; set < kSimSets; ++set) {
        for (const Case& c : cases) {
            if (c.set01 >= 0 && c.set01 != set) continue;
            SCOPED_TRACE(testing::Message() << c.what << ", set " << set);
            SimStepRecord& r = g_SimStepTable[set][0][c.state];
            const SimStepRecord keep = r;
            c.set(r, c.accepted);
            EXPECT_EQ(SimValidateSet(set), 1);
            c.set(r, c.refused);
            const bool refused = c.accepted != c.refused;
            EXPECT_EQ(SimValidateSet(set), refused ? 0 : 1);
            EXPECT_EQ(SimValidateAll(4), refused ? 0 : 1);
            EXPECT_EQ(SimValidateSet(1 - set), 1) << "the other set";
            r = keep;
        }
    }
}

// Each of the six tables by its own row: the lowest Fset (1.00 Hz with AC+DC, 15.00 Hz otherwise) and the
// Vpp ceiling of its range (1140.00 V at 200 V, 570.00 V at 100 V, checked from file version 5 on).
TEST_F(SeqRemote, EachTableChecksItsOwnRow) {
    const struct {
        int table;
        uint32_t fsetMin, vppMax, acvMax;
    } rows[] = {{0, 100, 114000, 40000}, {1, 100, 57000, 20000}, {2, 1500, 114000, 40000},
                {3, 1500, 57000, 20000}, {4, 1500, 114000, 40000}, {5, 1500, 57000, 20000}};
    ASSERT_EQ(SeqValidateAll(5), 1);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.table);
        SeqStepRecord& r = g_SeqStepTable[row.table][1][4];
        const SeqStepRecord keep = r;
        r.fset = row.fsetMin;
        EXPECT_EQ(SeqValidateAll(5), 1) << "lowest Fset";
        r.fset = row.fsetMin - 1;
        EXPECT_EQ(SeqValidateAll(5), 0) << "below the lowest Fset";
        r = keep;
        r.wave = kWaveSqu;
        r.acv = row.acvMax;
        r.dcv = 0;
        // In the AC kind the output limits of the range lie below the table's bound.
        if (row.table != 2 && row.table != 3) {
            EXPECT_EQ(SeqValidateAll(5), 1) << "ACV maximum";
        }
        r.acv = row.acvMax + 1;
        EXPECT_EQ(SeqValidateAll(5), 0) << "above the ACV maximum";
        r = keep;
        r.acvVpp = row.vppMax;
        EXPECT_EQ(SeqValidateAll(5), 1) << "Vpp ceiling";
        r.acvVpp = row.vppMax + 1;
        EXPECT_EQ(SeqValidateAll(5), 0) << "above the Vpp ceiling";
        EXPECT_EQ(SeqValidateAll(4), 1) << "no Vpp check before version 5";
        r = keep;
    }
}

}  // namespace
