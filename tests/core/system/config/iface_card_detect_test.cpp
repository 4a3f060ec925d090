// Detection of the optional interface card through the rooted GPIO files.
#include "core/system/config/iface_card_detect.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <tuple>

#include "core/system/config/iface_cfg.h"
#include "tests/support/temp_root.h"

namespace {

std::string ValuePath(int line) {
    return "/sys/class/gpio/gpio" + std::to_string(line) + "/value";
}

}  // namespace

TEST(IfaceCardDetect, LinesDecideTheCardInOrder106Then17Then101) {
    testsupport::TempRoot root;
    // {lines 101, 17 and 106, card found, card-present words of 101, 17 and 106}
    const std::tuple<const char*, const char*, const char*, int, uint32_t, uint32_t, uint32_t> cases[] = {
        {"0\n", "0\n", "0\n", 0, 0, 0, 0}, {"1\n", "0\n", "0\n", 1, 1, 0, 0},
        {"0\n", "1\n", "0\n", 2, 0, 1, 0}, {"1\n", "1\n", "0\n", 2, 0, 1, 0},
        {"1\n", "1\n", "1\n", 3, 0, 0, 1}, {"0\n", "0\n", "1\n", 3, 0, 0, 1},
    };
    for (const auto& [v101, v17, v106, result, present101, present17, present106] : cases) {
        root.Write(ValuePath(101), v101);
        root.Write(ValuePath(17), v17);
        root.Write(ValuePath(106), v106);
        for (uint32_t& w : g_IfaceCfg.cardPresent)
            w = 7;
        SCOPED_TRACE(testing::Message() << v101[0] << v17[0] << v106[0]);
        EXPECT_EQ(IfaceCardDetect(), result);
        EXPECT_EQ(g_IfaceCfg.cardPresent[storage::kCardLine101], present101);
        EXPECT_EQ(g_IfaceCfg.cardPresent[storage::kCardLine17], present17);
        EXPECT_EQ(g_IfaceCfg.cardPresent[storage::kCardLine106], present106);
    }
}

// The fieldbus thread and the factory default detect at once: never no card, nor two lines.
TEST(IfaceCardDetect, DetectionsAtOnceNeverShowTheCardMissing) {
    testsupport::TempRoot root;
    root.Write(ValuePath(101), "0\n");
    root.Write(ValuePath(17), "1\n");
    root.Write(ValuePath(106), "0\n");
    ASSERT_EQ(IfaceCardDetect(), 2);
    std::atomic<int> detectorsLeft{2};
    std::atomic<int> wrongResults{0};
    auto detector = [&] {
        for (int i = 0; i < 500; ++i)
            wrongResults += IfaceCardDetect() != 2;
        --detectorsLeft;
    };
    std::thread fieldbus(detector), defaults(detector);
    long looks = 0, wrongWords = 0;
    while (detectorsLeft.load() > 0) {
        uint32_t present = 0;
        for (uint32_t& w : g_IfaceCfg.cardPresent)
            present += std::atomic_ref<uint32_t>(w).load(std::memory_order_acquire);
        wrongWords += present != 1;
        ++looks;
    }
    fieldbus.join();
    defaults.join();
    EXPECT_EQ(wrongResults.load(), 0);
    EXPECT_EQ(wrongWords, 0) << "of " << looks << " looks";
}
