// The seeds of the storage readers' fuzz targets (tests/storage/fuzz/seeds/<target>: files the program's own
// writers made, and damaged copies named after their damage), replayed through the same one-input
// functions in every build, with a few truncations of each.
#include <gtest/gtest.h>

#include "tests/storage/fuzz/storage_fuzz_fixture.h"
#include "tests/support/fuzz_checks.h"

namespace {

using OneInput = void (*)(const uint8_t*, size_t);

// Every seed whole, empty, and cut to half and to one byte short.
int Replay(const char* target, OneInput one) {
    return testsupport::ForEachSeed(
        std::filesystem::path(__FILE__).parent_path() / "fuzz" / "seeds" / target,
        [one](const std::string& name, const std::vector<uint8_t>& f) {
            SCOPED_TRACE(name);
            for (size_t n : {f.size(), size_t{0}, f.size() / 2, f.empty() ? size_t{0} : f.size() - 1})
                one(f.data(), n);
        });
}

TEST(StorageFuzzReplay, SeedsAndTheirTruncations) {
    storagefuzz::Environment env;
    const struct {
        const char* target;
        OneInput one;
    } targets[] = {
        {"preset_file", storagefuzz::PresetFileOne},   {"arb_file", storagefuzz::ArbFileOne},
        {"barcode_file", storagefuzz::BarcodeFileOne}, {"calibration_file", storagefuzz::CalibrationFileOne},
        {"nv_block", storagefuzz::NvBlockOne},         {"config_text", storagefuzz::ConfigTextOne},
        {"told_record", storagefuzz::ToldRecordOne},
    };
    for (const auto& t : targets)
        EXPECT_GE(Replay(t.target, t.one), 3) << t.target;
}

}  // namespace
