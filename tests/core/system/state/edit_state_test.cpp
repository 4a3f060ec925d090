// The edit words handed from the menu/control thread to the GUI thread.
#include "core/system/state/edit_state.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

// Every word of the edit buffer and the edited parameter carries the step number n, so that a copy taken
// half-way through a step shows two numbers.
void WriteStep(uint32_t n) {
    g_EditBuf.entryState = n;
    g_EditBuf.entryScale = static_cast<float>(n % 1000);
    g_EditBuf.entryValue = n;
    g_EditBuf.enteredInt = static_cast<int32_t>(n);
    std::memset(g_EditBuf.entryText, '0' + static_cast<int>(n % 10), sizeof g_EditBuf.entryText);
    g_EditBuf.entryLength = static_cast<uint8_t>(n);
    g_EditBuf.choiceValue = n;
    g_EditBuf.startChoiceValue = n;
    g_EditBuf.choiceCursor = n;
    g_EditParam.workValue.store(static_cast<int32_t>(n), std::memory_order_relaxed);
    g_EditParam.cursor = n;
}

// The step number the shown words carry, or -1 when they mix steps.
int64_t ShownStep() {
    const panel::EditView& v = g_EditShown;
    const uint32_t n = v.buf.entryState;
    bool same = v.buf.entryScale == static_cast<float>(n % 1000) && v.buf.entryValue == n &&
                v.buf.enteredInt == static_cast<int32_t>(n) && v.buf.entryLength == static_cast<uint8_t>(n) &&
                v.buf.choiceValue == n && v.buf.startChoiceValue == n && v.buf.choiceCursor == n &&
                v.workValue == static_cast<int32_t>(n) && v.cursor == n;
    for (char c : v.buf.entryText)
        same = same && c == '0' + static_cast<int>(n % 10);
    return same ? static_cast<int64_t>(n) : -1;
}

// Both threads wait here for the other (at most 10 s), so that their loops overlap.
void MeetAt(std::atomic<int>& gate) {
    gate.fetch_add(1, std::memory_order_relaxed);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (gate.load(std::memory_order_relaxed) < 2 && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::yield();
}

// Each copy is one whole step and the steps never go back; ThreadSanitizer reports an unguarded copy.
TEST(EditWords, GuiThreadTakesWholeStepsWhileTheMenuThreadPublishes) {
    constexpr uint32_t kMinSteps = 20000;
    constexpr uint32_t kMaxSteps = 2000000;
    constexpr int64_t kMinTakes = 2000;     // the writer goes on until the reader took this many copies
    constexpr int64_t kMaxTakes = 4000000;  // bounds the reader if the last step never arrives
    WriteStep(0);
    panel::EditPublish();
    std::atomic<int> gate{0};
    std::atomic<int64_t> takes{0};
    std::atomic<bool> writerDone{false};
    std::thread menu([&] {
        MeetAt(gate);
        uint32_t n = 1;
        for (; n <= kMaxSteps && (n <= kMinSteps || takes.load(std::memory_order_relaxed) < kMinTakes); ++n) {
            WriteStep(n);
            panel::EditPublish();
        }
        writerDone.store(true, std::memory_order_release);
    });
    int64_t torn = 0, backwards = 0, last = 0;
    std::thread gui([&] {
        MeetAt(gate);
        while (takes.load(std::memory_order_relaxed) < kMaxTakes) {
            const bool finished = writerDone.load(std::memory_order_acquire);
            panel::EditSnapshotTake();
            takes.fetch_add(1, std::memory_order_relaxed);
            const int64_t step = ShownStep();
            if (step < 0)
                ++torn;
            else if (step < last)
                ++backwards;
            else
                last = step;
            if (finished) break;
        }
    });
    menu.join();
    gui.join();
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(backwards, 0);
    EXPECT_GE(last, kMinSteps) << "the copy taken after the last publish shows the last step";
    EXPECT_LT(takes.load(), kMaxTakes);
}

TEST(EditWords, UnpublishedChangesAreNotShown) {
    WriteStep(5);
    panel::EditPublish();
    WriteStep(6);
    std::thread gui([] { panel::EditSnapshotTake(); });
    gui.join();
    EXPECT_EQ(ShownStep(), 5);
    panel::EditPublish();
    std::thread again([] { panel::EditSnapshotTake(); });
    again.join();
    EXPECT_EQ(ShownStep(), 6);
    WriteStep(0);
    panel::EditPublish();
    panel::EditSnapshotTake();
}

}  // namespace
