#include "platform/host/clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// The scaled sleeps and clock speed are what every test on a fast clock relies on (the mailbox's
// bounded wait, the reset pulse's waits); here the clock under a changing scale.
TEST(Clock, ReadersNeverSeeItGoBackWhileTheScaleChanges) {
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
        plat::SetTimeScale(i % 3 == 0 ? 1000.0 : i % 3 == 1 ? 0.2 : 50.0);  // ends on 0.2
    done = true;
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(backwards, 0);
    EXPECT_EQ(plat::TimeScale(), 1.0);  // below real time is taken as real time
}

}  // namespace
