// The seeds of the Modbus register map's fuzz target (tests/remote/fuzz/seeds), replayed through the
// same one-input function in every build, whole and cut short.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "core/params/param_store.h"
#include "core/system/state/thread_ctl.h"
#include "tests/remote/modbus_fuzz_fixture.h"

namespace {

namespace fs = std::filesystem;

TEST(ModbusFuzzReplay, SeedsAndTheirTruncations) {
    int seeds = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(__FILE__).parent_path() / "fuzz" / "seeds")) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<uint8_t> f{std::istreambuf_iterator<char>(in), {}};
        SCOPED_TRACE(entry.path().string());
        for (size_t n = 0; n <= f.size(); ++n)
            modbusfuzz::One(f.data(), n);
        ++seeds;
    }
    EXPECT_GE(seeds, 6);
    g_ThreadCtl.running[kRunModbus].store(0);
    g_ParamFlags.fetch_and(~static_cast<uint32_t>(core::kFlagKeysLocked));
}

}  // namespace
