// The seeds of the SEQ and SIM file readers' fuzz targets (tests/engine/fuzz/seeds/<target>), replayed
// through the same one-input functions in every build. The seeds are made from the files the program's
// own writers make (DISABLED_WriteSeeds writes them again:
//   engine_tests --gtest_also_run_disabled_tests --gtest_filter='SeqSimFuzzReplay.DISABLED_WriteSeeds').
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/seqsim/seqsim_file_layout.h"
#include "storage/byte_order.h"
#include "storage/data_file_frame.h"
#include "tests/engine/fuzz/seqsim_fuzz_fixture.h"

namespace {

namespace fs = std::filesystem;
using OneInput = void (*)(const uint8_t*, size_t);

const fs::path kSeeds = fs::path(__FILE__).parent_path() / "fuzz" / "seeds";

int Replay(const char* target, OneInput one) {
    int seeds = 0;
    for (const auto& entry : fs::directory_iterator(kSeeds / target)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<uint8_t> f{std::istreambuf_iterator<char>(in), {}};
        SCOPED_TRACE(entry.path().string());
        for (size_t n : {f.size(), size_t{0}, f.size() / 2})
            one(f.data(), n);
        ++seeds;
    }
    return seeds;
}

TEST(SeqSimFuzzReplay, SeedsAndTheirTruncations) {
    seqsimfuzz::Environment env;
    EXPECT_GE(Replay("seq_file", seqsimfuzz::SeqFileOne), 4);
    EXPECT_GE(Replay("sim_file", seqsimfuzz::SimFileOne), 3);
}

void Put(const char* target, const std::string& name, const std::vector<uint8_t>& bytes) {
    fs::create_directories(kSeeds / target);
    std::ofstream out(kSeeds / target / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A change of a SEQ step word in the fuzz input's form: tag 0, phase, table, step, word, value.
std::vector<uint8_t> StepWord(uint8_t phase, uint8_t table, uint16_t step, uint8_t word, uint32_t value) {
    std::vector<uint8_t> c = {0, phase, table, static_cast<uint8_t>(step >> 8), static_cast<uint8_t>(step), word,
                              0, 0, 0, 0};
    storage::StoreBe32(c.data() + 6, value);
    return c;
}
std::vector<uint8_t> Join(uint8_t flags, std::initializer_list<std::vector<uint8_t>> changes) {
    std::vector<uint8_t> f = {flags};
    for (const auto& c : changes)
        f.insert(f.end(), c.begin(), c.end());
    return f;
}

TEST(SeqSimFuzzReplay, DISABLED_WriteSeeds) {
    seqsimfuzz::Environment env;
    constexpr uint8_t kSealed = 1;
    // SEQ: the default file itself, one byte short, the older size, a damaged trailer, a foreign version,
    // and steps whose words a file may hold but no setter takes (ACV 0x80000000, the largest duty and
    // angles at a high frequency).
    Put("seq_file", "valid", Join(kSealed, {}));
    Put("seq_file", "short", Join(kSealed | (2 << 1), {}));
    Put("seq_file", "old-size", Join(kSealed | (1 << 1), {}));
    Put("seq_file", "trailer", Join(0, {{2, 63, 1}}));
    Put("seq_file", "version", Join(kSealed, {{2, 55, 4}}));
    Put("seq_file", "acv-0x80000000", Join(kSealed, {StepWord(0, 0, 1, 1, 0x80000000u), StepWord(1, 2, 1, 1, 0x80000000u)}));
    // In every table, so that the one the output kind and range select holds them.
    std::vector<uint8_t> top = {kSealed};
    for (uint8_t table = 0; table < kSeqTables; ++table)
        for (const auto& c : {StepWord(0, table, 2, 3, 150000), StepWord(0, table, 2, 5, 0x7FFFFFFFu),
                              StepWord(0, table, 2, 7, 0x7FFFFFFFu), StepWord(0, table, 2, 8, 0x7FFFFFFDu)})
            top.insert(top.end(), c.begin(), c.end());
    Put("seq_file", "words-at-their-top", top);
    Put("seq_file", "config", Join(kSealed, {{1, engine::kSeqCfgWiring, 0, 7}, {1, engine::kSeqCfgUnit, 0, 1}}));

    // SIM: the default file, a damaged trailer, and a state with angles at their top at a high frequency.
    std::vector<uint8_t> sim(seqsimfuzz::SimDefaultImage(), seqsimfuzz::SimDefaultImage() + kSimFileSize);
    Put("sim_file", "valid.SIM", sim);
    std::vector<uint8_t> s = sim;
    s[kSimFileSize - 1] ^= 1;
    Put("sim_file", "trailer.SIM", s);
    s = sim;
    for (int set = 0; set < kSimSets; ++set) {
        const uint32_t normal1 = engine::SimRecordOffset(0, set, kSimNormal1);
        storage::StoreBe32(s.data() + normal1 + 4 * 2, 60000);        // freq
        storage::StoreBe32(s.data() + normal1 + 4 * 5, 0x7FFFFFFEu);  // on phase
        storage::StoreBe32(s.data() + normal1 + 4 * 6, 0x7FFFFFFFu);  // off phase
    }
    storage::DataFileSeal(s.data(), s.size());
    Put("sim_file", "angles.SIM", s);
}

}  // namespace
