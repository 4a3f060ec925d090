// The common frame of the data files: what the builder writes and what a reader refuses, also while a
// factory default rewrites the model name on another thread.
#include "storage/data_file_frame.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/system/config/identity.h"
#include "core/system/config/model_table.h"
#include "storage/file_result.h"

namespace {

class DataFileFrame : public ::testing::Test {
  protected:
    // Tests own the process: the identity is set, not restored.
    void SetUp() override { std::strcpy(g_ModelName, "VRN-4160"), g_ModelId = 2; }
    // A sealed preset image with a recognisable body.
    static std::vector<uint8_t> Preset() {
        std::vector<uint8_t> image(storage::DataFileSize(kFileKindPreset));
        EXPECT_EQ(FileHeaderBuild(kFileKindPreset, 3, image.data(), "Preset3.Set"), 0);
        for (size_t i = storage::kHeaderSize; i + 4 < image.size(); ++i)
            image[i] = static_cast<uint8_t>(i * 7);
        storage::DataFileSeal(image.data(), image.size());
        return image;
    }
};

constexpr storage::DataFileRule kPresetRule{kFileKindPreset, (1u << 0) | (1u << 2) | (1u << 5), -201};

TEST_F(DataFileFrame, BuilderWritesBigEndianHeaderAndTrailer) {
    const std::vector<uint8_t> image = Preset();
    const std::string head("VRN-4160\0\0\0\0\0\0\x09\xD4Set\0\0\0\0\0Preset3", 31);
    EXPECT_EQ(std::string(image.begin(), image.begin() + 31), head);
    const std::string words("\x04\x24\0\0\0\3\0\5\0\0\0\0\0\0\0\0", 16);
    EXPECT_EQ(std::string(image.begin() + 48, image.begin() + 64), words);
    uint32_t sum = 0;
    for (size_t i = 0; i + 4 < image.size(); ++i)
        sum += image[i];
    const size_t t = image.size() - 4;
    EXPECT_EQ(image[t] << 24 | image[t + 1] << 16 | image[t + 2] << 8 | image[t + 3], static_cast<int>(sum));
    EXPECT_EQ(storage::DataFileFrameCheck(image.data(), image.size(), kPresetRule), 1);
}

TEST_F(DataFileFrame, CorruptInputsAreRefused) {
    using Edit = std::function<void(std::vector<uint8_t>&)>;
    const auto reseal = [](std::vector<uint8_t>& v) { storage::DataFileSeal(v.data(), v.size()); };
    const struct {
        const char* what;
        Edit edit;
        int32_t expected;
    } cases[] = {
        {"one body byte", [](auto& v) { v[100] ^= 1; }, -200},
        {"trailer", [](auto& v) { v.back() ^= 1; }, -200},
        {"one byte short", [](auto& v) { v.pop_back(); }, -200},
        {"truncated header", [](auto& v) { v.resize(40); }, -200},
        {"empty", [](auto& v) { v.clear(); }, -200},
        {"size field", [&](auto& v) { v[15] ^= 1, reseal(v); }, -200},
        {"kind", [&](auto& v) { v[51] = 1, reseal(v); }, -200},
        {"version 3", [&](auto& v) { v[55] = 3, reseal(v); }, -200},
        {"version 0x8005", [&](auto& v) { v[54] = 0x80, reseal(v); }, -200},
        {"unknown model", [&](auto& v) { std::memcpy(v.data(), "XYZ-1", 5), reseal(v); }, -201},
        {"version 2 accepted", [&](auto& v) { v[55] = 2, reseal(v); }, 1},
        {"other model accepted", [&](auto& v) { v[6] = '4', v[7] = '5', reseal(v); }, 1},
        {"cut 13-char name", [&](auto& v) { std::memcpy(v.data(), "VRN-4145-13.", 12), reseal(v); }, 1},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> image = Preset();
        c.edit(image);
        EXPECT_EQ(storage::DataFileFrameCheck(image.data(), image.size(), kPresetRule), c.expected) << c.what;
    }
}

TEST_F(DataFileFrame, ModelCheckNamesThatDoNotFitAndTheWaveSum) {
    uint8_t image[84];
    std::memcpy(image, "NOSUCH", 7);
    EXPECT_EQ(ModelHeaderCheck(image, kFileKindArb), 1);  // waveforms travel between all models
    std::memcpy(image, "VRN-4145", 9);
    g_ModelId = 0;  // a unit without a model type loads no settings file
    EXPECT_EQ(ModelHeaderCheck(image, kFileKindSim), -201);
    std::memset(image, 0xEE, sizeof image);
    EXPECT_EQ(FileHeaderBuild(kFileKindArb, 1, image, "ABCDEFGHIJKLMNOPQRSTUVWXY"), -1);  // 25 characters
    EXPECT_EQ(FileHeaderBuild(kFileKindArb, 1, image, "A.123456789"), -1);  // extension of 9 overruns
    for (uint8_t b : image)
        ASSERT_EQ(b, 0);
    // A wave image whose word sum is a multiple of 65536 sums to 65536.
    uint8_t wave[40] = {};
    wave[16] = wave[18] = 0x80;  // 0x8000 + 0x8000
    wave[36] = 0xFF;             // in the trailer: not summed
    EXPECT_EQ(WaveImageSum(wave, sizeof wave), 65536u);
    wave[21] = 1;
    EXPECT_EQ(WaveImageSum(wave, sizeof wave), 65535u);
}

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
