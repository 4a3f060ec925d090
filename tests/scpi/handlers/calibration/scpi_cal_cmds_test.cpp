// CAL:CONF:MODE's data exits and one-shot calibrations through the channel's real execution path, on the
// simulated stage with a scripted calibration status: the mode and command words the stage is given, the
// messages, the calibration-mode object's event and the return home.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "core/control/calibration/calibration.h"
#include "core/control/hooks/screen_request.h"
#include "core/system/config/model_table.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"
#include "tests/core/ctrl_fixture.h"
#include "tests/scpi/scpi_channel_fixture.h"

namespace {

using scpitest::kProtected;

constexpr uint16_t kCaliModeReg = 2353, kCaliCmdReg = 2354;
constexpr uint32_t kDone = 1u << 3, kDoneFirstOk = 1u | 1u << 3;

std::atomic<int> g_homeCalls{0};
std::atomic<uint32_t> g_pointPage{0};

class CalModeCommands : public ::testing::Test {
  protected:
    test::CtrlEnv ctrl;
    scpitest::MenuEnv env;
    scpitest::FakeChannel ch{kChanLan};

    void SetUp() override {
        ScreenRequestRunners hooks{};
        hooks.advanceScreen = [] { g_homeCalls.fetch_add(1); };
        hooks.calibrationPage = [](uint32_t state, int32_t) { g_pointPage.store(state); };
        ScreenRequest_SetRunners(hooks);
        CaliMode_Step();
        CaliMode_Step();
        g_homeCalls.store(0);
        g_ModelId.store(1);  // the password needs a model
        plat::SetTimeScale(100);  // the stage's seconds of work pass in 10 ms
    }
    void TearDown() override {
        plat::SetTimeScale(1);
        ScreenRequest_SetRunners({});
        SysStatusClear(kSysCaliAccess);
    }
    static std::vector<uint32_t> Words(uint16_t reg) { return test::RawsTo(reg); }
    static uint32_t PendingModeEvent() {
        const uint32_t state = g_CaliModeObj.state.load();
        return g_CaliModeObj.rows[state < kStepRows ? state : 0].msg.load();
    }
};

TEST_F(CalModeCommands, DataExitsAndOneShotsThroughTheParser) {
    const struct {
        const char* message;
        uint32_t status;
        std::vector<uint32_t> mode, cmd;
        std::string popups;  // the console copy of the popup texts
        uint32_t event;      // the mode object's, 0 none; the panel goes home with it
    } cases[] = {
        {"CAL:CONF:MODE SAVE", kDone, {}, {4}, "popup: Save & Exit\n", 9006},
        {"CAL:CONF:MODE REC", kDone, {}, {2}, "popup: Recall & Exit\n", 9008},
        {"CAL:CONF:MODE RECALL", kDoneFirstOk, {}, {2}, "popup: Recall & Exit\n", 9008},
        {"CAL:CONF:MODE DEF", kDone, {}, {1}, "popup: Default & Exit\n", 9007},
        {"CAL:CONF:MODE SAVE", 2u << 3, {}, {4}, "popup: SAVE_Cali fail\n\n", 0},
        {"CAL:CONF:MODE EXIT", kDone, {}, {}, "", 9005},
        {"CAL:CONF:MODE EXT", kDoneFirstOk, {0x47}, {8}, "popup: Processing\npopup: Ext Offset\nCalibration Success\n", 0},
        {"CAL:CONF:MODE 6", 2, {0x47}, {8}, "popup: Processing\npopup: Ext Offset\nCalibration Fail\n", 0},
        {"CAL:CONF:MODE CAP", kDoneFirstOk, {0x87}, {8},
         "popup: Processing\npopup: Capacitance\nCalibration Success\n", 0},
        {"CAL:CONF:MODE ZERO", kDoneFirstOk, {0x107}, {8},
         "popup: Processing\npopup: Zero RMS\nCalibration Success\n", 0},
        {"CAL:CONF:MODE 8", 2, {0x107}, {8}, "popup: Processing\npopup: Zero RMS\nCalibration Fail\n", 0},
    };
    ASSERT_EQ(ch.Run("SYST:PASS 8719"), "|");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        core::CalStateReset();
        CaliMode_Step();
        CaliMode_Step();
        g_homeCalls.store(0);
        test::ClearTrace();
        test::Stage().ScriptCaliStatus({c.status});
        testing::internal::CaptureStdout();
        const std::string result = ch.Run(c.message);
        const std::string popups = testing::internal::GetCapturedStdout();
        EXPECT_EQ(result, "|");
        EXPECT_EQ(popups, c.popups);
        EXPECT_EQ(Words(kCaliModeReg), c.mode);
        EXPECT_EQ(Words(kCaliCmdReg), c.cmd);
        if (!c.mode.empty()) {
            EXPECT_EQ(g_CalState.mode.load(), c.mode.front()) << "the word the procedures share";
        }
        EXPECT_EQ(PendingModeEvent(), c.event);
        EXPECT_EQ(g_homeCalls.load(), c.event != 0 ? 1 : 0);
        EXPECT_FALSE(SysStatusTest(kSysCaliProcessing));
    }
}

// Voltage and current calibration start on the selected phase and enter their first point page: the
// mode word carries the phase bit and the kind (bit 4 voltage, bit 5 current), the command word bit 3.
TEST_F(CalModeCommands, VoltageAndCurrentEnterTheirFirstPointOnTheSelectedPhase) {
    const struct {
        const char* message;
        uint32_t phase;
        uint32_t mode;
        uint32_t page;
    } cases[] = {
        {"CAL:CONF:MODE VOLT", 0, 0x11, 317},
        {"CAL:CONF:MODE CURR", 1, 0x22, 323},
        {"CAL:CONF:MODE 1", 2, 0x24, 323},
    };
    ASSERT_EQ(ch.Run("SYST:PASS 8719"), "|");
    const uint32_t flags = g_OutputFlags.load();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        core::CalStateReset();
        test::ClearTrace();
        g_pointPage.store(0);
        test::SelectLine(c.phase);
        EXPECT_EQ(ch.Run(c.message), "|");
        EXPECT_EQ(Words(kCaliModeReg), std::vector<uint32_t>{c.mode});
        EXPECT_EQ(Words(kCaliCmdReg), std::vector<uint32_t>{8});
        EXPECT_EQ(g_CalState.phase.load(), c.phase);
        EXPECT_EQ(g_pointPage.load(), c.page);
    }
    g_OutputFlags.store(flags);
}

// While a point's page is up a one-shot or another procedure's start would replace the point's run on the
// stage and leave the page waiting, its keys locked, for an answer that never comes: refused with -221,
// nothing written, the page kept. On the list the one-shot runs.
TEST_F(CalModeCommands, AStartWhileAPointIsUpIsRefused) {
    const std::string conflict = "|-221,\"Settings conflict\"";
    ASSERT_EQ(ch.Run("SYST:PASS 8719"), "|");
    const uint32_t state = g_MenuState.load();
    g_CalState.mode.store(0x11);
    for (const uint32_t point : {317u, 322u, 323u, 328u}) {
        g_MenuState.store(point);
        for (const char* message : {"CAL:CONF:MODE ZERO", "CAL:CONF:MODE EXT", "CAL:CONF:MODE CAP",
                                    "CAL:CONF:MODE 8", "CAL:CONF:MODE VOLT", "CAL:CONF:MODE CURR"}) {
            SCOPED_TRACE(std::string(message) + " at " + std::to_string(point));
            test::ClearTrace();
            g_pointPage.store(0);
            EXPECT_EQ(ch.Run(message), conflict);
            EXPECT_TRUE(Words(kCaliModeReg).empty());
            EXPECT_TRUE(Words(kCaliCmdReg).empty());
            EXPECT_EQ(g_CalState.mode.load(), 0x11u);
            EXPECT_EQ(g_pointPage.load(), 0u);
            EXPECT_EQ(g_MenuState.load(), point);
        }
    }
    g_MenuState.store(316);
    test::ClearTrace();
    test::Stage().ScriptCaliStatus({kDoneFirstOk});
    EXPECT_EQ(ch.Run("CAL:CONF:MODE ZERO"), "|");
    EXPECT_EQ(Words(kCaliModeReg), std::vector<uint32_t>{0x107});
    g_MenuState.store(state);
}

// Without the password's access none of them gives the stage a word.
TEST_F(CalModeCommands, ProtectedWithoutAccess) {
    test::ClearTrace();
    for (const char* message : {"CAL:CONF:MODE SAVE", "CAL:CONF:MODE REC", "CAL:CONF:MODE DEF", "CAL:CONF:MODE EXT",
                                "CAL:CONF:MODE CAP", "CAL:CONF:MODE ZERO"}) {
        EXPECT_EQ(ch.Run(message), "|" + kProtected) << message;
    }
    EXPECT_TRUE(Words(kCaliModeReg).empty());
    EXPECT_TRUE(Words(kCaliCmdReg).empty());
    EXPECT_EQ(g_homeCalls.load(), 0);
}

// A reading is taken at its point's limits and refused beyond them: the first voltage point (-250 V) takes
// -280.000 V to -220.000 V.
TEST_F(CalModeCommands, AReadingAtItsPointsLimitsIsTakenAndOneBeyondIsRefused) {
    ASSERT_EQ(ch.Run("SYST:PASS 8719"), "|");
    const uint32_t state = g_MenuState.load();
    g_MenuState.store(317);
    const struct {
        const char* message;
        std::string errors;
    } cases[] = {
        {"CAL:VOLT:AVG -220", ""},
        {"CAL:VOLT:AVG -219.999", scpitest::kRange},
        {"CAL:VOLT:AVG -280", ""},
        {"CAL:VOLT:AVG -280.001", scpitest::kRange},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ch.Run(c.message), "|" + c.errors) << c.message;
    }
    g_MenuState.store(state);
}

}  // namespace
