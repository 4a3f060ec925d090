// The message popup window and the SCPI Error box on the framebuffer, driven by the overlay's update.
#include "panel/popup/overlay_popup.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
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

constexpr uint16_t kGreen = 0x07E0, kRed = 0xF800, kWhite = 0xFFFF;
using Pixels = std::set<std::pair<int, int>>;

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
    // A frame of `colour` on the edge of `box`, black inside it, none of the colour outside.
    static void ExpectFrame(const GUI_BOX& box, uint16_t colour) {
        EXPECT_EQ(guitest::PixelAt(box.x0, box.y0), colour);
        EXPECT_EQ(guitest::PixelAt(box.x1, box.y1), colour);
        EXPECT_EQ(guitest::PixelAt(box.x0 + 4, box.y0 + 4), 0);
        EXPECT_EQ(guitest::PixelAt(box.x1 - 4, box.y1 - 4), 0);
        EXPECT_NE(guitest::PixelAt(box.x0 - 1, box.y0), colour);
        EXPECT_NE(guitest::PixelAt(box.x0, box.y1 + 1), colour);
        EXPECT_NE(guitest::PixelAt(box.x1 + 1, box.y1), colour);
    }
    static Pixels White(const GUI_BOX& box) {
        const std::vector<uint16_t> screen = guitest::Screen();
        Pixels out;
        for (int y = box.y0; y <= box.y1; ++y)
            for (int x = box.x0; x <= box.x1; ++x)
                if (screen[y * 800 + x] == kWhite) out.insert({x, y});
        return out;
    }
    // The white pixels of `text` drawn by itself at the screen anchor (x, y) in the popup's font and
    // alignment, on a black screen.
    static Pixels Reference(const char* text, int x, int y, const GUI_BOX& box) {
        guitest::FreshScreen();
        SetColorRGB(0xFFFFFF);
        GUI_SetTextDrawMode(GUI_TM_TRANS);
        GUI_SetAlign(GUI_TA_HCENTER | GUI_TA_VCENTER);
        GUI_SelectFont(&Font24a);
        GUI_DrawTextAt(text, x, y);
        return White(box);
    }
};

// Colours and text anchor of the popup: a green frame (red for an error), black inside, the text
// centred on (365, 190), or with its first line on (365, 175) when it has more than one.
TEST_F(OverlayPopupTest, PopupFrameAndTextAnchor) {
    const GUI_BOX popup{240, 160, 489, 219};
    ASSERT_EQ(MsgQueue_PostId(11), 0);
    Pass(5);
    ASSERT_TRUE(WM_IsShown(panel::OverlayMsgPopup()));
    EXPECT_EQ(WM_GetHeight(panel::OverlayMsgPopup()), 60);
    ExpectFrame(popup, kGreen);
    const Pixels oneLine = White(popup);
    ASSERT_FALSE(oneLine.empty());
    EXPECT_EQ(oneLine, Reference("Keys Locked", 365, 190, popup));

    popuptest::ResetPopup();
    MakeScreen();
    ASSERT_EQ(ShowErrorMessage("Calibration\nData Error"), 22);
    Pass(5);
    ExpectFrame(popup, kRed);
    const Pixels twoLines = White(popup);
    ASSERT_FALSE(twoLines.empty());
    EXPECT_EQ(twoLines, Reference("Calibration\nData Error", 365, 175, popup));

    // A one-line window is 30 high: its text stands in its middle, whole, not on its lower edge.
    popuptest::ResetPopup();
    MakeScreen();
    ASSERT_EQ(ShowMessage(1, "Error Password"), 14);
    Pass(5);
    const GUI_BOX oneLineWindow{240, 160, 489, 189};
    ExpectFrame(oneLineWindow, kGreen);
    const Pixels whole = White(oneLineWindow);
    EXPECT_EQ(whole, Reference("Error Password", 365, 175, oneLineWindow));
}

// The popup's height follows its lines; it goes when the machine ends it and comes back for the next.
TEST_F(OverlayPopupTest, PopupHeightAndItsShowingAndHiding) {
    ASSERT_EQ(ShowMessage(3, "one\ntwo\nthree"), 13);
    Pass(5);
    ASSERT_TRUE(WM_IsShown(panel::OverlayMsgPopup()));
    EXPECT_EQ(WM_GetHeight(panel::OverlayMsgPopup()), 90);
    ExpectFrame({240, 160, 489, 249}, kGreen);
    guitest::ExpectGolden("msg_popup_three_lines", GUI_BOX{240, 160, 489, 249});

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
    const Pixels before = White(popup);
    std::thread([] { MsgPopup_SetText("Saving..."); }).join();
    EXPECT_EQ(White(popup), before);
    Pass();
    EXPECT_FALSE(MsgPopup_TextChanged());
    // Read before the reference is drawn: it wipes the screen.
    const Pixels after = White(popup);
    EXPECT_EQ(after, Reference("Saving...", 365, 190, popup));
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
    ExpectFrame(box, kRed);
    const Pixels text = White(box);
    ASSERT_FALSE(text.empty());

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

    EXPECT_EQ(text, Reference("SCPI Error", 380, 180, box));
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
