// The drawing context's layer selection, the device chain's order and start-up.
#include <gtest/gtest.h>

#include "tests/GUI/screen_fixture.h"
#include "tests/GUI/wm/wm_fixture.h"

namespace {

using namespace guitest;

using GuiContext = GuiTest;

TEST_F(GuiContext, OnlyLayerZeroAndItsChainIsOrderedByClassAndFlag) {
    EXPECT_EQ(GUI_Context.selLayer, 0);
    EXPECT_EQ(GUI_DEV_NewAndInsert(&kRecordingDisplay, nullptr, 0, 1), nullptr);
    EXPECT_EQ(GUI_DEV_FindDriver(1), nullptr);
    GUI_DEV* const driver = GUI_Context.apDevice[0];
    GUI_DEV_API memory{}, alpha{};
    memory.devClass = kGuiDevClassMemory;
    alpha.devClass = kGuiDevClassAlpha;
    GUI_DEV* a = GUI_DEV_NewAndInsert(&memory, nullptr, 0, 0);
    EXPECT_EQ(GUI_Context.apDevice[0], a);
    GUI_DEV* b = GUI_DEV_NewAndInsert(&memory, nullptr, 0, 0);  // in front of its class
    GUI_DEV* c = GUI_DEV_NewAndInsert(&memory, nullptr, 1, 0);  // behind its class
    GUI_DEV* d = GUI_DEV_NewAndInsert(&alpha, nullptr, 1, 0);
    std::vector<GUI_DEV*> chain;
    for (GUI_DEV* dev = GUI_Context.apDevice[0]; dev != nullptr; dev = dev->next)
        chain.push_back(dev);
    EXPECT_EQ(chain, (std::vector<GUI_DEV*>{d, b, a, c, driver}));
    EXPECT_EQ(GUI_DEV_FindDriver(0), driver);
    for (GUI_DEV* dev : {d, b, a, c})
        GUI_DEV_Remove(dev);
    EXPECT_EQ(GUI_Context.apDevice[0], driver);
    EXPECT_EQ(driver->prev, nullptr);
}

// Each paint starts from the drawing defaults, inside the context the window manager saved around it.
TEST_F(GuiContext, PaintDefaultsContextCopyAndScreenOrigin) {
    GUI_DRAWCTX saved;
    GUI_CopyContextOut(&saved);
    GUI_SetBackColor(0x123456);
    GUI_SetForeColor(0x00FF00);
    GUI_SetPaintMode(1);
    GUI_Context.penSize = 3, GUI_Context.textAlign = 5, GUI_Context.textMode = 2, GUI_Context.lineStyle = 1;
    GUI_Context.pFont = nullptr;
    GUI_ResetDrawingDefaults();
    EXPECT_EQ(GUI_Context.backColor, 0x000000u);
    EXPECT_EQ(GUI_Context.foreColor, 0xFFFFFFu);
    EXPECT_EQ(GUI_Context.drawMode, 0);
    EXPECT_EQ(GUI_Context.penSize, 1);
    EXPECT_EQ(GUI_Context.textAlign + GUI_Context.textMode + GUI_Context.lineStyle, 0);
    EXPECT_EQ(GUI_Context.pFont, GUI_pDefaultFont);
    GUI_Context.clipRect = {1, 2, 3, 4};
    GUI_CopyContextIn(&saved);
    EXPECT_EQ(GUI_Context.clipRect.x1, saved.clipRect.x1);
    GUI_SetScreenOrigin(3, 7);
    EXPECT_EQ(GUI_ScreenOriginX * 10 + GUI_ScreenOriginY, 37);
    GUI_SetScreenOrigin(0, 0);
}

TEST(GuiStart, SecondStartKeepsTheRunningLibrary) {
    // The library starts once per process, so the check runs in a child process of its own.
    UseScreenRoot();
    EXPECT_EXIT(
        {
            const int first = GUI_Start();
            const WM_HWINDOW desktop = WM_GetDesktop();
            const int second = GUI_Start();
            wm::Locked d(desktop);
            const bool ok = first == 0 && second == 0 && WM_GetDesktop() == desktop &&
                            WM_State.numWindows == 1 && d->rect.x0 == 0 && d->rect.y0 == 0 &&
                            d->rect.x1 == 4094 && d->rect.y1 == 4094 && WM_IsShown(desktop) &&
                            WM_GetSelected() == desktop && (d->status & WM_SF_INVALID) &&
                            GUI_Context.foreColor == 0xFFFFFF && GUI_Context.penSize == 1;
            std::exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
