// The SEQ field accessors on the simulated power stage: limits, re-rounding, the step-0 rule, the mended
// setters and the memory names with their file.
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
    // Whole degrees from 500.01 Hz on.
    SeqSetFset(50000, 1);
    SeqSetOnPhase(1234, 1);
    SeqSetFset(50000, 1);
    EXPECT_EQ(SeqGetOnPhase(1), 1234);
    SeqSetFset(50001, 1);
    EXPECT_EQ(SeqGetOnPhase(1), 1230);
}

TEST_F(SeqFields, StepZeroRefusesJumpsAndTermination) {
    SeqSetCurStep(0);
    EXPECT_EQ(SeqSetJumpto(5), 0);
    EXPECT_EQ(SeqSetJumpCnt(3), 0);
    EXPECT_EQ(SeqSetTerm(kTermEnd), 0);
    EXPECT_EQ(SeqGetJumpto(), 0);
    EXPECT_TRUE(test::Writes().empty());
    SeqSetCurStep(1);
    EXPECT_EQ(SeqSetJumpto(5), 5);
    EXPECT_EQ(test::OnlyWriteTo(787).raw, 5u);
    EXPECT_EQ(test::OnlyWriteTo(787).word, 1u);
}

// A remote SEQ:CPAR reaches the setters unchecked: a refused value on another step sends nothing.
TEST_F(SeqFields, RefusedValueWritesNoRegister) {
    SeqSetCurStep(1);
    ASSERT_EQ(SeqSetJumpCnt(5), 5);
    ASSERT_EQ(SeqSetOnPhase(100, 0), 100);
    ASSERT_EQ(SeqSetBalance_L2(900), 900);
    SeqSetCurStep(2);
    test::ClearTrace();
    SeqSetJumpCnt(12345);
    SeqSetOnPhase(5000, 0);
    SeqSetBalance_L2(4000);
    EXPECT_TRUE(test::Writes().empty());
}

TEST_F(SeqFields, OutOfRangeCodesAreRefused) {
    SeqSetCurStep(3);
    for (int32_t wave : {0, 257, 300, -1}) {
        EXPECT_EQ(SeqSetWave(wave, 0, 0), kWaveSin) << wave;
        EXPECT_EQ(SeqGetWave(0), kWaveSin) << "record keeps its code";
        EXPECT_EQ((g_SeqSimOutCtrl[0] >> 6) & 0x1FFu, uint32_t{kWaveSin});
    }
    EXPECT_EQ(SeqSetWave(256, 0, 0), 256);
    SeqSetTerm(kTermHold);
    SeqSetTerm(3);
    EXPECT_EQ(SeqGetTerm(), int32_t{kTermHold});
    SeqSetCurStep(1000);
    EXPECT_EQ(SeqGetCurStep(), 3);
    // A loaded code beyond the tables: limits and the Vpp test stay in bounds.
    g_SeqSimBlock[0].seqTable[0][3].wave = 300;
    EXPECT_EQ(SeqGetAcvVppMax(0), 0);
    EXPECT_EQ(SeqSetAcv(1000, 0), 0);
}

TEST_F(SeqFields, DcKindReadsNoAcFields) {
    SeqSetCurStep(4);
    SetOutputMode(2);
    for (int32_t v : {SeqGetAcv(0), SeqGetFset(0), SeqGetWave(0), SeqGetDuty(0), SeqGetOnPhase(0),
                      SeqGetEnOnPhase(0), SeqGetBalance_L2()})
        EXPECT_EQ(v, 0);
    EXPECT_EQ(SeqGetTime(), 1000);
    SetOutputMode(1);
    EXPECT_EQ(SeqGetDcv(0), 0);
    EXPECT_EQ(SeqGetFset(0), 5000);
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
    EXPECT_EQ(SeqSimNamesLoad(), 1);
    EXPECT_EQ(SimGetMemName(1), "Dip");
    EXPECT_EQ(std::string(g_SeqMemName[9], 20), std::string(full, 20));
    file[30] ^= 1;
    env_.ctrl.env.root.Write("/mnt/tst/seq/NAMES.SSN", file);
    testing::internal::CaptureStderr();
    EXPECT_EQ(SeqSimNamesLoad(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "SEQ/SIM memory names reset: stored file damaged\n");
    EXPECT_EQ(SimGetMemName(1), "");
    EXPECT_EQ(g_SeqMemName[9][0], '\0');
}

}  // namespace
