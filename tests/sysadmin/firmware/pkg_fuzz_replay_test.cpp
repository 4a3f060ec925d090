// The update package fuzz target's seeds, replayed in every build: the crafted packages among them are
// refused, the sound ones unpacked, and no seed nor any of its truncations changes the root outside
// /tmp/qx (pkgfuzz::One aborts when one does).
#include <gtest/gtest.h>

#include "tests/support/fuzz_checks.h"
#include "tests/sysadmin/pkg_fuzz_fixture.h"
#include "tests/sysadmin/sandbox_log_fixture.h"

namespace {

using PkgFuzzReplay = SandboxLogTest;

TEST_F(PkgFuzzReplay, SeedsAndTheirTruncations) {
    root.Write("/tmp/netconf", "IPADDR=172.16.28.120\n");
    pkgfuzz::Ready();
    const auto dir = std::filesystem::path(__FILE__).parent_path().parent_path() / "fuzz" / "seeds";
    // "ok-" packages unpack, "refused-" ones are refused; the plain archives are no package.
    EXPECT_GE(testsupport::ForEachSeed(dir, [](const std::string& name, const std::vector<uint8_t>& f) {
                  const int32_t want =
                      name.rfind("ok-", 0) == 0 ? 0 : name.rfind("refused-", 0) == 0 ? -105 : -600;
                  EXPECT_EQ(pkgfuzz::One(f.data(), f.size()), want) << name;
                  for (size_t n = 0; n < f.size(); n += 61)
                      pkgfuzz::One(f.data(), n);
              }),
              15);
    EXPECT_EQ(root.Read("/tmp/netconf"), "IPADDR=172.16.28.120\n");
}

}  // namespace
