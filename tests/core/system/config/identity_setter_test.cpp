// The identity texts end up in /tmp/netconf, the LXI service file and module parameters: their setter
// keeps control characters out.
#include "core/system/config/identity.h"

#include <gtest/gtest.h>

#include <string>

#include "core/system/config/model_table.h"

namespace {

std::string Text(const char* field, size_t size) {
    std::string out(size, '\0');
    IdentityTextRead(field, size, out.data());
    return out;
}

TEST(IdentitySetter, ControlCharactersAreRefusedAndTheTextStays) {
    ASSERT_TRUE(IdentityTextWrite(g_SerialNo, sizeof g_SerialNo, "QX12345678", 10));
    const std::string serial = Text(g_SerialNo, sizeof g_SerialNo);
    for (const std::string bad : {"QX1\nIPADDR=1.2", "QX1\r", "\tQX1", "QX\x7f", "QX\x1b[2J"}) {
        EXPECT_FALSE(IdentityTextWrite(g_SerialNo, sizeof g_SerialNo, bad.data(), bad.size())) << bad;
        EXPECT_EQ(Text(g_SerialNo, sizeof g_SerialNo), serial) << bad;
    }
    ASSERT_TRUE(IdentityTextWrite(g_ModelName, sizeof g_ModelName, "VRN-4145", 8));
    EXPECT_FALSE(IdentityTextWrite(g_ModelName, sizeof g_ModelName, "VRN\n4145", 8));
    EXPECT_EQ(Text(g_ModelName, 9), std::string("VRN-4145", 9));

    // Only the text counts: what the field holds after its terminator (a stored block's filler) and
    // beyond its size is not part of it. Letters above ASCII are not control characters.
    const char stored[16] = {'S', 'N', '-', '7', '\0', '\n', '\r', 1, 2};
    EXPECT_TRUE(IdentityTextWrite(g_SerialNo, sizeof g_SerialNo, stored, sizeof stored));
    EXPECT_EQ(Text(g_SerialNo, 5), std::string("SN-7", 5));
    EXPECT_TRUE(IdentityTextWrite(g_SerialNo, 4, "SN-8\n", 5));
    EXPECT_TRUE(IdentityTextWrite(g_SerialNo, sizeof g_SerialNo, "S\xC3\xA9rie", 6));
}

}  // namespace
