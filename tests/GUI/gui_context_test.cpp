// The drawing context's setters, its copy, layer selection, the device chain's order and start-up.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "tests/GUI/screen_fixture.h"
#include "tests/GUI/wm/wm_fixture.h"

namespace {

using namespace guitest;

class GuiContext : public ::testing::Test {
  protected:
    void SetUp() override { FreshGui(); }
};

const GUI_FONTDEF* Font(int n) {
    static const char fonts[3] = {};
    return reinterpret_cast<const GUI_FONTDEF*>(&fonts[n]);
}

TEST_F(GuiContext, SettersReturnThePreviousValue) {
    auto number = [](int n) { return static_cast<intptr_t>(n); };
    auto font = [](int n) { return reinterpret_cast<intptr_t>(Font(n)); };
    const struct {
        std::function<intptr_t(int)> set;  // sets value(n), answers the previous value
        std::function<intptr_t(int)> value;
    } setters[] = {
        {[](int n) { return GUI_SetPaintMode(static_cast<uint8_t>(n)); }, number},
        {[](int n) { return GUI_SetAlign(static_cast<uint16_t>(n)); }, number},
        {[](int n) { return GUI_SetTextDrawMode(static_cast<uint16_t>(n)); }, number},
        {[](int n) { return GUI_SetPenWidth(static_cast<uint8_t>(n)); }, number},
        {[](int n) { return GUI_SetLineKind(static_cast<uint8_t>(n)); }, number},
        {[](int n) { return reinterpret_cast<intptr_t>(GUI_SelectFont(Font(n))); }, font},
    };
    for (const auto& s : setters) {
        s.set(1);
        EXPECT_EQ(s.set(2), s.value(1));
        EXPECT_EQ(s.set(1), s.value(2));
    }
    EXPECT_EQ(GUI_SelectFont(nullptr), Font(1)) << "null keeps the font";
    EXPECT_EQ(GUI_GetCurrentFont(), Font(1));
}

TEST_F(GuiContext, CopyRoundTrips) {
    GUI_DRAWCTX saved;
    GUI_CopyContextOut(&saved);
    GUI_SetForeColor(0x123456);
    GUI_SetBackColor(0x654321);
    GUI_SelectFont(Font(2));
    GUI_SetAlign(12);
    WM_Select(WM_CreateTop(5, 5, 10, 10, WM_CF_SHOW, nullptr, 0));
    GUI_Context.clipRect = {1, 2, 3, 4};
    GUI_CopyContextIn(&saved);
    EXPECT_EQ(std::memcmp(&saved, &GUI_Context, sizeof saved), 0);
}

TEST_F(GuiContext, OnlyLayerZeroIsSelected) {
    EXPECT_EQ(GUI_SelectLayerIndex(1), 0);
    EXPECT_EQ(GUI_Context.selLayer, 0);
    EXPECT_EQ(GUI_DEV_NewAndInsert(&kRecordingDisplay, nullptr, 0, 1), nullptr);
    EXPECT_EQ(GUI_DEV_FindDriver(1), nullptr);
}

TEST_F(GuiContext, ChainIsOrderedByClassAndFlag) {
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
