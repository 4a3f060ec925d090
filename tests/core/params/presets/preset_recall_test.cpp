// Presets saved from and recalled into the parameter store: the recalled settings reach the power stage,
// values the present model does not allow are limited with one message per group, and the preset's own
// wiring decides the phases.
#include "core/params/presets/preset_recall.h"

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "core/control/calibration/cal_state.h"
#include "core/control/preset_output.h"
#include "core/params/param_ranges.h"
#include "core/params/presets/preset_store.h"
#include "core/system/messaging/msg_ring.h"
#include "tests/core/ctrl_fixture.h"
#include "tests/support/popup_passes.h"

using namespace test;

namespace {

class PresetRecall : public CtrlTest {
  protected:
    static void Start(uint32_t mode, uint32_t wiring, uint32_t rangeCode) {
        g_OutputModeIdx = mode;
        g_PhaseMode = wiring;
        g_ParamStore.rangeCode[mode] = rangeCode;
        ASSERT_LT(RunUntilReady(), 2000);
    }
    // The popup texts a recall posts (the recall the callers run: on to the output).
    static std::string Recall(uint32_t n) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(core::PresetRunForOutput(0, n), 0);
        return testing::internal::GetCapturedStdout();
    }
};

// The voltage kept, also with another waveform or output mode: the recall alone (no extra request of the
// caller) brings the preset's waveform and voltage to the stage, in the output mode and range it names.
TEST_F(PresetRecall, RecallOfAnotherWaveformKeepsThePresetsVoltage) {
    Start(kModeAcInt, 0, 1);
    ASSERT_EQ(SetWaveform(18, 0), 18);
    Poll(20);
    ASSERT_EQ(SetAcv(12000, 0), 12000);
    ASSERT_EQ(SetFrequency(6000), 6000);
    Poll(20);
    ASSERT_EQ(PresetRangeCheckRun(1, 3), 0);
    for (const auto& [mode, wave] : {std::pair{kModeAcInt, 18}, std::pair{kModeAcInt, 16},
                                     std::pair{kModeAcDcInt, 16}, std::pair{kModeAcDcInt, 17}}) {
        ASSERT_EQ(SetOutputMode(mode), mode);
        Poll(20);
        ASSERT_EQ(SetWaveform(wave, 0), wave);
        Poll(20);
        ASSERT_EQ(SetAcv(5000, 0), 5000);
        Poll(20);
        ASSERT_DOUBLE_EQ(WritesTo(2384).back().value, 50.0);
        ClearTrace();
        EXPECT_EQ(Recall(3), "");
        Poll(40);
        EXPECT_EQ(GetOutputMode(), kModeAcInt);
        EXPECT_EQ(GetFrequency(0), 6000);
        EXPECT_EQ(GetAcv(0), 12000) << "from mode " << mode << " wave " << wave;
        ASSERT_FALSE(WritesTo(2384).empty());
        EXPECT_NEAR(WritesTo(2384).back().value, 120.0, 1e-4) << "from mode " << mode << " wave " << wave;
    }
}

// A preset of the other balance mode: the mode change rebuilds nothing over the recalled settings.
TEST_F(PresetRecall, RecallOfTheOtherBalanceModeKeepsItsSettings) {
    Start(kModeAcInt, 0, 1);
    ASSERT_EQ(SetPhaseBalanceMode(1), 1);
    Poll(20);
    ASSERT_EQ(SetAcv(12000, 0), 12000);
    Poll(20);
    ASSERT_EQ(PresetRangeCheckRun(1, 6), 0);
    ASSERT_EQ(SetPhaseBalanceMode(0), 0);
    Poll(20);
    ASSERT_EQ(SetAcv(5000, 0), 5000);
    Poll(20);
    EXPECT_EQ(Recall(6), "");
    Poll(40);
    EXPECT_EQ(GetPhaseBalanceMode(), 1);
    EXPECT_EQ(GetAcv(0), 12000);
}

// Type 1 runs up to 2000 Hz, type 7 keeps higher currents up to 1000 Hz; a limit message closes a held popup.
TEST_F(PresetRecall, PresetOfAnotherModelIsLimitedToThisOne) {
    const std::string tail = " out of\nrange due to Preset\nmodification.\n(Setting ";
    Rebuild(1);
    Start(kModeAcInt, 0, 1);
    ASSERT_EQ(SetFrequency(150000), 150000);
    ASSERT_EQ(PresetRangeCheckRun(1, 0), 0);
    Rebuild(7);
    Start(kModeAcInt, 0, 1);
    ASSERT_EQ(SetCurrLimit(2000, 0), 2000);  // 20 A at 200 V
    ASSERT_EQ(PresetRangeCheckRun(1, 1), 0);
    ASSERT_EQ(PresetRangeCheckRun(1, 3), 0);
    ShowMessageHold("Alarm Clear\nPlease Wait...");
    testsupport::PopupPasses();
    ASSERT_EQ(MsgPopup_IsPersistent(), 1);
    EXPECT_EQ(Recall(0), "popup: Freq and Limit_Hi" + tail + "Freq Limited)\n");
    EXPECT_EQ(GetFrequency(0), 100000);
    testsupport::PopupPasses(1);
    EXPECT_EQ(MsgPopup_IsPersistent(), 0);
    ShowMessageHold("Held");
    testsupport::PopupPasses();
    EXPECT_EQ(Recall(3), "");
    testsupport::PopupPasses();
    EXPECT_EQ(MsgPopup_IsPersistent(), 1);
    MsgPopup_Close();
    Rebuild(1);
    Start(kModeAcInt, 0, 1);
    EXPECT_EQ(Recall(1), "popup: IRMS and IPK" + tail + "IRMS Limited)\n");
    EXPECT_EQ(GetCurrLimit(0), 788);  // 7.88 A, the 200 V maximum of model type 1
}

TEST_F(PresetRecall, PresetStoredIn1P3WRecallsL1AndL2Only) {
    Start(kModeAcInt, 2, 1);
    for (int p = 0; p < 2; ++p)
        ASSERT_EQ(SetAcv(10000 + 1000 * p, p), 10000 + 1000 * p);
    ASSERT_EQ(PresetRangeCheckRun(1, 5), 0);
    g_PhaseMode = 0;
    for (int p = 0; p < 3; ++p)
        ASSERT_EQ(SetAcv(15000, p), 15000);
    EXPECT_EQ(Recall(5), "");
    EXPECT_EQ(g_PhaseMode.load(), 2u);
    EXPECT_EQ((std::array{GetAcv(0), GetAcv(1), GetAcv(2)}), (std::array{10000, 11000, 15000}));
}

// The MISC settings each have their own place in every phase record of a saved preset: a byte, or a 32-bit
// word at 4 x its number.
TEST_F(PresetRecall, MiscSettingsAreSavedInTheirOwnBytes) {
    struct Field {
        uint32_t param;
        uint32_t at;  // byte offset, or word number when `word`
        bool word;
    };
    const Field fields[] = {
        {119, 29, false},  {105, 30, false},  {107, 31, false},  {109, 32, false},  {111, 33, false},
        {113, 34, false},  {115, 35, false},  {117, 36, false},  {133, 66, false},  {101, 68, false},
        {103, 69, false},  {194, 70, false},  {121, 71, false},  {123, 72, false},  {125, 73, false},
        {127, 74, false},  {135, 75, false},  {137, 76, false},  {97, 109, true},   {129, 136, true},
        {131, 137, true},  {196, 138, true},  {198, 139, true},  {200, 140, true},  {202, 141, true},
        {204, 142, true},  {206, 143, true},
    };
    Start(kModeAcInt, 0, 1);
    int32_t distinct = 40;
    for (const Field& f : fields)
        ASSERT_EQ(paramPutValue(f.param, f.word ? 1000 + distinct++ : distinct++, 0), 0) << f.param;
    ASSERT_EQ(PresetRangeCheckRun(1, 4), 0);
    for (uint32_t p = 0; p < 3; ++p) {
        const uint8_t* rec = PresetRecord(4, p);
        ASSERT_NE(rec, nullptr);
        distinct = 40;
        for (const Field& f : fields) {
            if (f.word) {
                int32_t v;
                std::memcpy(&v, rec + 4 * f.at, sizeof v);
                EXPECT_EQ(v, 1000 + distinct++) << "parameter " << f.param << ", phase " << p;
            } else {
                EXPECT_EQ(rec[f.at], distinct++) << "parameter " << f.param << ", phase " << p;
            }
        }
    }
}

// Settings kept once per output mode or range area have their own word of the phase record: the ON and OFF
// phases of each mode with an internal AC waveform (0, 1, 5, 6, 7, 8), the voltage and peak voltage limits
// of both range areas.
TEST_F(PresetRecall, PerModeAndAreaSettingsAreSavedInTheirOwnWords) {
    struct Field {
        uint32_t param, mode, rangeCode, word;
    };
    std::vector<Field> fields;
    const uint32_t acModes[6] = {0, 1, 5, 6, 7, 8};
    for (uint32_t i = 0; i < 6; ++i) {
        fields.push_back({64, acModes[i], 1, 67 + i});
        fields.push_back({68, acModes[i], 1, 73 + i});
    }
    for (uint32_t a = 0; a < 2; ++a) {
        fields.push_back({8, 0, a, 41 + a});
        fields.push_back({10, 0, a, 43 + a});
        fields.push_back({11, 0, a, 45 + a});
    }
    Start(kModeAcInt, 0, 1);
    for (uint32_t p = 0; p < 3; ++p) {
        for (size_t k = 0; k < fields.size(); ++k) {
            const Field& f = fields[k];
            ParamRec rec{};
            ASSERT_EQ(paramAccess(Access::kRead, f.param, &rec, {f.mode, f.rangeCode, 0, 0, p}), 0);
            rec.value = static_cast<int32_t>(100 + 7 * k + 1000 * p);
            ASSERT_EQ(paramAccess(Access::kWrite, f.param, &rec, {f.mode, f.rangeCode, 0, 0, p}), 0);
        }
    }
    ASSERT_EQ(PresetRangeCheckRun(1, 2), 0);
    for (uint32_t p = 0; p < 3; ++p) {
        const uint8_t* rec = PresetRecord(2, p);
        for (size_t k = 0; k < fields.size(); ++k) {
            int32_t v;
            std::memcpy(&v, rec + 4 * fields[k].word, sizeof v);
            EXPECT_EQ(v, static_cast<int32_t>(100 + 7 * k + 1000 * p))
                << "parameter " << fields[k].param << " mode " << fields[k].mode << " range "
                << fields[k].rangeCode << ", phase " << p;
        }
    }
}

// The ON and OFF phase enables come back as they were saved, off as well as on.
TEST_F(PresetRecall, PhaseEnablesComeBackAsSaved) {
    Start(kModeAcInt, 0, 1);
    for (int32_t saved : {0, 1}) {
        ASSERT_EQ(paramPutState(64, saved, 0), 0);
        ASSERT_EQ(paramPutState(68, 1 - saved, 0), 0);
        ASSERT_EQ(PresetRangeCheckRun(1, 7), 0);
        paramPutState(64, 1 - saved, 0);
        paramPutState(68, saved, 0);
        EXPECT_EQ(Recall(7), "");
        EXPECT_EQ(GetOnPhaseState(0), saved);
        EXPECT_EQ(GetOffPhaseState(0), 1 - saved);
    }
}

// While a calibration is in progress a recall (a scanned line, a trigger) is refused and changes nothing;
// a save still runs.
TEST_F(PresetRecall, RecallIsRefusedWhileACalibrationIsInProgress) {
    Start(kModeAcInt, 0, 1);
    ASSERT_EQ(PresetRangeCheckRun(1, 4), 0);
    ASSERT_EQ(SetOutputMode(kModeDcInt), kModeDcInt);
    g_CalState.mode.store(0x11);
    EXPECT_EQ(core::PresetRunForOutput(0, 4), -1);
    EXPECT_EQ(g_OutputModeIdx.load(), kModeDcInt);
    EXPECT_EQ(core::PresetRunForOutput(1, 5), 0);
    g_CalState.mode.store(0);
    EXPECT_EQ(Recall(4), "");
    EXPECT_EQ(g_OutputModeIdx.load(), kModeAcInt);
}

TEST_F(PresetRecall, PresetNumbersOutsideTheTenAreRefused) {
    for (uint32_t n : {10u, 0xFFFFFFFFu})
        EXPECT_EQ(PresetRangeCheckRun(1, n) + PresetRangeCheckRun(0, n), -2);
}

}  // namespace
