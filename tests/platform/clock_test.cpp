#include "platform/clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

// Restores real time whatever the test does.
struct ScaleGuard {
    ~ScaleGuard() { plat::SetTimeScale(1.0); }
};

TEST(Clock, TimeScaleShortensSleepsAndSpeedsTheClock) {
    ScaleGuard guard;
    plat::SetTimeScale(100.0);
    EXPECT_EQ(plat::TimeScale(), 100.0);
    auto hostStart = std::chrono::steady_clock::now();
    uint64_t start = plat::NowMs();
    plat::SleepMs(2000);
    EXPECT_LT(std::chrono::steady_clock::now() - hostStart, std::chrono::milliseconds(1000));
    EXPECT_GE(plat::NowMs() - start, 2000u);
    plat::SetTimeScale(0.2);  // below real time is taken as real time
    EXPECT_EQ(plat::TimeScale(), 1.0);
}

TEST(Clock, ReadersNeverSeeItGoBackWhileTheScaleChanges) {
    ScaleGuard guard;
    std::atomic<bool> done{false};
    std::atomic<int> backwards{0};
    std::vector<std::thread> readers;
    for (int t = 0; t < 4; ++t)
        readers.emplace_back([&] {
            uint64_t last = plat::NowUs();
            while (!done) {
                uint64_t now = plat::NowUs();
                if (now < last) ++backwards;
                last = now;
            }
        });
    for (int i = 0; i < 200; ++i)
        plat::SetTimeScale(i % 3 == 0 ? 1000.0 : i % 3 == 1 ? 50.0 : 1.0);
    done = true;
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(backwards, 0);
}

}  // namespace
