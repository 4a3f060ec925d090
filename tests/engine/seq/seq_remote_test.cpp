// Remote step writes and whole-table validation.
#include "engine/seq/seq_remote.h"

#include <vector>

#include "core/system/messaging/msg_ring.h"
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
                 {50000, 995, -108, 373}};  // refused whole: the frequency does not re-round the duty
    SeqSetCurStep(5);
    for (const Case& c : cases) {
        EXPECT_EQ(SeqSetStepPhaseParams(1000, 0, 0, 0, c.fset, 0, kWaveCodeSqu, c.duty, 0), c.result) << c.duty;
        EXPECT_EQ(SeqGetDuty(0), c.stored) << c.duty;
    }
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
        EXPECT_EQ(SeqGetTime(), c.running ? 1000 : 2000) << "a refused write takes no time either";
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
        ASSERT_EQ(SeqSetStepPhaseParams(10000, 0, 2500, 0, 6000, 0, kWaveCodeSin, 500, 0), 0) << running;
        EXPECT_EQ(SeqGetAbsStep(), running ? 0 : 5) << running;
        EXPECT_EQ(SeqGetAcv(0), 10000) << running;
        EXPECT_EQ(SeqGetDcv(0), 2500) << running;
        EXPECT_EQ(SeqGetFset(0), 6000) << running;
    }
    g_SeqSimBlock[0].flags = 0;
    EXPECT_EQ(test::PopupText(), "") << "every read-back matched";
}

// The wirings and the phase selected for remote editing: which phases a remote write reaches (1P3W: L1
// and L2 whatever is selected, L2 with the DC voltage of opposite polarity).
struct WiringRow {
    uint32_t wiring;  // 0 3P4W, 1 1P2W, 2 1P3W
    uint32_t selected;
    bool writes[3];
};
constexpr WiringRow kWiringRows[] = {
    {0, 0, {true, false, false}}, {0, 1, {false, true, false}}, {0, 2, {false, false, true}},
    {1, 0, {true, false, false}}, {2, 0, {true, true, false}},  {2, 1, {true, true, false}},
    {2, 2, {true, true, false}},
};
// The per-phase words of a record (the step-global words live in L1's record).
std::vector<uint32_t> PhaseWords(const SeqStepRecord& r) {
    return {r.flags & 0x7FFu, r.acv, static_cast<uint32_t>(r.dcv), r.fset, r.wave, r.duty, r.onPhase, r.offPhase,
            r.acvVpp};
}
// An output kind entered as the panel does it: its tables selected and downloaded.
void EnterKind(uint32_t kind) {
    SetOutputMode(kind);
    SeqSimSelectTables();
    SeqDownloadAll();
}
void ResetToDownloadedDefaults() {
    g_PhaseMode = 0;
    g_SeqSimRemoteSel[0] = 0;
    EnterKind(0);
}


// Every per-phase value of a remote write, in each output kind, each wiring and selected phase: the phases
// the wiring names take every value (a kind without the field reads 0), the others keep their records and
// get no register writes.
TEST_F(SeqRemote, PhaseWriteReachesTheWiringsPhasesWithEveryValue) {
    struct Values {
        int32_t acv, acvType, dcv, dcvType, fset, fsetType, wave, duty;
    };
    const Values values[] = {{10000, kTypeKP, 2500, kTypeSP, 6000, kTypeCT, kWaveCodeSqu, 300},
                             {12000, kTypeSP, -3100, kTypeCT, 7000, kTypeKP, kWaveCodeTri, 700}};
    for (uint32_t kind = 0; kind < 3; ++kind) {
        EnterKind(kind);
        for (const WiringRow& row : kWiringRows) {
            for (const Values& v : values) {
                SCOPED_TRACE(testing::Message() << "kind " << kind << ", wiring " << row.wiring << ", selected "
                                                << row.selected << ", ACV " << v.acv);
                g_PhaseMode = row.wiring;
                g_SeqSimRemoteSel[0] = row.selected;
                SeqSetCurStep(5);
                std::vector<uint32_t> before[3];
                for (int p = 0; p < 3; ++p)
                    before[p] = PhaseWords(g_SeqSimBlock[p].seqTable[kind][5]);
                test::ClearTrace();
                const bool ac = kind != 2, dc = kind != 1;
                // The DC kind has no frequency: a client sends 0 there (any other value goes to the stage's
                // register while the step reads 0, and the read-back reports a mismatch).
                ASSERT_EQ(SeqSetStepPhaseParams(v.acv, v.acvType, v.dcv, v.dcvType, ac ? v.fset : 0, v.fsetType,
                                                v.wave, v.duty, 0),
                          0);
                for (int p = 0; p < 3; ++p) {
                    SCOPED_TRACE(testing::Message() << "phase " << p);
                    const auto p16 = static_cast<uint16_t>(p);
                    if (!row.writes[p]) {
                        EXPECT_EQ(PhaseWords(g_SeqSimBlock[p].seqTable[kind][5]), before[p]);
                        for (uint16_t reg : {769, 772, 775, 778, 781, 784, 801})
                            EXPECT_TRUE(test::WritesTo(reg + p16).empty()) << reg + p16;
                        continue;
                    }
                    const bool l2 = row.wiring == 2 && p == 1;
                    EXPECT_EQ(SeqGetAcv(p), ac ? v.acv : 0);
                    EXPECT_EQ(SeqGetAcvMode(p), ac ? v.acvType : 0);
                    EXPECT_EQ(SeqGetDcv(p), dc ? (l2 ? -v.dcv : v.dcv) : 0);
                    EXPECT_EQ(SeqGetDcvMode(p), dc ? v.dcvType : 0);
                    EXPECT_EQ(SeqGetFset(p), ac ? v.fset : 0);
                    EXPECT_EQ(SeqGetFsetMode(p), ac ? v.fsetType : 0);
                    EXPECT_EQ(SeqGetWave(p), ac ? v.wave : 0);
                    EXPECT_EQ(SeqGetDuty(p), ac ? v.duty : 0);
                    EXPECT_FALSE(test::WritesTo(769 + p16).empty());
                    EXPECT_FALSE(test::WritesTo((dc ? 772 : 775) + p16).empty());
                    EXPECT_FALSE(test::WritesTo(778 + p16).empty());
                }
                EXPECT_EQ(test::PopupText(), "") << "every read-back matched";
            }
        }
    }
    ResetToDownloadedDefaults();
}

// The step-global values and the ON/OFF phases of a remote common write, likewise in each kind and wiring.
TEST_F(SeqRemote, CommonWriteReachesTheWiringsPhasesWithEveryValue) {
    for (uint32_t kind = 0; kind < 3; ++kind) {
        EnterKind(kind);
        for (const WiringRow& row : kWiringRows) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << ", wiring " << row.wiring << ", selected "
                                            << row.selected);
            g_PhaseMode = row.wiring;
            g_SeqSimRemoteSel[0] = row.selected;
            SeqSetCurStep(6);
            std::vector<uint32_t> before[3];
            for (int p = 0; p < 3; ++p)
                before[p] = PhaseWords(g_SeqSimBlock[p].seqTable[kind][6]);
            test::ClearTrace();
            ASSERT_EQ(SeqSetStepCommonParams(2000, 1234, 1, 2345, 1, kTermHold, 7, 1, 3, 2, 8, 1, 9, 1), 0);
            EXPECT_EQ(SeqGetTime(), 2000);
            EXPECT_EQ(SeqGetTerm(), int32_t{kTermHold});
            EXPECT_EQ(SeqGetJumpto(), 7);
            EXPECT_EQ(SeqGetEnJumpto(), 1);
            EXPECT_EQ(SeqGetJumpCnt(), 3);
            EXPECT_EQ(SeqGetSyncCode(), 2);
            EXPECT_EQ(SeqGetBranch1(), 8);
            EXPECT_EQ(SeqGetEnBranch1(), 1);
            EXPECT_EQ(SeqGetBranch2(), 9);
            EXPECT_EQ(SeqGetEnBranch2(), 1);
            EXPECT_EQ(test::StepWord(768, 6), uint32_t{2u | kStatJump | kStatHold | kStatBranch1 | kStatBranch2});
            const bool ac = kind != 2;
            for (int p = 0; p < 3; ++p) {
                SCOPED_TRACE(testing::Message() << "phase " << p);
                if (!row.writes[p]) {
                    EXPECT_EQ(PhaseWords(g_SeqSimBlock[p].seqTable[kind][6]), before[p]);
                    continue;
                }
                EXPECT_EQ(SeqGetOnPhase(p), ac ? 1234 : 0);
                EXPECT_EQ(SeqGetEnOnPhase(p), ac ? 1 : 0);
                EXPECT_EQ(SeqGetOffPhase(p), ac ? 2345 : 0);
                EXPECT_EQ(SeqGetEnOffPhase(p), ac ? 1 : 0);
            }
            EXPECT_EQ(test::PopupText(), "") << "every read-back matched";
        }
    }
    ResetToDownloadedDefaults();
}

// The first refused value of a remote write names itself; each bound at its last accepted value too.
TEST_F(SeqRemote, EachRefusedValueHasItsCode) {
    struct Phase {
        int32_t acv, dcv, fset, duty, angle;
        uint32_t selected;
        int32_t result;
    };
    const Phase phase[] = {
        {-1, 0, 5000, 500, 0, 0, -101},       {1000, 0, 5000, 500, 0, 0, 0},
        {1000, -99999, 5000, 500, 0, 0, -103}, {1000, 99999, 5000, 500, 0, 0, -103},
        {1000, 0, 99, 500, 0, 0, -105},       {1000, 0, 100, 500, 0, 0, 0},
        {1000, 0, 200001, 500, 0, 0, -105},   {1000, 0, 5000, 0, 0, 0, -108},
        {1000, 0, 5000, 1, 0, 0, 0},          {1000, 0, 5000, 999, 0, 0, 0},
        {1000, 0, 5000, 1000, 0, 0, -108},    {1000, 0, 5000, 500, 3599, 1, 0},
        {1000, 0, 5000, 500, 3600, 1, -1},    {1000, 0, 5000, 500, 3599, 2, 0},
        {1000, 0, 5000, 500, 3600, 2, -1},    {1000, 0, 5000, 500, -1, 2, -1},
    };
    SeqSetCurStep(5);
    for (const Phase& c : phase) {
        SCOPED_TRACE(testing::Message() << c.acv << " " << c.dcv << " " << c.fset << " " << c.duty << " "
                                        << c.angle << " L" << c.selected + 1);
        g_SeqSimRemoteSel[0] = c.selected;
        EXPECT_EQ(SeqSetStepPhaseParams(c.acv, 0, c.dcv, 0, c.fset, 0, kWaveCodeSqu, c.duty, c.angle), c.result);
    }
    g_SeqSimRemoteSel[0] = 0;
    struct Common {
        int32_t time, on, off, jumpto, jumpCnt, b1, b2;
        int32_t result;
    };
    const Common common[] = {
        {0, 0, 0, 0, 0, 0, 0, -101},          {1, 0, 0, 0, 0, 0, 0, 0},
        {99999999, 0, 0, 0, 0, 0, 0, 0},      {100000000, 0, 0, 0, 0, 0, 0, -101},
        {10, 3599, 0, 0, 0, 0, 0, 0},         {10, 3600, 0, 0, 0, 0, 0, -102},
        {10, -1, 0, 0, 0, 0, 0, -102},        {10, 0, 3599, 0, 0, 0, 0, 0},
        {10, 0, 3600, 0, 0, 0, 0, -104},      {10, 0, 0, 999, 0, 0, 0, 0},
        {10, 0, 0, 1000, 0, 0, 0, -107},      {10, 0, 0, -1, 0, 0, 0, -107},
        {10, 0, 0, 0, 9999, 0, 0, 0},         {10, 0, 0, 0, 10000, 0, 0, -109},
        {10, 0, 0, 0, 0, 999, 0, 0},          {10, 0, 0, 0, 0, 1000, 0, -111},
        {10, 0, 0, 0, 0, 0, 999, 0},          {10, 0, 0, 0, 0, 0, 1000, -113},
    };
    for (const uint32_t step : {5u, 0u}) {
        SeqSetCurStep(static_cast<int32_t>(step));
        for (const Common& c : common) {
            SCOPED_TRACE(testing::Message() << "step " << step << ": " << c.time << " " << c.on << " " << c.off
                                            << " " << c.jumpto << " " << c.jumpCnt << " " << c.b1 << " " << c.b2);
            // Step 0 takes no jump, count or branch target: a refused one is no error there.
            const bool target = c.result <= -107;
            EXPECT_EQ(SeqSetStepCommonParams(c.time, c.on, 0, c.off, 0, 0, c.jumpto, 0, c.jumpCnt, 0, c.b1, 0, c.b2, 0),
                      step == 0 && target ? 0 : c.result);
        }
    }
}

// An ACV above the limit of the new waveform (or above the Vpp ceiling of a step held in Vpp) is refused
// before anything is written: the step keeps its ACV, and no "limited" popup; in 1P3W L2 alike.
TEST_F(SeqRemote, AcvAboveTheLimitIsRefusedWhole) {
    core::ParamSetWaveFactor(0, 1.2f);
    const struct {
        uint32_t unit, wiring;
        int32_t wave;
    } rows[] = {{0, 0, kWaveCodeSin}, {0, 2, kWaveCodeSqu}, {1, 0, 1}, {1, 2, 1}};
    SeqSetCurStep(5);
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "unit " << row.unit << ", wiring " << row.wiring << ", wave " << row.wave);
        SetAcvUnit(row.unit);
        g_PhaseMode = row.wiring;
        for (int p : {0, 1})
            SeqSetWave(row.wave, p, 0);
        const int32_t limit = row.unit == 1 ? SeqGetAcvVppMax(0) : SeqGetStepAcvMax(0);
        ASSERT_GT(limit, 1000);
        for (int p : {0, 1})
            SeqSetAcv(1000, p);
        g_MsgFreeText[0] = '\0';
        EXPECT_EQ(SeqSetStepPhaseParams(limit + 1, 0, 0, 0, 5000, 0, row.wave, 500, 0), -101);
        EXPECT_EQ(test::PopupText(), "");
        EXPECT_EQ(SeqGetAcv(0), 1000);
        EXPECT_EQ(SeqGetAcv(1), 1000);
        EXPECT_EQ(SeqSetStepPhaseParams(limit, 0, 0, 0, 5000, 0, row.wave, 500, 0), 0) << "the limit itself";
        EXPECT_EQ(SeqGetAcv(1), row.wiring == 2 ? limit : 1000);
    }
    SetAcvUnit(0);
    g_PhaseMode = 0;
}

// A word of a step record, and a three-bit field of its flags, set to a value.
template <uint32_t SeqStepRecord::*Word>
void SetWord(SeqStepRecord& r, int64_t v) {
    r.*Word = static_cast<uint32_t>(v);
}
template <uint32_t Shift>
void SetField(SeqStepRecord& r, int64_t v) {
    r.flags = (r.flags & ~(7u << Shift)) | static_cast<uint32_t>(v) << Shift;
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
    using R = SeqStepRecord;
    const Case cases[] = {
        {"time low", SetWord<&R::time>, 1, 0},          {"time high", SetWord<&R::time>, 99999999, 100000000},
        {"wave low", SetWord<&R::wave>, 1, 0},          {"wave high", SetWord<&R::wave>, 256, 257},
        {"ON phase", SetWord<&R::onPhase>, 3599, 3600}, {"OFF phase", SetWord<&R::offPhase>, 3599, 3600},
        {"L2 angle", SetWord<&R::angleL2>, 3599, 3600}, {"L3 angle", SetWord<&R::angleL3>, 3599, 3600},
        {"Jump To", SetWord<&R::jumpTo>, 999, 1000},    {"Branch 1", SetWord<&R::branch1>, 999, 1000},
        {"Branch 2", SetWord<&R::branch2>, 999, 1000},  {"Jump Cnt", SetWord<&R::jumpCnt>, 9999, 10000},
        {"sync code", SetWord<&R::syncCode>, 3, 4},     {"Fset high", SetWord<&R::fset>, 200000, 200001},
        {"termination", SetField<kSeqTermShift>, kTermHold, kTermHold + 1},
        {"ACV type", SetField<kSeqAcvTypeShift>, kTypeSP, kTypeSP + 1},
        {"DCV type", SetField<kSeqDcvTypeShift>, kTypeSP, kTypeSP + 1},
        {"Fset type", SetField<kSeqFsetTypeShift>, kTypeSP, kTypeSP + 1},
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
    // With parallel operation a frequency above 1000.00 Hz is clamped to it in the table and counts as a
    // violation, in a SEQ step and a SIM state alike.
    g_SeqStepTable[3][0][7].fset = 120000;
    g_SimStepTable[1][0][kSimAbnormal].freq = 100001;
    EXPECT_EQ(SeqValidateAll(5), 1);
    EXPECT_EQ(SimValidateAll(4), 1);
    SetParallelEnable(1);
    EXPECT_EQ(SeqValidateAll(5), 0);
    EXPECT_EQ(SimValidateAll(4), 0);
    EXPECT_EQ(g_SeqStepTable[3][0][7].fset, 100000u) << "clamped for parallel operation";
    EXPECT_EQ(g_SimStepTable[1][0][kSimAbnormal].freq, 100000u);
    EXPECT_EQ(SeqValidateAll(5), 1) << "valid once clamped";
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
        {"waveform", kSimNormal2, [](SimStepRecord& r, uint32_t v) { r.wave = v; }, kWaveCodeSin, kWaveCodeSqu, -1},
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
        r.wave = kWaveCodeSqu;
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
