#include "tests/engine/fuzz/seqsim_fuzz_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/seq/seq_internal.h"
#include "engine/seqsim/seqsim_file_layout.h"
#include "engine/seqsim/seqsim_names_file.h"
#include "engine/seqsim/seqsim_stored_record.h"
#include "storage/byte_order.h"
#include "storage/data_file_frame.h"
#include "tests/engine/seqsim_fixture.h"
#include "tests/support/fuzz_checks.h"

namespace seqsimfuzz {

namespace {

using namespace engine;

using testsupport::Fail;
using testsupport::OneOf;

// The default steps and configuration, put back before each input so that none carries over.
struct Defaults {
    SeqStepRecord seq[kSeqTables][kSeqSlices][kSeqSteps];
    SimStepRecord sim[kSimSets][kSeqSlices][kSimSlots];
    SeqSavedConfig seqSaved;
    SimSavedConfig simSaved;
    std::vector<uint8_t> seqImage;
};

test::SeqSimEnv* g_env = nullptr;
Defaults* g_defaults = nullptr;

void PutDefaults() {
    std::memcpy(g_SeqStepTable, g_defaults->seq, sizeof g_SeqStepTable);
    std::memcpy(g_SimStepTable, g_defaults->sim, sizeof g_SimStepTable);
    g_SeqSimBlock[0].seqSaved = g_defaults->seqSaved;
    g_SeqSimBlock[0].simSaved = g_defaults->simSaved;
    g_SeqSimBlock[0].invalid = 0;
    test::ClearTrace();
}

// A failed import leaves tables and configuration as they were.
template <typename Table>
void ImportChecked(const char* reader, int32_t r, const Table& before, const Table& now, bool sameSaved) {
    if (r == 1 || r > 0) return;
    if (std::memcmp(&before, &now, sizeof before) != 0 || !sameSaved)
        Fail(reader, "a refused import changed the tables");
}

// The loaded steps through the accessors the panel and the remote commands use: every limit read, and
// the fields set again to what they hold (a frequency re-rounds duty and phase angles).
void WalkSeqStep(int32_t step) {
    SeqSetCurStep(step);
    for (int p = 0; p < 3; ++p) {
        SeqGetAcvRangeMax(p);
        SeqGetAcvRangeMin(p);
        SeqGetDcvRangeMax(p);
        SeqGetDcvRangeMin(p);
        SeqGetStepAcvMax(p);
        SeqGetAcvVppMax(p);
        SeqGetOnOffPhaseMax(p);
        SeqSetFset(SeqGetFset(p), p);
        SeqSetAcv(SeqGetAcv(p), p);
        SeqSetDcv(SeqGetDcv(p), p);
        SeqClampAcvToMax(SeqGetAcv(p), p);
        SeqAcvOverVppMax(SeqGetAcv(p), p);
    }
    SeqSetTime(SeqGetTime());
    SeqSetJumpto(SeqGetJumpto());
    SeqSetJumpCnt(SeqGetJumpCnt());
}

}  // namespace

struct Environment::Parts {
    test::SeqSimEnv env;
    Defaults defaults;
};

Environment::Environment() : parts_(new Parts) {
    g_env = &parts_->env;
    g_defaults = &parts_->defaults;
    Defaults& d = parts_->defaults;
    std::memcpy(d.seq, g_SeqStepTable, sizeof d.seq);
    std::memcpy(d.sim, g_SimStepTable, sizeof d.sim);
    d.seqSaved = g_SeqSimBlock[0].seqSaved;
    d.simSaved = g_SeqSimBlock[0].simSaved;
    if (SeqBuildFile(3, 0) != 0) Fail("seqsim", "no default image");
    d.seqImage.assign(g_SeqFileBuf, g_SeqFileBuf + kSeqFileSize);
}

Environment::~Environment() {
    g_env = nullptr;
    g_defaults = nullptr;
    delete parts_;
}

void Start() {
    // Removed by its destructor when the fuzzer ends the process normally.
    static Environment environment;
}

void SeqFileOne(const uint8_t* data, size_t size) {
    if (size < 1) return;
    SeqSimSetMode(1);
    SeqSimSelectTables();
    PutDefaults();
    std::vector<uint8_t> image = g_defaults->seqImage;
    std::vector<int32_t> steps;
    for (size_t at = 1; at < size;) {
        const uint8_t tag = data[at++] % 3;
        if (tag == 0 && at + 9 <= size) {
            const int phase = data[at] % 3, table = data[at + 1] % kSeqTables;
            const int step = static_cast<int>(storage::LoadBe16(data + at + 2) % kSeqSteps);
            const uint32_t word = data[at + 4] % kSeqWords;
            std::memcpy(image.data() + SeqRecordOffset(phase, table, step) + 4 * word, data + at + 5, 4);
            steps.push_back(step);
            at += 9;
        } else if (tag == 1 && at + 3 <= size) {
            const uint32_t offset = data[at] % (kSeqCfgSize - 1);
            std::memcpy(image.data() + kSeqConfig + offset, data + at + 1, 2);
            at += 3;
        } else if (tag == 2 && at + 2 <= size) {
            image[data[at] % kFileBody] = data[at + 1];
            at += 2;
        } else {
            break;
        }
    }
    if (data[0] & 1) storage::DataFileSeal(image.data(), image.size());
    static constexpr int64_t kLengthDelta[4] = {0, -24256, -1, 1};
    const size_t length = static_cast<size_t>(static_cast<int64_t>(kSeqFileSize) + kLengthDelta[(data[0] >> 1) & 3]);
    image.resize(length, 0);

    g_env->ctrl.env.root.Write("/mnt/tst/seq/SEQ3.SEQ",
                               std::string(reinterpret_cast<const char*>(image.data()), image.size()));
    const int32_t loaded = SeqLoadFile(3);
    if (!OneOf(loaded, {1, -200, -201, -202})) Fail("seq load", "unknown result");
    // A table that failed validation stays loaded: what the accessors make of it is what a user gets.
    for (int32_t step : steps)
        WalkSeqStep(step);

    PutDefaults();
    auto before = std::make_unique<Defaults>();
    std::memcpy(before->seq, g_SeqStepTable, sizeof before->seq);
    const SeqSavedConfig savedBefore = g_SeqSimBlock[0].seqSaved;
    const int32_t imported = SeqImportFileImage(3, image.data(), static_cast<uint32_t>(image.size()));
    if (!OneOf(imported, {static_cast<int32_t>(kSeqFileSize), -200, -201, -202})) Fail("seq import", "unknown result");
    ImportChecked("seq import", imported, before->seq, g_SeqStepTable,
                  std::memcmp(&savedBefore, &g_SeqSimBlock[0].seqSaved, sizeof savedBefore) == 0);
    if ((imported > 0) != (loaded == 1)) Fail("seq import", "import and load disagree");
    for (int32_t step : steps)
        WalkSeqStep(step);
    PutDefaults();
}

void SimFileOne(const uint8_t* data, size_t size) {
    auto one = [](const std::string& f) {
        test::EnterSim();
        PutDefaults();
        g_env->ctrl.env.root.Write("/mnt/tst/sim/SIM3.SIM", f);
        const int32_t loaded = SimLoadFile(3);
        if (!OneOf(loaded, {1, -100, -200, -201, -202})) Fail("sim load", "unknown result");
        auto walk = [] {
            for (int32_t state = kSimInitial; state <= static_cast<int32_t>(kSimNormal2); ++state) {
                SeqSimSetCurStep(state);
                for (int p = 0; p < 3; ++p) {
                    SimGetAcvMax();
                    SimGetAcvVppMax();
                    SimGetOnOffPhaseMax(p);
                    SimSetFreq(SimGetFreq(p), p);
                    SimSetAcv(SimGetAcv(p), p);
                    SimSetOnpha(SimGetOnpha(p), p);
                    SimSetOffpha(SimGetOffpha(p), p);
                }
                SimSetTime(SimGetTime());
                SimSetRepeat(SimGetRepeat());
            }
        };
        walk();
        PutDefaults();
        auto before = std::make_unique<Defaults>();
        std::memcpy(before->sim, g_SimStepTable, sizeof before->sim);
        const SimSavedConfig savedBefore = g_SeqSimBlock[0].simSaved;
        const int32_t imported = f.empty() ? -1
            : SimImportFileImage(3, reinterpret_cast<const uint8_t*>(f.data()), static_cast<uint32_t>(f.size()));
        if (!OneOf(imported, {static_cast<int32_t>(kSimFileSize), -1, -200, -201, -202}))
            Fail("sim import", "unknown result");
        ImportChecked("sim import", imported, before->sim, g_SimStepTable,
                      std::memcmp(&savedBefore, &g_SeqSimBlock[0].simSaved, sizeof savedBefore) == 0);
        walk();
        PutDefaults();
    };
    std::string f(reinterpret_cast<const char*>(data), size);
    one(f);
    if (f.size() == kSimFileSize) {
        storage::DataFileSeal(reinterpret_cast<uint8_t*>(f.data()), f.size());
        one(f);
    }
}

void NamesFileOne(const uint8_t* data, size_t size) {
    auto one = [](const std::string& f) {
        g_env->ctrl.env.root.Write("/mnt/tst/seq/NAMES.SSN", f);
        std::memset(g_SeqMemName, 'x', sizeof g_SeqMemName);
        std::memset(g_SimMemName, 'x', sizeof g_SimMemName);
        const int32_t loaded = SeqSimNamesLoad(false);
        if (!OneOf(loaded, {0, 1})) Fail("names load", "unknown result");
        if (loaded == 0) {
            for (const auto* list : {g_SeqMemName, g_SimMemName})
                for (int i = 0; i < 10; ++i)
                    if (list[i][0] != 0) Fail("names load", "a refused file left a name");
            return;
        }
        // A file taken whole is written back as it was read.
        if (SeqSimNamesSave() != static_cast<int32_t>(kSeqSimNamesFileSize))
            Fail("names save", "not written");
        if (g_env->ctrl.env.root.Read("/mnt/tst/seq/NAMES.SSN") != f)
            Fail("names load", "names not as stored");
    };
    std::string f(reinterpret_cast<const char*>(data), size);
    one(f);
    if (f.size() == kSeqSimNamesFileSize) {
        storage::DataFileSeal(reinterpret_cast<uint8_t*>(f.data()), f.size());
        one(f);
    }
}

void StoredRecordOne(const uint8_t* data, size_t size) {
    const uint32_t parsed = SeqSimStoredParse(data, size);
    if (parsed >> (2 * kStoredSimShift) != 0) Fail("stored record", "names a memory there is not");
    const std::string record(reinterpret_cast<const char*>(data), size);
    g_env->ctrl.env.root.Write("/mnt/tst/seq/STORED.SSM", record);
    const uint32_t loaded = SeqSimStoredLoad();
    if ((loaded & ~parsed) != 0) Fail("stored record", "loaded a memory the bytes do not name");
    SeqSimMemFilesReport();
    if ((SeqSimStoredLoad() & loaded) != loaded) Fail("stored record", "the start dropped a recorded memory");
}

}  // namespace seqsimfuzz
