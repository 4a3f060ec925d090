// The seeds of the SEQ and SIM file readers' fuzz targets (tests/engine/fuzz/seeds/<target>: files the
// program's own writers made, and changes in the fuzz input's form), replayed through the same one-input
// functions in every build.
#include <gtest/gtest.h>

#include "tests/engine/fuzz/seqsim_fuzz_fixture.h"
#include "tests/support/fuzz_checks.h"

namespace {

using OneInput = void (*)(const uint8_t*, size_t);

int Replay(const char* target, OneInput one) {
    return testsupport::ForEachSeed(
        std::filesystem::path(__FILE__).parent_path() / "fuzz" / "seeds" / target,
        [one](const std::string& name, const std::vector<uint8_t>& f) {
            SCOPED_TRACE(name);
            for (size_t n : {f.size(), size_t{0}, f.size() / 2})
                one(f.data(), n);
        });
}

TEST(SeqSimFuzzReplay, SeedsAndTheirTruncations) {
    seqsimfuzz::Environment env;
    EXPECT_GE(Replay("seq_file", seqsimfuzz::SeqFileOne), 4);
    EXPECT_GE(Replay("sim_file", seqsimfuzz::SimFileOne), 3);
    EXPECT_GE(Replay("names_file", seqsimfuzz::NamesFileOne), 2);
    EXPECT_GE(Replay("stored_record", seqsimfuzz::StoredRecordOne), 2);
}

}  // namespace
