// The BMP fuzz target's seeds replayed, whole and cut at every length.
#include <gtest/gtest.h>

#include "tests/GUI/bmp_fuzz_fixture.h"
#include "tests/GUI/screen_fixture.h"
#include "tests/support/fuzz_checks.h"

namespace {

TEST(BmpFuzzReplay, SeedsAndTheirTruncations) {
    guitest::FreshScreen();
    const auto dir = std::filesystem::path(__FILE__).parent_path() / "fuzz" / "seeds";
    EXPECT_GE(testsupport::ForEachSeed(dir, [](const std::string& name, const std::vector<uint8_t>& f) {
                  EXPECT_EQ(guitest::BmpFuzzOne(f.data(), f.size()), 0) << name;
                  for (size_t n = 0; n < f.size(); ++n)
                      guitest::BmpFuzzOne(f.data(), n);
              }),
              10);
}

}  // namespace
