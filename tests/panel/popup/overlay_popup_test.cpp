// The message popup window and the SCPI Error box on the framebuffer, driven by the overlay's update.
#include "panel/popup/overlay_popup.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <utility>

#include "GUI/Fonts/fonts.h"
#include "GUI/lcd/color_rgb.h"
#include "GUI/lcd/lcd.h"
#include "GUI/text/gui_font.h"
#include "core/system/messaging/msg_ring.h"
#include "panel/status_conditions.h"
#include "tests/GUI/screen_fixture.h"
#include "tests/panel/popup/popup_fixture.h"

namespace {

constexpr uint16_t kGreen = 0x07E0, kRed = 0xF800;

// The golden of a window with a pixel of the page around it, so that a window one pixel too large shows.
void ExpectGoldenAround(const std::string& name, const GUI_BOX& window) {
    guitest::ExpectGolden(name, GUI_BOX{static_cast<int16_t>(window.x0 - 1), static_cast<int16_t>(window.y0 - 1),
                                        static_cast<int16_t>(window.x1 + 1), static_cast<int16_t>(window.y1 + 1)});
}

void MakeScreen() {
    guitest::FreshScreenOnGreyPage();
    Overlay_Create();
    GUI_RunAll();
}

class OverlayPopupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        popuptest::ResetPopup();
        g_ScpiErrorIfCount.store(0);
        g_ScpiErrorBoxDelay = 0;
        MakeScreen();
    }
    void TearDown() override {
        g_ScpiErrorIfCount.store(0);
        popuptest::ResetPopup();
    }
    // One main pass: the overlay's update, then the window manager paints what became invalid.
    static void Pass(int n = 1) {
        for (int i = 0; i < n; ++i) {
            Overlay_Update();
            GUI_RunAll();
        }
    }
};

// Colours and text anchor of the popup: a green frame (red for an error), black inside, the text
// centred on (365, 190), or with its first line on (365, 175) when it has more than one. A one-line
// window is 30 high: its text stands in its middle, whole, not on its lower edge.
TEST_F(OverlayPopupTest, PopupFrameAndTextAnchor) {
    const struct {
        std::function<void()> show;
        int height;
        const char* golden;
    } rows[] = {
        {[] { ASSERT_EQ(MsgQueue_PostId(11), 0); }, 60, "msg_popup_keys_locked"},
        {[] { ASSERT_EQ(ShowErrorMessage("Calibration\nData Error"), 22); }, 60, "msg_popup_error_two_lines"},
        {[] { ASSERT_EQ(ShowMessage(1, "Error Password"), 14); }, 30, "msg_popup_one_line_window"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.golden);
        popuptest::ResetPopup();
        MakeScreen();
        r.show();
        Pass(5);
        ASSERT_TRUE(WM_IsShown(panel::OverlayMsgPopup()));
        EXPECT_EQ(WM_GetHeight(panel::OverlayMsgPopup()), r.height);
        ExpectGoldenAround(r.golden, GUI_BOX{240, 160, 489, static_cast<int16_t>(160 + r.height - 1)});
    }
}

// The popup's height follows its lines; it goes when the machine ends it and comes back for the next.
TEST_F(OverlayPopupTest, PopupHeightAndItsShowingAndHiding) {
    ASSERT_EQ(ShowMessage(3, "one\ntwo\nthree"), 13);
    Pass(5);
    ASSERT_TRUE(WM_IsShown(panel::OverlayMsgPopup()));
    EXPECT_EQ(WM_GetHeight(panel::OverlayMsgPopup()), 90);
    ExpectGoldenAround("msg_popup_three_lines", GUI_BOX{240, 160, 489, 249});

    Pass(101);
    EXPECT_FALSE(WM_IsShown(panel::OverlayMsgPopup()));
    EXPECT_NE(guitest::PixelAt(240, 160), kGreen);
    ASSERT_EQ(MsgQueue_PostId(12), 0);
    Pass(5);
    EXPECT_TRUE(WM_IsShown(panel::OverlayMsgPopup()));
    EXPECT_EQ(WM_GetHeight(panel::OverlayMsgPopup()), 60);
    EXPECT_NE(guitest::PixelAt(240, 249), kGreen);
}

// A held popup's text replaced from another thread is repainted on the next pass.
TEST_F(OverlayPopupTest, AReplacedTextIsRepaintedOnTheNextPass) {
    ASSERT_GT(ShowMessageHold("Saving"), 0);
    Pass(5);
    const GUI_BOX popup{240, 160, 489, 219};
    const std::vector<uint16_t> before = guitest::Screen();
    std::thread([] { MsgPopup_SetText("Saving..."); }).join();
    EXPECT_EQ(guitest::Screen(), before);
    Pass();
    EXPECT_FALSE(MsgPopup_TextChanged());
    ExpectGoldenAround("msg_popup_saving", popup);
}

// Another thread replaces the text while the GUI thread paints it, as progress texts do; the painter
// copies it under the ring's lock (ThreadSanitizer watches the text itself).
TEST_F(OverlayPopupTest, TextReplacedWhileItIsPainted) {
    ASSERT_GT(ShowMessageHold("A"), 0);
    Pass(5);
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (int i = 0; i < 2000 && !stop.load(); ++i)
            MsgPopup_SetText(i % 2 ? "short" : "a much longer progress text");
    });
    for (int i = 0; i < 200; ++i) {
        MsgPopup_SetText("x");
        WM_Repaint(panel::OverlayMsgPopup());
    }
    stop.store(true);
    writer.join();
    EXPECT_TRUE(WM_IsShown(panel::OverlayMsgPopup()));
}

// An error waiting in a channel's queue shows the box on the 31st pass; an empty queue hides it on the
// next one, and the wait starts again.
TEST_F(OverlayPopupTest, ScpiErrorBoxAfterThirtyPassesAndGoneWhenRead) {
    const GUI_BOX box{280, 150, 479, 209};
    g_ScpiErrorIfCount.store(1);
    Pass(30);
    EXPECT_FALSE(WM_IsShown(panel::OverlayScpiErrorBox()));
    EXPECT_NE(guitest::PixelAt(280, 150), kRed);
    Pass();
    ASSERT_TRUE(WM_IsShown(panel::OverlayScpiErrorBox()));
    ExpectGoldenAround("scpi_error_box", box);

    g_ScpiErrorIfCount.store(0);
    Pass();
    EXPECT_FALSE(WM_IsShown(panel::OverlayScpiErrorBox()));
    EXPECT_NE(guitest::PixelAt(280, 150), kRed);
    // An error that goes before the box shows keeps the passes it has waited.
    g_ScpiErrorIfCount.store(1);
    Pass(20);
    g_ScpiErrorIfCount.store(0);
    Pass(5);
    g_ScpiErrorIfCount.store(1);
    Pass(10);
    EXPECT_FALSE(WM_IsShown(panel::OverlayScpiErrorBox()));
    Pass();
    EXPECT_TRUE(WM_IsShown(panel::OverlayScpiErrorBox()));
    g_ScpiErrorIfCount.store(0);
    Pass();
}

// The popup is made after the SCPI Error box: where the two overlap, the popup is what shows.
TEST_F(OverlayPopupTest, MessagePopupCoversTheScpiErrorBox) {
    const GUI_BOX overlap{280, 160, 479, 209};
    ASSERT_EQ(MsgQueue_PostId(11), 0);
    Pass(5);
    const std::vector<uint16_t> alone = guitest::Screen();
    g_ScpiErrorIfCount.store(1);
    Pass(31);
    ASSERT_TRUE(WM_IsShown(panel::OverlayScpiErrorBox()));
    ASSERT_TRUE(WM_IsShown(panel::OverlayMsgPopup()));
    EXPECT_EQ(guitest::PixelAt(280, 150), kRed);  // the box shows above the popup
    const std::vector<uint16_t> both = guitest::Screen();
    for (int y = overlap.y0; y <= overlap.y1; ++y)
        for (int x = overlap.x0; x <= overlap.x1; ++x)
            ASSERT_EQ(both[y * 800 + x], alone[y * 800 + x]) << x << "," << y;
}

}  // namespace
