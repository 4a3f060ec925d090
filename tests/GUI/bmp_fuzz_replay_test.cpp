// The BMP fuzz target's seeds replayed, whole and cut at every length.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/GUI/bmp_fuzz_fixture.h"
#include "tests/GUI/screen_fixture.h"

namespace {

TEST(BmpFuzzReplay, SeedsAndTheirTruncations) {
    guitest::FreshScreen();
    const auto dir = std::filesystem::path(__FILE__).parent_path() / "fuzz" / "seeds";
    int seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<uint8_t> f{std::istreambuf_iterator<char>(in), {}};
        EXPECT_EQ(guitest::BmpFuzzOne(f.data(), f.size()), 0) << entry.path();
        for (size_t n = 0; n < f.size(); ++n)
            guitest::BmpFuzzOne(f.data(), n);
        ++seeds;
    }
    EXPECT_GE(seeds, 10);
}

}  // namespace
