// The calibration's data exits and one-shot calibrations on the simulated stage with a scripted
// calibration status (first result in bits 0-2, second in bits 3-5): the command each writes, the
// messages shown (read from the console copy of the popup texts), the event the calibration-mode object
// is given, the return home and the processing bit.
#include "core/control/calibration/cali_exit.h"

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "core/control/calibration/calibration.h"
#include "core/control/hooks/screen_request.h"
#include "panel/popup/msg_popup_fsm.h"
#include "platform/host/clock.h"
#include "tests/core/ctrl_fixture.h"

namespace {

using test::Stage;

constexpr uint16_t kCaliCmdReg = 2354;
// Status words: first result in bits 0-2, second in bits 3-5.
constexpr uint32_t kDone = 1u << 3, kDoneFirstOk = 1u | 1u << 3, kSecondFailed = 2u << 3, kFirstFailed = 2,
                   kNoResult = 3, kFirstOkOnly = 1;

std::atomic<int> g_homeCalls{0};

class CaliExitTest : public test::CtrlTest {
  protected:
    void SetUp() override {
        ScreenRequestRunners hooks{};
        hooks.advanceScreen = [] { g_homeCalls.fetch_add(1); };
        ScreenRequest_SetRunners(hooks);
        ScreenRequest_SetTaker();  // the exits run on the menu/control thread
        test::StartCaliMode();
        g_homeCalls.store(0);
        MsgQueue_Clear();
        test::ClearTrace();
        // The waits of 1 s and 5 s pass in 1 and 5 ms.
        plat::SetTimeScale(1000);
    }
    void TearDown() override {
        plat::SetTimeScale(1);
        ScreenRequest_SetRunners({});
    }
    static std::vector<uint32_t> Commands() { return test::RawsTo(kCaliCmdReg); }
    // The popup texts as the console shows them.
    static std::string Popups(const std::vector<std::string>& texts) {
        std::string out;
        for (const auto& t : texts)
            out += "popup: " + t + "\n";
        return out;
    }
    // Runs `op` on another thread, as the menu/control thread would, calling `look` while it runs.
    template <typename Op, typename Look>
    static void RunWatching(Op op, Look look) {
        std::atomic<bool> done{false};
        std::thread runner([&] {
            op();
            done.store(true);
        });
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done.load() && std::chrono::steady_clock::now() < until)
            look();
        runner.join();
    }
    // Whether the processing bit came up while `op` ran.
    template <typename Op>
    static bool ProcessingSeenDuring(Op op) {
        bool seen = false;
        RunWatching(op, [&] { seen = seen || SysStatusTest(kSysCaliProcessing); });
        return seen;
    }
};

std::vector<uint32_t> Repeat(uint32_t word, int n, uint32_t last) {
    std::vector<uint32_t> out(static_cast<size_t>(n), word);
    out.push_back(last);
    return out;
}

void Save() {
    caliSaveExit(1);
}
void SaveStay() {
    caliSaveExit(0);
}

TEST_F(CaliExitTest, DataExitsCommandPollReportAndLeave) {
    const std::vector<std::string> tenBusy(10, "Processing");
    std::vector<std::string> tenBusyThenRetry = tenBusy;
    tenBusyThenRetry.push_back("Please try again...");
    std::vector<std::string> nineBusyThenSaved(9, "Processing");
    nineBusyThenSaved.push_back("Save & Exit");
    const struct {
        const char* name;
        void (*run)();
        std::vector<uint32_t> status;
        uint32_t command;
        std::vector<std::string> shown;
        uint32_t event;  // posted to the mode object, 0 none; the panel goes home with it
    } cases[] = {
        {"save", Save, {kDone}, 4, {"Save & Exit"}, 9006},
        {"recall", caliRecallExit, {kDoneFirstOk}, 2, {"Recall & Exit"}, 9008},
        {"default", caliDefaultExit, {kDone}, 1, {"Default & Exit"}, 9007},
        {"save without exit", SaveStay, {kDone}, 4, {}, 0},
        {"save after two busy polls", Save, {0, 0, kDone}, 4, {"Processing", "Processing", "Save & Exit"}, 9006},
        {"save done at the tenth poll", Save, Repeat(0, 9, kDone), 4, nineBusyThenSaved, 9006},
        {"save busy for ten polls", Save, Repeat(0, 10, kDone), 4, tenBusyThenRetry, 0},
        {"save, second result failed", Save, {kSecondFailed}, 4, {"SAVE_Cali fail\n"}, 0},
        {"recall, first result failed", caliRecallExit, {kFirstFailed}, 2, {"Recall fail\n"}, 0},
        {"default, first ok, second failed", caliDefaultExit, {1u | kSecondFailed}, 1, {"Default fail\n"}, 0},
        {"failure ends the polling", Save, {kFirstFailed, kDone}, 4, {"SAVE_Cali fail\n"}, 0},
        {"no result polls on at once", Save, {kNoResult, 7u << 3, kDone}, 4, {"Save & Exit"}, 9006},
        {"ten polls without a result", Save, Repeat(kNoResult, 10, kDone), 4, {}, 0},
        {"a second result behind no first is no result", Save, Repeat(kNoResult | kDone, 10, kDone), 4, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::StartCaliMode();
        g_homeCalls.store(0);
        test::ClearTrace();
        Stage().ScriptCaliStatus(c.status);
        EXPECT_EQ(test::Console(c.run), Popups(c.shown));
        EXPECT_EQ(Commands(), std::vector<uint32_t>{c.command});
        EXPECT_EQ(test::PendingCaliModeEvent(), c.event);
        EXPECT_EQ(g_homeCalls.load(), c.event != 0 ? 1 : 0);
        EXPECT_FALSE(SysStatusTest(kSysCaliProcessing));
    }
}

TEST_F(CaliExitTest, ProcessingBitHeldWhileTheStageWorks) {
    plat::SetTimeScale(20);  // a busy poll's second lasts 50 ms
    Stage().ScriptCaliStatus({0, kDone});
    EXPECT_TRUE(ProcessingSeenDuring([] { caliSaveExit(1); }));
    EXPECT_FALSE(SysStatusTest(kSysCaliProcessing));
    Stage().ScriptCaliStatus({0, kDoneFirstOk});  // one busy poll: the bit is up long enough to be seen
    EXPECT_TRUE(ProcessingSeenDuring([] { caliExtOffset(7); }));
    EXPECT_FALSE(SysStatusTest(kSysCaliProcessing));
}

TEST_F(CaliExitTest, OneShotCalibrationsReportTheirResult) {
    const struct {
        const char* name;
        int32_t kind;
        std::vector<uint32_t> status;
        std::string result;  // empty: nothing shown at all
        uint32_t id;         // 5 timed popup, 6 held until closed
    } cases[] = {
        {"ext offset", 6, {kDoneFirstOk}, "Ext Offset\nCalibration Success", 5},
        {"capacitance", 7, {0, kDoneFirstOk}, "Capacitance\nCalibration Success", 5},
        {"zero rms", 8, {kDoneFirstOk}, "Zero RMS\nCalibration Success", 5},
        {"ext offset failed", 6, {kFirstFailed}, "Ext Offset\nCalibration Fail", 6},
        {"capacitance failed", 7, {kFirstFailed}, "Capacitance\nCalibration Fail", 6},
        {"zero rms failed", 8, {0, kFirstFailed, 0}, "Zero RMS\nCalibration Fail", 6},
        {"a success clears an earlier failure", 6, {kFirstFailed, kDoneFirstOk}, "Ext Offset\nCalibration Success",
         5},
        {"a success ends the polling", 7, {kDoneFirstOk, kFirstFailed}, "Capacitance\nCalibration Success", 5},
        {"a failed first result with a second", 7, {kFirstFailed | kDone}, "Capacitance\nCalibration Fail", 6},
        {"first result without a second", 6, {kFirstOkOnly, kFirstFailed}, "Ext Offset\nCalibration Fail", 6},
        {"no answer in five polls is a failure", 7, {0}, "Capacitance\nCalibration Fail", 6},
        {"failure at the fifth poll", 8, {0, 0, 0, 0, kFirstFailed}, "Zero RMS\nCalibration Fail", 6},
        {"a success after five polls is not read", 8, {0, 0, 0, 0, 0, kDoneFirstOk},
         "Zero RMS\nCalibration Fail", 6},
        {"kind 5", 5, {kDoneFirstOk}, "", 0},
        {"kind 9", 9, {kDoneFirstOk}, "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MsgQueue_Clear();
        test::ClearTrace();
        Stage().ScriptCaliStatus(c.status);
        const std::string shown = test::Console([&] { caliExtOffset(c.kind); });
        EXPECT_EQ(shown, c.result.empty() ? "" : Popups({"Processing", c.result}));
        uint32_t id = 0;
        EXPECT_EQ(MsgQueue_Pop(&id), c.id != 0 ? 0 : -1);
        EXPECT_EQ(id, c.id);
        EXPECT_EQ(MsgQueue_Count(), 0u);
        EXPECT_TRUE(test::WritesTo(kCaliCmdReg).empty());
        EXPECT_FALSE(SysStatusTest(kSysCaliProcessing));
    }
}

// The result still shows when the message ring was full: the ring is emptied before it.
TEST_F(CaliExitTest, OneShotResultShownOverAFullMessageRing) {
    for (int i = 0; i < 32; ++i)
        ASSERT_EQ(MsgQueue_PostId(11 + i % 2), 0);
    Stage().ScriptCaliStatus({kDoneFirstOk});
    EXPECT_EQ(test::Console([] { caliExtOffset(8); }), Popups({"Zero RMS\nCalibration Success"}));
    uint32_t id = 0;
    EXPECT_EQ(MsgQueue_Pop(&id), 0);
    EXPECT_EQ(id, 5u);
}

// The "Processing" popup held while the stage works is closed before the result shows.
TEST_F(CaliExitTest, HeldProcessingPopupClosedBeforeTheResult) {
    plat::SetTimeScale(20);
    Stage().ScriptCaliStatus({kDoneFirstOk});
    bool held = false;
    RunWatching([] { caliExtOffset(6); },
                [&] {
                    MsgPopupFsm_Step();
                    held = held || MsgPopup_IsPersistent() == 1;
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                });
    for (int i = 0; i < 10; ++i)
        MsgPopupFsm_Step();
    EXPECT_TRUE(held);
    EXPECT_EQ(MsgPopup_IsPersistent(), 0);
    char text[64];
    MsgPopup_Text(text, sizeof text);
    EXPECT_STREQ(text, "Ext Offset\nCalibration Success");
}

}  // namespace
