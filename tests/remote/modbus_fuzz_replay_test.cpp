// The seeds of the Modbus register map's fuzz target (tests/remote/fuzz/seeds), replayed through the
// same one-input function in every build, whole and cut short.
#include <gtest/gtest.h>

#include "core/params/param_store.h"
#include "core/system/links/thread_ctl.h"
#include "tests/remote/modbus_fuzz_fixture.h"
#include "tests/support/fuzz_checks.h"

namespace {

TEST(ModbusFuzzReplay, SeedsAndTheirTruncations) {
    const auto dir = std::filesystem::path(__FILE__).parent_path() / "fuzz" / "seeds";
    EXPECT_GE(testsupport::ForEachSeed(dir, [](const std::string& name, const std::vector<uint8_t>& f) {
                  SCOPED_TRACE(name);
                  for (size_t n = 0; n <= f.size(); ++n)
                      modbusfuzz::One(f.data(), n);
              }),
              6);
    g_ThreadCtl.running[kRunModbus].store(0);
    g_ParamFlags.fetch_and(~static_cast<uint32_t>(core::kFlagKeysLocked));
}

}  // namespace
