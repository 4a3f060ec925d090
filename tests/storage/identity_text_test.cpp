// The model name is rewritten by a factory default while file headers are built on other threads.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "core/system/config/identity.h"
#include "core/system/config/model_table.h"
#include "storage/data_file_frame.h"

namespace {

// A header built while the name changes carries the old name or the new one, never a mixture.
TEST(IdentityText, HeadersNeverSeeAHalfWrittenModelName) {
    const char* names[2] = {"VRN-4145", "VRN360-351"};
    IdentityTextWrite(g_ModelName, sizeof g_ModelName, names[0], std::strlen(names[0]));
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (int i = 0; !stop.load(); ++i)
            IdentityTextWrite(g_ModelName, sizeof g_ModelName, names[i & 1], std::strlen(names[i & 1]));
    });
    for (int i = 0; i < 20000; ++i) {
        uint8_t image[84];
        EXPECT_EQ(FileHeaderBuild(0, 0, image, "A.SEQ"), 0);
        const std::string got(reinterpret_cast<const char*>(image),
                              strnlen(reinterpret_cast<const char*>(image), 12));
        EXPECT_TRUE(got == names[0] || got == names[1]) << got;
    }
    stop.store(true);
    writer.join();
}

}  // namespace
