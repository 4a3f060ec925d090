// Invalidation, the clip iteration and the painting pass, seen through the logging paint callback.
#include <gtest/gtest.h>

#include "tests/GUI/wm/wm_fixture.h"

namespace {

using namespace guitest;

bool operator==(const GUI_BOX& a, const GUI_BOX& b) {
    return a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1;
}

std::vector<int32_t> Ids(WM_HWINDOW h) {
    std::vector<int32_t> ids;
    for (const Event& e : g_log)
        if (e.h == h) ids.push_back(e.id);
    return ids;
}

using WmPaint = GuiTest;

TEST_F(WmPaint, ParentAroundAChildPaintsFourClippedRectangles) {
    const WM_HWINDOW parent = WM_CreateTop(0, 0, 100, 100, WM_CF_SHOW, LogMessages, 0);
    WM_CreateChild(40, 40, 20, 20, parent, WM_CF_SHOW, LogMessages, 0);
    g_log.clear();
    WM_Repaint(parent);
    EXPECT_EQ(Ids(parent), (std::vector<int32_t>{46, 15, 15, 15, 15, 47}));
    const auto paints = Logged(parent, WM_MSG_PAINT);
    const GUI_BOX want[] = {{0, 0, 99, 39}, {0, 40, 39, 59}, {60, 40, 99, 59}, {0, 60, 99, 99}};
    ASSERT_EQ(paints.size(), 4u);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(paints[i].clip == want[i]) << i;
}

TEST_F(WmPaint, WindowCoveredByALaterSiblingGetsOnlyTheBracket) {
    const WM_HWINDOW covered = WM_CreateTop(10, 10, 50, 50, WM_CF_SHOW, LogMessages, 0);
    WM_CreateTop(0, 0, 100, 100, WM_CF_SHOW, nullptr, 0);
    g_log.clear();
    EXPECT_EQ(WM_Run(), 1);
    EXPECT_EQ(Ids(covered), (std::vector<int32_t>{46, 47}));
    EXPECT_EQ(WM_State.numInvalid, 0);
    EXPECT_EQ(WM_Run(), 0);
}

TEST_F(WmPaint, TwoInvalidAreasPaintTheirBoundingRectangle) {
    const WM_HWINDOW h = WM_CreateTop(0, 0, 100, 100, 0, LogMessages, 0);
    WM_Show(h);
    WM_Run();
    g_log.clear();
    wm::MarkInvalid(h, {0, 0, 9, 9});
    wm::MarkInvalid(h, {20, 20, 29, 29});
    WM_Run();
    ASSERT_EQ(Logged(h, WM_MSG_PAINT).size(), 1u);
    EXPECT_TRUE(Logged(h, WM_MSG_PAINT)[0].clip == (GUI_BOX{0, 0, 29, 29}));
}

TEST_F(WmPaint, NestedClipIterationDrawsOnceWithTheOuterClip) {
    const WM_HWINDOW h = WM_CreateTop(0, 0, 100, 100, WM_CF_SHOW, LogMessages, 0);
    WM_CreateChild(40, 40, 20, 20, h, WM_CF_SHOW, nullptr, 0);
    WM_Run();
    int inner = 0;
    g_onMessage = [&](WM_MSG_RECORD* m) {
        if (m->MsgId != WM_MSG_PAINT) return;
        const GUI_BOX outer = GUI_Context.clipRect;
        const GUI_BOX everything{-4095, -4095, 4095, 4095};
        if (WM_ClipBegin(&everything)) {
            do {
                ++inner;
                EXPECT_TRUE(GUI_Context.clipRect == outer);
            } while (WM_ClipNext());
        }
    };
    WM_Repaint(h);
    EXPECT_EQ(inner, 4) << "once per outer rectangle";
}

TEST_F(WmPaint, IterationStopsAfter201Rectangles) {
    // A 1-pixel line cut by 250 one-pixel children: 251 pieces.
    const WM_HWINDOW line = WM_CreateTop(0, 0, 600, 1, WM_CF_SHOW, LogMessages, 0);
    for (int i = 0; i < 250; ++i)
        WM_CreateChild(2 * i + 1, 0, 1, 1, line, WM_CF_SHOW, nullptr, 0);
    WM_Select(line);
    int rects = 0;
    for (int more = WM_ClipBegin(nullptr); more; more = WM_ClipNext())
        ++rects;
    EXPECT_EQ(rects, 201);
}

TEST_F(WmPaint, TwentyFirstNestedMessageIsDropped) {
    const WM_HWINDOW h = WM_CreateTop(0, 0, 10, 10, 0, LogMessages, 0);
    g_log.clear();
    int calls = 0;
    g_onMessage = [&](WM_MSG_RECORD* m) {
        if (m->MsgId != 100) return;
        ++calls;
        WM_SendId(h, 100);
    };
    WM_SendId(h, 100);
    EXPECT_EQ(calls, 20);
    EXPECT_EQ(WM_State.depth, 0);
}

TEST_F(WmPaint, PassPaintsEachWindowOnceAndReturns) {
    const WM_HWINDOW a = WM_CreateTop(0, 0, 50, 50, WM_CF_SHOW, LogMessages, 0);
    const WM_HWINDOW b = WM_CreateTop(100, 0, 50, 50, WM_CF_SHOW, LogMessages, 0);
    const WM_HWINDOW self = WM_CreateTop(200, 0, 50, 50, WM_CF_SHOW, LogMessages, 0);
    g_onMessage = [&](WM_MSG_RECORD* m) {
        if (m->MsgId == WM_MSG_PAINT) WM_Invalidate(m->hWin == a ? b : m->hWin == b ? a : self);
    };
    for (int pass = 0; pass < 2; ++pass) {
        g_log.clear();
        EXPECT_EQ(WM_Run(), 1);
        for (WM_HWINDOW h : {a, b, self})
            EXPECT_EQ(Logged(h, WM_MSG_PAINT).size(), 1u) << pass;
        EXPECT_GT(WM_State.numInvalid, 0) << "what the paints invalidated waits for the next pass";
    }
}

}  // namespace
