// The web servers' workers stamp their answers' Date headers at the same time: each thread's gmtime()
// result must be its own, or one answer can carry another's time half-written.
#include <gtest/gtest.h>

#include <ctime>
#include <thread>

TEST(WebDate, EachThreadStampsItsOwnTime) {
    const time_t epoch = 0;
    const time_t yearLater = 365 * 86400;
    const struct tm* mine = gmtime(&epoch);
    const struct tm* theirs = nullptr;
    int theirYear = 0;
    std::thread([&] {
        theirs = gmtime(&yearLater);
        theirYear = theirs->tm_year;
    }).join();
    EXPECT_NE(mine, theirs);
    EXPECT_EQ(mine->tm_year, 70);
    EXPECT_EQ(theirYear, 71);
}
