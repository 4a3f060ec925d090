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

TEST_F(SeqRemote, ValidationOfTables) {
    EXPECT_EQ(SeqValidateAll(5), 1);
    EXPECT_EQ(SimValidateAll(4), 1);
    g_SimStepTable[0][0][kSimInitial].time = 0;
    EXPECT_EQ(SimValidateAll(4), 1) << "Initial may have time 0";
    g_SimStepTable[1][0][kSimNormal1].time = 0;
    EXPECT_EQ(SimValidateAll(4), 0);

    struct Case {
        const char* what;
        void (*spoil)(SeqStepRecord&);
    } cases[] = {
        {"KP at step 0", [](SeqStepRecord& r) { r.flags |= kTypeKP << kSeqAcvTypeShift; }},
        {"wave 300", [](SeqStepRecord& r) { r.wave = 300; }},
        {"time 0", [](SeqStepRecord& r) { r.time = 0; }},
        {"termination 3", [](SeqStepRecord& r) { r.flags |= 3u << kSeqTermShift; }},
    };
    for (const Case& c : cases) {
        SeqStepRecord& r = g_SeqStepTable[0][2][0];
        const SeqStepRecord keep = r;
        c.spoil(r);
        EXPECT_EQ(SeqValidateAll(5), 0) << c.what;
        r = keep;
    }
    g_SeqStepTable[3][0][7].fset = 120000;
    EXPECT_EQ(SeqValidateAll(5), 1);
    SetParallelEnable(1);
    EXPECT_EQ(SeqValidateAll(5), 0);
    EXPECT_EQ(g_SeqStepTable[3][0][7].fset, 100000u) << "clamped for parallel operation";
}

// Each of the six tables by its own row: the lowest Fset (1.00 Hz with AC+DC, 15.00 Hz otherwise) and the
// Vpp ceiling of its range (1140.00 V at 200 V, 570.00 V at 100 V, checked from file version 5 on).
TEST_F(SeqRemote, EachTableChecksItsOwnRow) {
    const struct {
        int table;
        uint32_t fsetMin, vppMax;
    } rows[] = {{0, 100, 114000}, {1, 100, 57000}, {2, 1500, 114000},
                {3, 1500, 57000}, {4, 1500, 114000}, {5, 1500, 57000}};
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
        r.acvVpp = row.vppMax;
        EXPECT_EQ(SeqValidateAll(5), 1) << "Vpp ceiling";
        r.acvVpp = row.vppMax + 1;
        EXPECT_EQ(SeqValidateAll(5), 0) << "above the Vpp ceiling";
        EXPECT_EQ(SeqValidateAll(4), 1) << "no Vpp check before version 5";
        r = keep;
    }
}

}  // namespace
