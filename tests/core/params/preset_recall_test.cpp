// Presets saved from and recalled into the parameter store: the recalled settings reach the power stage,
// values the present model does not allow are limited with one message per group, and the preset's own
// wiring decides the phases.
#include "core/params/preset_recall.h"

#include <cstring>
#include <string>

#include "core/control/output_sync.h"
#include "core/params/preset_store.h"
#include "tests/core/ctrl_fixture.h"

using namespace test;

namespace {

constexpr uint32_t kAcInt = 1;

class PresetRecall : public CtrlTest {
  protected:
    static void Start(uint32_t mode, uint32_t wiring, uint32_t rangeCode) {
        g_OutputModeIdx = mode;
        g_PhaseMode = wiring;
        g_ParamStore.rangeCode[mode] = rangeCode;
        ASSERT_LT(RunUntilReady(), 2000);
    }
    // The popup texts a recall posts.
    static std::string Recall(uint32_t n) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(PresetRangeCheckRun(0, n), 0);
        return testing::internal::GetCapturedStdout();
    }
};

TEST_F(PresetRecall, RecalledVoltageReachesTheStage) {
    Start(kAcInt, 0, 1);
    ASSERT_EQ(SetAcv(12340, 0), 12340);
    ASSERT_EQ(PresetRangeCheckRun(1, 3), 0);
    ASSERT_EQ(SetAcv(20000, 0), 20000);
    Poll(5);
    ASSERT_DOUBLE_EQ(WritesTo(2384).back().value, 200.0);
    ClearTrace();
    EXPECT_EQ(Recall(3), "");
    g_FullRewriteReq = 1;
    g_BalanceRecheckReq = 1;
    g_OutputRefresh = 1;
    Poll(5);
    EXPECT_EQ(GetAcv(0), 12340);
    ASSERT_FALSE(WritesTo(2384).empty());
    EXPECT_NEAR(WritesTo(2384).back().value, 123.4, 1e-4);
}

// Model type 7 (a 6 kVA system of two units, 1000 Hz) keeps higher currents than model type 1 (a single
// 4.5 kVA unit, 2000 Hz).
TEST_F(PresetRecall, PresetOfALargerModelIsLimitedOnASmallerOne) {
    Rebuild(7);
    Start(kAcInt, 0, 1);
    ASSERT_EQ(SetCurrLimit(2000, 0), 2000);  // 20 A at 200 V
    ASSERT_EQ(PresetRangeCheckRun(1, 0), 0);
    Rebuild(1);
    Start(kAcInt, 0, 1);
    const std::string out = Recall(0);
    // Its peak current limits are beyond model type 1's too; its frequencies are not.
    EXPECT_EQ(out,
              "popup: IRMS and IPK out of\nrange due to Preset\nmodification.\n(Setting IRMS Limited)\n");
    EXPECT_EQ(GetCurrLimit(0), 788);  // 7.88 A, the 200 V maximum of model type 1
}

TEST_F(PresetRecall, EachLimitedGroupGetsOneMessage) {
    Rebuild(7);  // frequencies up to 1000.00 Hz
    Start(kAcInt, 0, 1);
    ASSERT_EQ(PresetRangeCheckRun(1, 1), 0);
    uint8_t saved[kPresetRecordSize];
    std::memcpy(saved, PresetRecord(1, 0), sizeof saved);
    const std::string freq = " out of\nrange due to Preset\nmodification.\n(Setting Freq Limited)\n";
    const std::string curr = " out of\nrange due to Preset\nmodification.\n(Setting IRMS Limited)\n";
    struct Case {
        uint32_t word[2];  // fields changed (0: none)
        int32_t value[2];
        std::string popups;
    } cases[] = {
        {{0, 0}, {0, 0}, ""},
        {{47, 0}, {150000, 0}, "popup: Freq" + freq},
        {{51, 0}, {150000, 0}, "popup: Freq Limit_Hi" + freq},
        {{48, 52}, {150000, 150000}, "popup: Freq and Limit_Hi" + freq},
        {{56, 0}, {999900, 0}, "popup: IRMS" + curr},
        {{63, 0}, {-999900, 0}, "popup: IPK" + curr},
        {{55, 60}, {999900, 999900}, "popup: IRMS and IPK" + curr},
        {{47, 55}, {150000, 999900}, "popup: Freq" + freq + "popup: IRMS" + curr},
    };
    for (const Case& c : cases) {
        for (uint32_t p = 0; p < 3; ++p) {
            uint8_t* r = PresetRecord(1, p);
            std::memcpy(r, saved, sizeof saved);
            for (int i = 0; i < 2; ++i)
                if (c.word[i] != 0) PresetWordPut(r, c.word[i], c.value[i]);
        }
        EXPECT_EQ(Recall(1), c.popups) << c.word[0] << " " << c.word[1];
    }
    // The limited values are the model's maxima.
    EXPECT_EQ(g_ParamStore.unit[2].mode[0].freq.value, 100000);
}

TEST_F(PresetRecall, PresetStoredIn1P3WRecallsL1AndL2Only) {
    Start(kAcInt, 2, 1);
    for (int p = 0; p < 2; ++p)
        ASSERT_EQ(SetAcv(10000 + 1000 * p, p), 10000 + 1000 * p);
    ASSERT_EQ(PresetRangeCheckRun(1, 5), 0);
    g_PhaseMode = 0;
    for (int p = 0; p < 3; ++p)
        ASSERT_EQ(SetAcv(15000, p), 15000);
    EXPECT_EQ(Recall(5), "");
    EXPECT_EQ(g_PhaseMode.load(), 2u);
    EXPECT_EQ(GetAcv(0), 10000);
    EXPECT_EQ(GetAcv(1), 11000);
    EXPECT_EQ(GetAcv(2), 15000);
}

TEST_F(PresetRecall, PresetNumbersOutsideTheTenAreRefused) {
    Start(kAcInt, 0, 1);
    std::memset(g_PresetStore, 0x5A, sizeof g_PresetStore);
    for (uint32_t n : {10u, 0xFFFFFFFFu}) {
        EXPECT_EQ(PresetRangeCheckRun(1, n), -1);
        EXPECT_EQ(PresetRangeCheckRun(0, n), -1);
    }
    for (size_t i = 0; i < sizeof g_PresetStore; ++i)
        ASSERT_EQ(reinterpret_cast<const uint8_t*>(g_PresetStore)[i], 0x5A);
}

}  // namespace
