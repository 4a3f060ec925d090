// The follow request between the GUI thread, which asks for a value for the edit state it saw, and the
// menu/control thread, which applies it only while that state is still current.
#include "panel/menu/edit_follow.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/control/hooks/screen_request.h"
#include "core/system/state/edit_state.h"

namespace {

class EditFollow : public ::testing::Test {
  protected:
    void SetUp() override {
        ScreenRequest_SetRunners({.editFollow = EditFollow_Apply});
        ScreenRequest_RunPending();
    }
    void TearDown() override {
        ScreenRequest_SetRunners({});
        ScreenRequest_RunPending();
    }
    // Asked as the GUI thread asks: from a thread that is not the menu/control thread.
    static void AskFromGui(uint32_t state, int32_t value) {
        std::thread([state, value] { ScreenRequest_Ask(ScreenRequest::kEditFollow, state, value); }).join();
    }
};

TEST_F(EditFollow, AppliedOnceAndOnlyWhileItsEditStateIsCurrent) {
    g_MenuState.store(196);
    g_EditParam.workValue.store(0);
    AskFromGui(196, -5);
    EXPECT_EQ(g_EditParam.workValue.load(), 0) << "not before the menu/control pass";
    EXPECT_EQ(ScreenRequest_RunPending(), 1u);
    EXPECT_EQ(g_EditParam.workValue.load(), -5) << "a negative value survives";
    EXPECT_EQ(ScreenRequest_RunPending(), 0u) << "taken once";

    AskFromGui(198, 7);
    ScreenRequest_RunPending();
    EXPECT_EQ(g_EditParam.workValue.load(), -5) << "asked for another editor";

    // A later request replaces one still waiting.
    AskFromGui(196, 11);
    AskFromGui(196, 12);
    EXPECT_EQ(ScreenRequest_RunPending(), 1u);
    EXPECT_EQ(g_EditParam.workValue.load(), 12);
}

TEST_F(EditFollow, PostAndApplyOnTwoThreadsNeverMixStateAndValue) {
    // Values carry their state; whatever the menu/control thread applies must belong to the state current
    // when it applied it.
    std::atomic<bool> done{false};
    std::atomic<int> mismatches{0};
    std::thread gui([&] {
        for (int i = 0; i < 20000; ++i) {
            const uint32_t state = (i & 1) != 0 ? 196 : 198;
            ScreenRequest_Ask(ScreenRequest::kEditFollow, state, static_cast<int32_t>(state * 100000 + i % 1000));
        }
        done.store(true);
    });
    std::thread menu([&] {
        for (int i = 0; i < 40000 && !(done.load() && i > 20000); ++i) {
            const uint32_t state = (i & 2) != 0 ? 196 : 198;
            g_MenuState.store(state);
            g_EditParam.workValue.store(0);
            ScreenRequest_RunPending();
            const int32_t applied = g_EditParam.workValue.load();
            if (applied != 0 && applied / 100000 != static_cast<int32_t>(state)) ++mismatches;
        }
    });
    gui.join();
    menu.join();
    EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
