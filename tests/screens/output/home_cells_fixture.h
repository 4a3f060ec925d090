#pragma once
// The home page's windows at their places on the framebuffer (only the windows a test makes), painted
// together, with the text log of what they draw.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "GUI/wm/wm.h"
#include "core/control/measure/meas_records.h"
#include "core/params/access/param_access.h"
#include "core/params/access/wiring_state.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/service_flags.h"
#include "panel/draw/panel_shapes.h"
#include "panel/pages/text_log.h"
#include "platform/host/root.h"
#include "screens/output/home/home_windows.h"
#include "screens/output/homepaint/home_paint.h"
#include "tests/GUI/screen_fixture.h"
#include "tests/screens/output/status_words_fixture.h"
#include "tests/screens/screen_text.h"
#include "tests/support/default_store.h"

namespace homecells {

inline void Black(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) return WM_DefaultHandler(msg);
    ClearWindow();
}

class HomeCells : public ::testing::Test {
  protected:
    void SetUp() override {
        { test::DefaultStore store; }
        guitest::FreshScreen();
        g_HomeWin.fill(0);
        g_ParamFlags = 0;
        g_PhaseMode = 0;
        g_OutputModeIdx = 1;
        g_MenuState = 1;
        g_EditAllPhases = 0;
        g_HomePage.allPhasesLock = 0;
        g_HomePage.panelRow = 0;
        g_HomePage.panelPage = 0;
        g_HomePage.rowMask = 0;
        g_ServiceFlags.tempDisplay = 0;
        g_OutputFlags.fetch_and(~(3u << 26));
        g_EditShown = {};
        for (auto& rec : g_DispCache)
            for (int f = 0; f < kMeasFields; ++f)
                rec.Set(f, 0.0f);
        for (int f = 0; f < kMeasFields; ++f)
            g_MeasLive[0].Set(f, 0.0f);
        root_ = WM_CreateChild(0, 0, 800, 480, WM_GetDesktop(), WM_CF_SHOW, Black, 0);
        body_ = WM_CreateChild(0, 28, 720, 452, root_, WM_CF_SHOW, Black, 0);
        log_ = plat::MapPath("/var/log/home-cells-text.log");
    }
    void TearDown() override {
        TextLog_Stop();
        EXPECT_TEXTS_WHOLE();
        g_HomeWin.fill(0);
        g_HomePage.panelRow = 0;
        g_HomePage.rowMask = 0x3FFF;
        g_HomePage.allPhasesLock = 0;
    }

    // Window `index` of the page under `parent` (relative place), handle stored where the painters look.
    WM_HWINDOW Make(int index, WM_HWINDOW parent, int x, int y, int w, int h, WM_CALLBACK* cb) {
        WM_HWINDOW win = WM_CreateChild(x, y, w, h, parent, WM_CF_SHOW, cb, 0);
        EXPECT_NE(win, 0);
        g_HomeWin[static_cast<size_t>(index)] = win;
        return win;
    }
    // Every window of the page painted again; the text log then holds this pass only.
    void Paint() {
        std::remove(log_.c_str());
        ASSERT_EQ(TextLog_Start(log_), 0);
        WM_Invalidate(root_);
        WM_Invalidate(body_);
        for (WM_HWINDOW h : g_HomeWin)
            if (h != 0) WM_Invalidate(h);
        WM_Run();
        TextLog_Stop();
        screen_ = guitest::Screen();
        text_ = screentext::ReadText(log_);
    }
    // A paint, then `box` of the screen against golden/<golden>.png.
    void PaintAs(const char* golden, const GUI_BOX& box) { Paint(); guitest::ExpectGolden(golden, box); }
    // "align rgb565 font" of the string drawn at (x, y), "" when none was.
    std::string At(int x, int y, const std::string& text) const { return screentext::Style(text_, x, y, text); }
    // The first string drawn at (x, y), "" when none was.
    std::string TextAt(int x, int y) const {
        std::string out;
        screentext::AnyLine(text_, [&](const screentext::LogLine& l) {
            if (l.x == x && l.y == y) out = l.text;
            return l.x == x && l.y == y;
        });
        return out;
    }
    int Count(int x0, int y0, int x1, int y1, uint16_t c) const {
        return guitest::CountColour(screen_, {int16_t(x0), int16_t(y0), int16_t(x1), int16_t(y1)}, c);
    }

    // The other screen tests of this program draw from the store as the program starts: it is put back.
    screentest::StatusWords words_;
    screentest::StoreCopy store_;
    WM_HWINDOW root_ = 0, body_ = 0;
    std::string log_, text_;
    std::vector<uint16_t> screen_;
};

}  // namespace homecells
