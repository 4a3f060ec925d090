// The message ring and the popup machine, stepped pass by pass as the overlay steps them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "panel/popup/msg_popup_fsm.h"
#include "tests/panel/popup/popup_fixture.h"
#include "tests/support/controller_process.h"

namespace {

using popuptest::PopupText;
using popuptest::ResetPopup;
using popuptest::StepUntilShown;

class MsgPopupTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetPopup(); }
    void TearDown() override { ResetPopup(); }
    // The texts of the popups that come up during `passes` passes, one entry per popup.
    static std::vector<std::string> PopupsOver(int passes) {
        std::vector<std::string> shown;
        bool was = MsgPopup_IsShown() != 0;
        for (int i = 0; i < passes; ++i) {
            MsgPopupFsm_Step();
            const bool is = MsgPopup_IsShown() != 0;
            if (is && !was) shown.push_back(PopupText());
            was = is;
        }
        return shown;
    }
};

// A timed popup whose id is posted again while it is on screen stays one popup: nothing is queued, and
// it goes on the 101st pass after the last post.
TEST_F(MsgPopupTest, ARepeatedTimedIdRenewsThePopupOnScreen) {
    MsgPopup_Close();  // before the machine's first pass, as a start-up path may: it must not stall it
    ASSERT_EQ(MsgQueue_PostId(25), 0);
    ASSERT_TRUE(StepUntilShown());
    EXPECT_EQ(PopupText(), "Setting Frequency Limited");
    for (int i = 0; i < 10; ++i) {
        for (int pass = 0; pass < 30; ++pass)
            MsgPopupFsm_Step();
        ASSERT_EQ(MsgQueue_PostId(25), 0);
        EXPECT_EQ(MsgQueue_Count(), 0u) << "post " << i;
        EXPECT_TRUE(MsgPopup_IsShown()) << "post " << i;
    }
    for (int pass = 1; pass <= 100; ++pass) {
        MsgPopupFsm_Step();
        ASSERT_TRUE(MsgPopup_IsShown()) << "pass " << pass;
    }
    MsgPopupFsm_Step();
    EXPECT_FALSE(MsgPopup_IsShown());
    EXPECT_TRUE(PopupsOver(300).empty());
    // Once it has gone, the same id brings a popup again.
    ASSERT_EQ(MsgQueue_PostId(25), 0);
    EXPECT_EQ(PopupsOver(10), std::vector<std::string>{"Setting Frequency Limited"});
}

// The preset messages show the number their poster left in the home page's words, and carry it each
// time: a repeat is another popup, which ends the first at once.
TEST_F(MsgPopupTest, RecalledAndSavedArePoppedUpOncePerPostWithThePresetTheHomePageKeeps) {
    g_HomePage.recallIndex.store(3);
    g_HomePage.saveIndex.store(7);
    for (int32_t id : {kMsgRecalled, kMsgSaved, kMsgSaved})
        ASSERT_EQ(MsgQueue_PostId(id), 0);
    EXPECT_EQ(MsgQueue_Count(), 3u);
    EXPECT_EQ(PopupsOver(600), (std::vector<std::string>{"Recalled From M3", "Saved To M7", "Saved To M7"}));
    g_HomePage.recallIndex.store(0);
    g_HomePage.saveIndex.store(0);
}

// The voltage limit messages name the limited phases of their mask (id 18 plus the mask).
TEST_F(MsgPopupTest, TheVoltageLimitTextsNameTheLimitedPhases) {
    const char* const texts[] = {"Setting Voltage Limited",       "L1\nVoltage Setting Limited",
                                 "L2\nVoltage Setting Limited",   "L1 L2\nVoltage Setting Limited",
                                 "L3\nVoltage Setting Limited",   "L1 L3\nVoltage Setting Limited",
                                 "L2 L3\nVoltage Setting Limited"};
    for (int32_t mask = 0; mask < 7; ++mask) {
        ResetPopup();
        ASSERT_EQ(MsgQueue_PostId(18 + mask), 0);
        ASSERT_TRUE(StepUntilShown()) << mask;
        EXPECT_EQ(PopupText(), texts[mask]) << mask;
    }
}

// A newer message ends a timed popup on the next pass; a free text drops every id still pending.
TEST_F(MsgPopupTest, AFreeTextDropsThePendingIdsAndANewerMessageCutsATimedOne) {
    ASSERT_EQ(MsgQueue_PostId(11), 0);
    ASSERT_TRUE(StepUntilShown());
    ASSERT_EQ(MsgQueue_PostId(12), 0);
    MsgPopupFsm_Step();
    EXPECT_FALSE(MsgPopup_IsShown());
    EXPECT_EQ(PopupsOver(10), std::vector<std::string>{"Keys Unlocked"});

    ResetPopup();
    for (int32_t id : {11, 12, 13})
        ASSERT_EQ(MsgQueue_PostId(id), 0);
    EXPECT_EQ(ShowMessage(2, "Output %d\nchanged", 3), 16);
    EXPECT_EQ(MsgQueue_Count(), 1u);
    EXPECT_EQ(PopupsOver(400), std::vector<std::string>{"Output 3\nchanged"});
}


// The console gets a popup as it comes up, not at each drawing: the alarm monitor's limiter text, posted
// again at each of its passes while it stays on screen, is printed once, and again once it has gone and
// comes back. A numbered message is printed as well, once while a repeat of its key only renews it.
TEST_F(MsgPopupTest, TheConsoleGetsEachPopupOncePerAppearance) {
    const std::string irms = "popup: IRMS\nLimiter Operations\n";
    const std::string remote = "popup: Invalid with \nRemote Control\n";
    testing::internal::CaptureStdout();
    for (int post = 0; post < 5; ++post) {
        ASSERT_GT(ShowErrorMessage("IRMS\nLimiter Operations"), 0);
        for (int pass = 0; pass < 40; ++pass)
            MsgPopupFsm_Step();
        ASSERT_TRUE(MsgPopup_IsShown()) << "post " << post;
    }
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(testsupport::CountOf(out, irms), 1u) << out;

    testing::internal::CaptureStdout();
    EXPECT_TRUE(PopupsOver(150).empty()) << "it times out";
    ASSERT_GT(ShowErrorMessage("IRMS\nLimiter Operations"), 0);
    EXPECT_EQ(PopupsOver(5), std::vector<std::string>{"IRMS\nLimiter Operations"});
    for (int press = 0; press < 3; ++press) {
        ASSERT_EQ(MsgQueue_PostId(kMsgRemoteRefused), 0);
        for (int pass = 0; pass < 20; ++pass)
            MsgPopupFsm_Step();
        ASSERT_EQ(PopupText(), "Invalid with \nRemote Control");
    }
    ASSERT_GT(ShowErrorMessage("IRMS\nLimiter Operations"), 0);
    EXPECT_EQ(PopupsOver(5), std::vector<std::string>{"IRMS\nLimiter Operations"});
    out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, irms + remote + irms);
}

// A format the popup's formatter does not know posts nothing; nor does an id without a text.
TEST_F(MsgPopupTest, RefusedPostsLeaveTheRingAsItWas) {
    EXPECT_EQ(ShowMessage(2, "100%%"), -1);
    EXPECT_EQ(ShowMessageHold("%s", "x"), -1);
    for (int32_t id : {0, 32, -1, 1000})
        EXPECT_EQ(MsgQueue_PostId(id), -1) << id;
    EXPECT_EQ(MsgQueue_Count(), 0u);
    EXPECT_TRUE(PopupsOver(10).empty());

    // 32 pending at most (the preset ids, which are never folded, fill it).
    for (int i = 0; i < 32; ++i)
        ASSERT_EQ(MsgQueue_PostId(16 + i % 2), 0) << i;
    EXPECT_EQ(MsgQueue_PostId(17), -1);
    EXPECT_EQ(MsgQueue_PostId(25), -1);
    EXPECT_EQ(MsgQueue_PostText("late", 5), -1);
    EXPECT_EQ(MsgQueue_Count(), 32u);
}

// A held popup stays while later messages wait; closed, the next pending one comes up.
TEST_F(MsgPopupTest, AHeldPopupOutlivesLaterPostsUntilClosed) {
    ASSERT_EQ(MsgQueue_PostId(9), 0);
    ASSERT_TRUE(StepUntilShown());
    ASSERT_EQ(MsgQueue_PostId(11), 0);
    ASSERT_EQ(MsgQueue_PostId(26), 0);
    for (int pass = 0; pass < 500; ++pass)
        MsgPopupFsm_Step();
    EXPECT_TRUE(MsgPopup_IsShown());
    EXPECT_EQ(MsgPopup_IsPersistent(), 1);
    EXPECT_EQ(PopupText(), "Press Number Key");
    EXPECT_EQ(MsgQueue_Count(), 2u);
    MsgPopup_Close();
    EXPECT_EQ(PopupsOver(5), std::vector<std::string>{"Keys Locked"});
    EXPECT_EQ(MsgPopup_IsPersistent(), 0);

    // A held free text in the red frame; its text replaced while it is on screen.
    ResetPopup();
    ASSERT_EQ(ShowErrorMessageHold(2, "Copy %d", 1), 6);
    ASSERT_TRUE(StepUntilShown());
    EXPECT_EQ(MsgPopup_Style(), 1u);
    EXPECT_FALSE(MsgPopup_TextChanged());
    MsgPopup_SetText("Copy 1.");
    EXPECT_TRUE(MsgPopup_TextChanged());
    EXPECT_EQ(PopupText(), "Copy 1.");
    for (int pass = 0; pass < 3; ++pass)
        MsgPopupFsm_Step();
    EXPECT_EQ(MsgPopup_IsPersistent(), 1);
    MsgPopup_Close();
    MsgPopupFsm_Step();
    EXPECT_FALSE(MsgPopup_IsShown());
    EXPECT_FALSE(MsgPopup_TextChanged());
    EXPECT_EQ(ShowMessage(2, "plain"), 5);
    ASSERT_TRUE(StepUntilShown());
    EXPECT_EQ(MsgPopup_Style(), 0u);
}

}  // namespace
