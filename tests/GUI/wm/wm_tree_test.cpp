// Window geometry, the tree's stacking, moves, resizes and an exhausted pool.
#include <gtest/gtest.h>

#include "tests/GUI/wm/wm_fixture.h"

namespace {

using namespace guitest;

using WmTree = GuiTest;

TEST_F(WmTree, ChildGeometryIsRelativeToItsParentAndSetHeightResizesOnce) {
    const WM_HWINDOW parent = WM_CreateTop(100, 50, 300, 200, WM_CF_SHOW, LogMessages, 0);
    const WM_HWINDOW child = WM_CreateChild(10, 20, 0, 0, parent, WM_CF_SHOW, LogMessages, 0);
    wm::Locked c(child);
    EXPECT_EQ(c->rect.x0, 110);
    EXPECT_EQ(c->rect.y0, 70);
    EXPECT_EQ(c->rect.x1, 409);
    EXPECT_EQ(c->rect.y1, 269);
    EXPECT_EQ(WM_GetParent(child), parent);
    EXPECT_EQ(WM_GetParent(parent), WM_GetDesktop());
    WM_Select(child);
    EXPECT_EQ(WM_GetWidth(0), 300);
    EXPECT_EQ(GUI_Context.xOff, 110);
    EXPECT_EQ(Logged(child, WM_MSG_CREATE).size(), 1u);
    // A new height resizes once and is answered.
    const WM_HWINDOW h = WM_CreateTop(0, 10, 70, 25, WM_CF_SHOW, LogMessages, 0);
    EXPECT_EQ(WM_SetHeight(h, 40), 40);
    EXPECT_EQ(wm::Locked(h)->rect.y1, 10 + 40 - 1);
    EXPECT_EQ(Logged(h, WM_MSG_SIZE).size(), 1u);
    EXPECT_EQ(WM_SetHeight(0, 40), 0);
}

TEST_F(WmTree, MoveReachesDescendantsFirstAndSameSpotSendsNothing) {
    const WM_HWINDOW p = WM_CreateTop(10, 10, 200, 200, WM_CF_SHOW, LogMessages, 0);
    const WM_HWINDOW c = WM_CreateChild(5, 5, 50, 50, p, WM_CF_SHOW, LogMessages, 0);
    const WM_HWINDOW g = WM_CreateChild(1, 1, 10, 10, c, WM_CF_SHOW, LogMessages, 0);
    g_log.clear();
    WM_MoveToPos(p, 10, 10);
    EXPECT_TRUE(g_log.empty());
    WM_MoveToPos(p, 30, 40);
    std::vector<WM_HWINDOW> moved;
    for (const Event& e : g_log)
        if (e.id == WM_MSG_MOVE) moved.push_back(e.h);
    EXPECT_EQ(moved, (std::vector<WM_HWINDOW>{g, c, p}));
    EXPECT_EQ(WM_GetLeft(g), 30 + 5 + 1);
    EXPECT_EQ(WM_GetTop(g), 40 + 5 + 1);
}

TEST_F(WmTree, HidingRepaintsBelowNotAbove) {
    const WM_HWINDOW below = WM_CreateTop(0, 0, 100, 100, WM_CF_SHOW, LogMessages, 0);
    const WM_HWINDOW hidden = WM_CreateTop(20, 20, 50, 50, WM_CF_SHOW, LogMessages, 0);
    const WM_HWINDOW above = WM_CreateTop(30, 30, 50, 50, WM_CF_SHOW, LogMessages, 0);
    WM_Run();
    WM_Hide(hidden);
    WM_Hide(hidden);  // already hidden: nothing more
    EXPECT_EQ(WM_IsShown(hidden), 0);
    EXPECT_TRUE(wm::Locked(below)->status & WM_SF_INVALID);
    EXPECT_FALSE(wm::Locked(above)->status & WM_SF_INVALID);
    EXPECT_EQ(WM_State.numInvalid, 2) << "the desktop and the window below";
}

TEST_F(WmTree, ExhaustedPoolCreatesNothing) {
    FreshGui(4096);
    int created = 0;
    while (WM_CreateTop(0, 0, 10, 10, WM_CF_SHOW, nullptr, 0) != 0)
        ++created;
    EXPECT_GT(created, 0);
    EXPECT_EQ(WM_State.numWindows, created + 1);
    EXPECT_EQ(WM_CreateTop(0, 0, 10, 10, 0, nullptr, 0), 0);
    EXPECT_EQ(WM_State.numWindows, created + 1);
}

}  // namespace
