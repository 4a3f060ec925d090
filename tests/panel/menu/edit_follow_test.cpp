// The follow request between the GUI thread, which posts a value for the edit state it saw, and the
// menu/control thread, which applies it only while that state is still current.
#include "panel/menu/edit_follow.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/system/state/edit_state.h"

namespace {

TEST(EditFollow, AppliedOnceAndOnlyWhileItsEditStateIsCurrent) {
    g_MenuState.store(196);
    g_EditParam.workValue.store(0);
    EditFollow_Post(196, -5);
    EXPECT_EQ(EditFollow_Apply(), 1);
    EXPECT_EQ(g_EditParam.workValue.load(), -5) << "a negative value survives the packing";
    EXPECT_EQ(EditFollow_Apply(), 0) << "taken once";

    EditFollow_Post(198, 7);
    EXPECT_EQ(EditFollow_Apply(), 0) << "posted for another editor";
    EXPECT_EQ(g_EditParam.workValue.load(), -5);
}

TEST(EditFollow, PostAndApplyOnTwoThreadsNeverMixStateAndValue) {
    // Values carry their state; whatever the menu/control thread applies must belong to the state current
    // when it applied it.
    std::atomic<bool> done{false};
    std::atomic<int> mismatches{0};
    std::thread gui([&] {
        for (int i = 0; i < 20000; ++i) {
            const uint32_t state = (i & 1) != 0 ? 196 : 198;
            EditFollow_Post(state, static_cast<int32_t>(state * 100000 + i % 1000));
        }
        done.store(true);
    });
    std::thread menu([&] {
        for (int i = 0; i < 40000 && !(done.load() && i > 20000); ++i) {
            const uint32_t state = (i & 2) != 0 ? 196 : 198;
            g_MenuState.store(state);
            if (EditFollow_Apply() == 1 &&
                g_EditParam.workValue.load() / 100000 != static_cast<int32_t>(state))
                ++mismatches;
        }
    });
    gui.join();
    menu.join();
    EXPECT_EQ(mismatches.load(), 0);
    EditFollow_Apply();
}

}  // namespace
