// SEQ and SIM memory files: the bytes written, corrupt files, imports that fail, and a save killed midway.
#include "engine/seqsim/seqsim_file.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "engine/seqsim/seqsim_defaults.h"
#include "engine/seqsim/seqsim_mem_slots.h"
#include "engine/seqsim/seqsim_names_file.h"
#include "engine/seqsim/seqsim_stored_record.h"
#include "platform/host/root.h"
#include "storage/byte_order.h"
#include "storage/data_file_frame.h"
#include "tests/engine/seqsim_fixture.h"

namespace {

struct Tables {
    SeqStepRecord t[kSeqTables][kSeqSlices][kSeqSteps];
};

class SeqSimFile : public ::testing::Test {
  protected:
    std::string Read(const std::string& path) { return env_.ctrl.env.root.Read(path); }
    void Write(const std::string& path, const std::string& bytes) { env_.ctrl.env.root.Write(path, bytes); }
    // A copy of the working SEQ tables, to compare with after a refused load.
    std::unique_ptr<Tables> Snapshot() {
        auto t = std::make_unique<Tables>();
        std::memcpy(t.get(), g_SeqStepTable, sizeof(Tables));
        return t;
    }
    static bool Same(const Tables& t) { return std::memcmp(&t, g_SeqStepTable, sizeof(Tables)) == 0; }
    // Step data unlike the defaults, in every phase and table.
    static void Scramble(uint32_t seed) {
        for (int t = 0; t < kSeqTables; ++t)
            for (int p = 0; p < 3; ++p) {
                g_SeqStepTable[t][p][seed % kSeqSteps].dcv = -static_cast<int32_t>(seed + t + p);
                g_SeqStepTable[t][p][(seed * 7) % kSeqSteps].time = seed + 1;
            }
    }
    test::SeqSimEnv env_;
};

uint16_t Be16(const std::string& f, size_t at) {
    return storage::LoadBe16(reinterpret_cast<const uint8_t*>(f.data()) + at);
}
bool TrailerOk(const std::string& f) {
    const auto* p = reinterpret_cast<const uint8_t*>(f.data());
    return f.size() >= 4 && storage::LoadBe32(p + f.size() - 4) == SumBytesButLast4(p, f.size());
}
void Reseal(std::string& f) {
    storage::DataFileSeal(reinterpret_cast<uint8_t*>(f.data()), f.size());
}
// What the start's report of the memories prints.
std::string Report() {
    testing::internal::CaptureStderr();
    SeqSimMemFilesReport();
    return testing::internal::GetCapturedStderr();
}

// The saved layout, and the stored wiring and range read back without touching the tables.
TEST_F(SeqSimFile, SavedFilesHaveTheirLayout) {
    g_SeqSimBlock[0].seqSaved.wiring = 2;
    g_SeqSimBlock[0].seqSaved.range = 1;
    g_SeqSimBlock[0].simSaved.wiring = 1;
    ASSERT_EQ(SeqSaveFile(3, 0), static_cast<int32_t>(kSeqFileSize));
    ASSERT_EQ(SimSaveFile(3), static_cast<int32_t>(kSimFileSize));
    const std::string seq = Read("/mnt/tst/seq/SEQ3.SEQ"), sim = Read("/mnt/tst/sim/SIM3.SIM");
    ASSERT_EQ(seq.size(), 1224324u);
    EXPECT_EQ(seq.substr(48, 8), std::string("\x04\x24\x00\x01\x00\x03\x00\x05", 8));
    EXPECT_EQ(Be16(seq, 1224144), 2);
    EXPECT_TRUE(TrailerOk(seq));
    ASSERT_EQ(sim.size(), 1972u);
    EXPECT_EQ(sim.substr(48, 8), std::string("\x04\x24\x00\x02\x00\x03\x00\x04", 8));
    EXPECT_EQ(Be16(sim, 1942), 1);
    EXPECT_TRUE(TrailerOk(sim));
    g_SeqSimBlock[0].seqSaved.wiring = 0;
    Scramble(5);
    const auto before = Snapshot();
    uint16_t wiring = 9, range = 9;
    EXPECT_TRUE(SeqMem_StoredConfig(3, &wiring, &range));
    EXPECT_EQ(wiring, 2);
    EXPECT_EQ(range, 1);
    EXPECT_EQ(SeqMem_StoredPhaseMode(3), 2);
    EXPECT_EQ(SeqMem_StoredRange(3), 1);
    EXPECT_EQ(SimMem_StoredPhaseMode(3), 1);
    EXPECT_EQ(SeqMem_StoredPhaseMode(7), 0xFFFF);
    EXPECT_FALSE(SeqMem_StoredConfig(7, &wiring, &range));
    EXPECT_EQ(wiring, 2) << "nothing set for a memory that cannot be read";
    EXPECT_TRUE(Same(*before));
    EXPECT_EQ(g_SeqSimBlock[0].seqSaved.wiring, 0u);
}

// Every word of a record at its place: SEQ phase p, table t, step s at 64 + p x 408000 + (t x 1000 + s) x 68,
// SIM phase p, set k, state s at 64 + p x 624 + (k x 6 + s) x 52, each word big-endian in record order; the
// configuration blocks' fields at theirs. A parse puts every word and field back where it came from.
TEST_F(SeqSimFile, EveryFieldInItsBytes) {
    auto word = [](uint32_t p, uint32_t t, uint32_t s, uint32_t w) { return (p * 6 + t) << 24 | s << 8 | w; };
    const uint32_t steps[] = {0, 1, 998, 999};
    for (uint32_t p = 0; p < 3; ++p)
        for (uint32_t t = 0; t < kSeqTables; ++t)
            for (uint32_t s : steps) {
                auto* w = reinterpret_cast<uint32_t*>(&g_SeqStepTable[t][p][s]);
                for (uint32_t i = 0; i < 17; ++i)
                    w[i] = word(p, t, s, i);
            }
    for (uint32_t p = 0; p < 3; ++p)
        for (uint32_t k = 0; k < kSimSets; ++k)
            for (uint32_t s = 0; s < 6; ++s) {
                auto* w = reinterpret_cast<uint32_t*>(&g_SimStepTable[k][p][s]);
                for (uint32_t i = 0; i < 13; ++i)
                    w[i] = word(p, k, s, i);
            }
    SeqSavedConfig& q = g_SeqSimBlock[0].seqSaved;
    SimSavedConfig& m = g_SeqSimBlock[0].simSaved;
    for (uint32_t i = 0; i < 16; ++i)
        q.factors[i] = 1000 + i;
    // The configuration fields, each with its value and its place in the SEQ or the SIM block.
    const struct {
        const char* what;
        uint32_t* field;
        uint32_t value;
        bool seq;
        size_t at;
    } fields[] = {{"range", &q.range, 1, true, 64},          {"kind", &q.kind, 2, true, 66},
                  {"ACV unit", &q.acvUnit, 1, true, 68},     {"wiring", &q.wiring, 2, true, 80},
                  {"SIM ACV unit", &m.acvUnit, 1, false, 0}, {"SIM range", &m.range, 0, false, 2},
                  {"SIM wiring", &m.wiring, 2, false, 6}};
    for (const auto& f : fields)
        *f.field = f.value;
    ASSERT_EQ(SeqBuildFile(6, 0), 0);
    ASSERT_EQ(SimBuildFile(6), 0);
    const std::string seq(reinterpret_cast<char*>(g_SeqFileBuf), kSeqFileSize);
    const std::string sim(reinterpret_cast<char*>(g_SimFileBuf), kSimFileSize);
    auto be32 = [](const std::string& f, size_t at) {
        return storage::LoadBe32(reinterpret_cast<const uint8_t*>(f.data()) + at);
    };
    for (uint32_t p = 0; p < 3; ++p)
        for (uint32_t t = 0; t < kSeqTables; ++t)
            for (uint32_t s : steps)
                for (uint32_t i = 0; i < 17; ++i)
                    ASSERT_EQ(be32(seq, 64 + p * 408000 + (t * 1000 + s) * 68 + i * 4), word(p, t, s, i))
                        << "SEQ phase " << p << " table " << t << " step " << s << " word " << i;
    for (uint32_t p = 0; p < 3; ++p)
        for (uint32_t k = 0; k < kSimSets; ++k)
            for (uint32_t s = 0; s < 6; ++s)
                for (uint32_t i = 0; i < 13; ++i)
                    ASSERT_EQ(be32(sim, 64 + p * 624 + (k * 6 + s) * 52 + i * 4), word(p, k, s, i))
                        << "SIM phase " << p << " set " << k << " state " << s << " word " << i;
    constexpr size_t kSeqBlock = 1224064, kSimBlock = 1936;
    for (uint32_t i = 0; i < 16; ++i)
        EXPECT_EQ(be32(seq, kSeqBlock + 4 * i), 1000 + i) << "factor " << i;
    for (const auto& f : fields)
        EXPECT_EQ(Be16(f.seq ? seq : sim, (f.seq ? kSeqBlock : kSimBlock) + f.at), f.value) << f.what;
    // Parsed back into cleared tables and configurations (the words are not valid steps: -202).
    std::memset(g_SeqStepTable, 0, sizeof g_SeqStepTable);
    std::memset(g_SimStepTable, 0, sizeof g_SimStepTable);
    q = SeqSavedConfig{};
    m = SimSavedConfig{};
    EXPECT_EQ(SeqParseFile(6, kSeqFileSize), -202);
    EXPECT_EQ(SimParseFile(6, kSimFileSize), -202);
    for (uint32_t p = 0; p < 3; ++p)
        for (uint32_t t = 0; t < kSeqTables; ++t)
            for (uint32_t s : steps)
                ASSERT_EQ(reinterpret_cast<uint32_t*>(&g_SeqStepTable[t][p][s])[16], word(p, t, s, 16))
                    << p << " " << t << " " << s;
    EXPECT_EQ(g_SeqStepTable[5][2][999].jumpTo, word(2, 5, 999, 9));
    EXPECT_EQ(g_SimStepTable[1][2][5].repeat, word(2, 1, 5, 7));
    EXPECT_EQ(g_SimStepTable[0][1][3].acvVpp, word(1, 0, 3, 11));
    for (const auto& f : fields)
        EXPECT_EQ(*f.field, f.value) << f.what;
    EXPECT_EQ(q.factors[0], 1000u);
    EXPECT_EQ(q.factors[15], 1015u);
}

// The reserved bytes of both configuration blocks are zero, whatever the image held before; building SEQ9
// to clear it saves the ACV unit as Vpp in every phase slice, and nothing else does.
TEST_F(SeqSimFile, ReservedBytesAndTheClearedSeq9) {
    std::memset(g_SeqFileBuf, 0xFF, kSeqFileSize);
    std::memset(g_SimFileBuf, 0xFF, kSimFileSize);
    ASSERT_EQ(SeqBuildFile(2, 0), 0);
    ASSERT_EQ(SimBuildFile(2), 0);
    const uint8_t* seq = g_SeqFileBuf + 1224064;
    for (size_t i = 70; i < 256; ++i) {
        if (i == 80 || i == 81) continue;
        ASSERT_EQ(seq[i], 0) << "SEQ block byte " << i;
    }
    const uint8_t* sim = g_SimFileBuf + 1936;
    for (size_t i : {4, 5, 8, 20, 31})
        EXPECT_EQ(sim[i], 0) << "SIM block byte " << i;
    for (int32_t slot : {-1, 10}) {
        EXPECT_EQ(SeqBuildFile(slot, 0), -1) << slot;
        EXPECT_EQ(SimBuildFile(slot), -1) << slot;
    }
    const struct {
        int32_t slot, clear;
        uint32_t unit;
    } rows[] = {{8, 1, 0}, {9, 0, 0}, {0, 1, 0}, {9, 1, 1}};
    for (const auto& row : rows) {
        for (auto& b : g_SeqSimBlock)
            b.seqSaved.acvUnit = 0;
        ASSERT_EQ(SeqBuildFile(row.slot, row.clear), 0);
        EXPECT_EQ(Be16(std::string(reinterpret_cast<char*>(g_SeqFileBuf), kSeqFileSize), 1224064 + 68), row.unit)
            << row.slot << " " << row.clear;
        for (int p = 0; p < kSeqSlices; ++p)
            EXPECT_EQ(g_SeqSimBlock[p].seqSaved.acvUnit, row.unit) << p;
    }
}

// The image of a cleared memory holds the slot's default tables (its template steps in both AC+DC tables,
// the default step elsewhere), SEQ9's with the ACV unit Vpp; slots 0-9 only.
TEST_F(SeqSimFile, ClearedImagesHoldTheSlotsDefaults) {
    std::string cleared(kSeqFileSize, '\0');
    auto* out = reinterpret_cast<uint8_t*>(cleared.data());
    for (const int32_t slot : {-1, 10}) {
        EXPECT_EQ(SeqBuildClearedImage(slot, out), -1) << slot;
        EXPECT_EQ(SimBuildClearedImage(slot, out), -1) << slot;
    }
    EXPECT_EQ(SeqBuildClearedImage(0, nullptr), -1);
    EXPECT_EQ(SimBuildClearedImage(0, nullptr), -1);
    for (const int32_t slot : {0, 4, 9}) {
        SCOPED_TRACE(slot);
        ASSERT_EQ(SeqBuildClearedImage(slot, out), 0);
        SeqMem_ResetToSlotDefaults(slot);
        ASSERT_EQ(SeqBuildFile(slot, 0), 0);
        EXPECT_EQ(std::memcmp(out + 64, g_SeqFileBuf + 64, 1224064 - 64), 0) << "the records";
        EXPECT_EQ(Be16(cleared, 1224064 + 68), slot == 9 ? 1 : 0) << "ACV unit";
    }
    std::string sim(kSimFileSize, '\x55');
    ASSERT_EQ(SimBuildClearedImage(3, reinterpret_cast<uint8_t*>(sim.data())), 0);
    Sim_LoadDefaultSteps();
    ASSERT_EQ(SimBuildFile(3), 0);
    EXPECT_EQ(std::memcmp(sim.data() + 64, g_SimFileBuf + 64, 1936 - 64), 0) << "the default states";
    EXPECT_EQ(sim.substr(1936, 32), std::string(32, '\0')) << "a configuration of zeros";
}

// Slots 0 to 9 are the memories; anything else, a missing image or an empty one, is refused at once.
TEST_F(SeqSimFile, SlotsAndImageArguments) {
    for (const int32_t slot : {0, 9}) {
        EXPECT_EQ(SeqSaveFile(slot, 0), static_cast<int32_t>(kSeqFileSize)) << slot;
        EXPECT_EQ(SimSaveFile(slot), static_cast<int32_t>(kSimFileSize)) << slot;
        EXPECT_EQ(SeqLoadFile(slot), 1) << slot;
        EXPECT_EQ(SimLoadFile(slot), 1) << slot;
    }
    std::string seq = Read("/mnt/tst/seq/SEQ0.SEQ"), sim = Read("/mnt/tst/sim/SIM0.SIM");
    const auto* seqBytes = reinterpret_cast<const uint8_t*>(seq.data());
    const auto* simBytes = reinterpret_cast<const uint8_t*>(sim.data());
    for (const int32_t slot : {-1, 10}) {
        EXPECT_EQ(SeqSaveFile(slot, 0), -1) << slot;
        EXPECT_EQ(SimSaveFile(slot), -1) << slot;
        EXPECT_EQ(SeqLoadFile(slot), -1) << slot;
        EXPECT_EQ(SimLoadFile(slot), -1) << slot;
        EXPECT_EQ(SeqImportFileImage(slot, seqBytes, kSeqFileSize), -1) << slot;
        EXPECT_EQ(SimImportFileImage(slot, simBytes, kSimFileSize), -1) << slot;
        EXPECT_EQ(SeqImportFromUsb(slot), -1) << slot;
        EXPECT_EQ(SimImportFromUsb(slot), -1) << slot;
    }
    EXPECT_EQ(SeqImportFileImage(1, nullptr, kSeqFileSize), -1);
    EXPECT_EQ(SimImportFileImage(1, nullptr, kSimFileSize), -1);
    EXPECT_EQ(SeqImportFileImage(1, seqBytes, 0), -1);
    EXPECT_EQ(SimImportFileImage(1, simBytes, 0), -1);
    EXPECT_EQ(SeqImportFileImage(1, seqBytes, kSeqFileSize - 1), -200);
    EXPECT_EQ(SimImportFileImage(1, simBytes, kSimFileSize + 1), -200);
    Write("/mnt/tst/sim/SIM0.SIM", "");
    EXPECT_EQ(SimImportFileImage(0, simBytes, kSimFileSize), static_cast<int32_t>(kSimFileSize));
    EXPECT_TRUE(Read("/mnt/tst/sim/SIM0.SIM") == sim);
    // A failed SIM import puts back its image and its sets.
    std::string spoilt = sim;
    spoilt[100] ^= 1;
    g_SimStepTable[1][0][2].acv = 4321;
    const std::string image(reinterpret_cast<char*>(g_SimFileBuf), kSimFileSize);
    EXPECT_EQ(SimImportFileImage(1, reinterpret_cast<const uint8_t*>(spoilt.data()), kSimFileSize), -200);
    EXPECT_TRUE(std::string(reinterpret_cast<char*>(g_SimFileBuf), kSimFileSize) == image);
    EXPECT_EQ(g_SimStepTable[1][0][2].acv, 4321u);
}

TEST_F(SeqSimFile, BuildParseBuildIsByteIdentical) {
    Scramble(123);
    g_SimStepTable[1][2][4].acv = 12345;
    ASSERT_EQ(SeqBuildFile(5, 0), 0);
    ASSERT_EQ(SimBuildFile(5), 0);
    const std::string seq(reinterpret_cast<char*>(g_SeqFileBuf), kSeqFileSize);
    const std::string sim(reinterpret_cast<char*>(g_SimFileBuf), kSimFileSize);
    SeqMem_ResetToSlotDefaults(0);
    Sim_LoadDefaultSteps();
    std::memcpy(g_SeqFileBuf, seq.data(), kSeqFileSize);
    std::memcpy(g_SimFileBuf, sim.data(), kSimFileSize);
    ASSERT_EQ(SeqParseFile(5, kSeqFileSize), 1);
    ASSERT_EQ(SimParseFile(5, kSimFileSize), 1);
    ASSERT_EQ(SeqBuildFile(5, 0), 0);
    ASSERT_EQ(SimBuildFile(5), 0);
    EXPECT_EQ(std::memcmp(seq.data(), g_SeqFileBuf, kSeqFileSize), 0);
    EXPECT_EQ(std::memcmp(sim.data(), g_SimFileBuf, kSimFileSize), 0);
}

// Each row spoils a good SEQ1.SEQ; the load gives the code and, before -202, leaves the tables alone; the
// start's report names the damaged memory.
TEST_F(SeqSimFile, CorruptFilesAreRefusedBeforeTheTablesChange) {
    ASSERT_GT(SeqSaveFile(1, 0), 0);
    const std::string good = Read("/mnt/tst/seq/SEQ1.SEQ");
    const size_t step0 = 64;  // L1, AC+DC 200V, step 0
    struct Row {
        const char* name;
        std::function<void(std::string&)> spoil;
        bool reseal;  // the checksum made right again, so that only the spoiled field is wrong
        int32_t result;
    } rows[] = {
        {"one record byte", [](std::string& f) { f[64 + 68 * 5 + 7] ^= 1; }, false, -200},
        {"old short size", [](std::string& f) { f.resize(1224324 - 24256); }, false, -200},
        {"other size", [](std::string& f) { f.resize(1224000); }, false, -200},
        {"one byte more", [](std::string& f) { f.push_back('\0'); }, false, -200},
        {"unknown model", [](std::string& f) { f.replace(0, 12, "NO-SUCH-MODL"); }, true, -201},
        {"size field", [](std::string& f) { f[15] ^= 4; }, true, -200},
        {"kind SIM", [](std::string& f) { f[51] = 2; }, true, -200},
        {"version 4", [](std::string& f) { f[55] = 4; }, true, -200},
        {"empty", [](std::string& f) { f.clear(); }, false, -100},
    };
    Scramble(9);
    const auto before = Snapshot();
    for (const Row& row : rows) {
        std::string f = good;
        row.spoil(f);
        if (row.reseal) Reseal(f);
        Write("/mnt/tst/seq/SEQ1.SEQ", f);
        EXPECT_EQ(SeqLoadFile(1), row.result) << row.name;
        EXPECT_TRUE(Same(*before)) << row.name;
        // The start says a damaged memory at once (an empty one too: no save writes one); another
        // model's is none.
        EXPECT_EQ(Report(),
                  row.result == -200   ? "SEQ memory 1 damaged: stored file fails its checks, its recall fails\n"
                  : row.result == -100 ? "SEQ memory 1 damaged: stored file empty, its recall fails\n"
                                       : "")
            << row.name;
    }
    EXPECT_EQ(SeqLoadFile(2), -100) << "missing";
    EXPECT_EQ(SeqLoadFile(10), -1);
    // "KP" at step 0 passes the frame, loads, and is marked.
    std::string kp = good;
    kp[step0 + 3] = static_cast<char>(kTypeKP);
    Reseal(kp);
    Write("/mnt/tst/seq/SEQ1.SEQ", kp);
    EXPECT_EQ(SeqLoadFile(1), -202);
    EXPECT_EQ(g_SeqStepTable[0][0][0].flags & 7u, uint32_t{kTypeKP});
    EXPECT_EQ(g_SeqSimBlock[0].invalid, 1u);
}

// The start names each damaged memory once, a file of zeros too: its trailer (0) matches and it names no
// model, but it lacks the frame a memory made on another model still carries. A memory stored again is
// sound and forgotten, so its next damage is named again.
TEST_F(SeqSimFile, StartNamesEachDamagedMemoryOnce) {
    Write("/mnt/tst/seq/SEQ3.SEQ", std::string(kSeqFileSize, '\0'));
    Write("/mnt/tst/sim/SIM4.SIM", std::string(kSimFileSize, '\0'));
    const std::string lines =
        "SEQ memory 3 damaged: stored file fails its checks, its recall fails\n"
        "SIM memory 4 damaged: stored file fails its checks, its recall fails\n";
    for (const std::string& want : {lines, std::string()})
        EXPECT_EQ(Report(), want);
    ASSERT_GT(SeqSaveFile(3, 0), 0);
    ASSERT_GT(SimSaveFile(4), 0);
    EXPECT_EQ(Report(), "");
    Write("/mnt/tst/seq/SEQ3.SEQ", std::string(kSeqFileSize, '\0'));
    EXPECT_EQ(Report(), "SEQ memory 3 damaged: stored file fails its checks, its recall fails\n");
}

// A stored memory keeps its file (a delete stores the defaults in it) and no save writes an empty one: a
// start that finds the file of a memory once stored gone or empty says that memory lost, once. A memory
// stored before the record of stored memories existed is recorded by the first start that finds it.
TEST_F(SeqSimFile, StartNamesEachLostMemoryOnce) {
    ASSERT_GT(SeqSaveFile(2, 0), 0);
    ASSERT_GT(SimSaveFile(5), 0);
    ASSERT_GT(SimSaveFile(7), 0);
    EXPECT_EQ(Read("/mnt/tst/seq/STORED.SSM"), "SEQ2\nSIM5\nSIM7\n");
    EXPECT_EQ(SeqSimStoredAdd(1u << 2), 0) << "recorded already: not written again";
    std::filesystem::remove(plat::MapPath("/mnt/tst/seq/STORED.SSM"));
    SeqSimMemFilesReport();  // recorded again from the files there
    Write("/mnt/tst/seq/SEQ2.SEQ", "");
    std::filesystem::remove(plat::MapPath("/mnt/tst/sim/SIM5.SIM"));
    const std::string lines =
        "SEQ memory 2 damaged: stored file empty, its recall fails\n"
        "SIM memory 5 lost: stored file missing, its recall fails\n";
    for (const std::string& want : {lines, std::string()})
        EXPECT_EQ(Report(), want);
    EXPECT_EQ(SeqLoadFile(2), -100);
    ASSERT_GT(SimSaveFile(5), 0);  // sound again: forgotten, so that its next loss is said
    EXPECT_EQ(Report(), "");
    std::filesystem::remove(plat::MapPath("/mnt/tst/sim/SIM5.SIM"));
    EXPECT_EQ(Report(), "SIM memory 5 lost: stored file missing, its recall fails\n");
}

// The record names a memory by a line "SEQn" or "SIMn" (n 0-9); any other line names none.
TEST(SeqSimStoredRecord, LinesNameTheirMemories) {
    const struct {
        const char* bytes;
        uint32_t memories;
    } rows[] = {
        {"SEQ0\nSEQ9\nSIM0\nSIM9\n", 1u << 0 | 1u << 9 | 1u << 10 | 1u << 19},
        {"SIM3", 1u << 13},
        {"SEQ:\nSEQ/\nSEQ10\nseq1\nSIM4 \nSIM5\r\n SEQ6\nSEX7\n\n", 0},
        {"", 0},
    };
    for (const auto& row : rows) {
        const std::string b = row.bytes;
        EXPECT_EQ(SeqSimStoredParse(reinterpret_cast<const uint8_t*>(b.data()), b.size()), row.memories) << b;
    }
}

// The names file goes with the stored memories: a memory's save writes it when it is missing, and a start
// that finds it gone while memories are stored says that their names were reset, once.
TEST_F(SeqSimFile, LostNamesBesideStoredMemoriesAreSaidOnce) {
    const std::string names = "/mnt/tst/seq/NAMES.SSN";
    EXPECT_FALSE(SeqSimMemFilesStored());
    ASSERT_GT(SimSaveFile(2), 0);
    EXPECT_TRUE(SeqSimMemFilesStored());
    EXPECT_EQ(Read(names).size(), 412u);
    std::filesystem::remove(plat::MapPath(names));
    for (const char* want : {"SEQ/SIM memory names reset: stored file missing\n", ""}) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(SeqSimNamesLoad(SeqSimMemFilesStored()), 0);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), want);
    }
}

// A failed import puts back the tables and the image, although the image was left big-endian by a save.
TEST_F(SeqSimFile, FailedImportsLeaveFileAndTablesAlone) {
    ASSERT_GT(SeqSaveFile(4, 0), 0);
    const std::string file = Read("/mnt/tst/seq/SEQ4.SEQ");
    std::string kp = file, corrupt = file;
    kp[64 + 3] = static_cast<char>(kTypeKP);
    Reseal(kp);
    corrupt[100] ^= 0x40;
    Scramble(77);
    ASSERT_EQ(SeqBuildFile(4, 0), 0);
    const std::string image(reinterpret_cast<char*>(g_SeqFileBuf), kSeqFileSize);
    const auto before = Snapshot();
    const SeqSavedConfig saved = g_SeqSimBlock[0].seqSaved;
    for (const auto& [bytes, result] : {std::pair{kp, -202}, std::pair{corrupt, -200}}) {
        EXPECT_EQ(SeqImportFileImage(4, reinterpret_cast<const uint8_t*>(bytes.data()), kSeqFileSize),
                  result);
        EXPECT_EQ(Read("/mnt/tst/seq/SEQ4.SEQ"), file);
        EXPECT_TRUE(Same(*before));
        EXPECT_EQ(std::memcmp(&saved, &g_SeqSimBlock[0].seqSaved, sizeof saved), 0);
        EXPECT_EQ(g_SeqSimBlock[0].invalid, 0u);
        EXPECT_EQ(std::memcmp(image.data(), g_SeqFileBuf, kSeqFileSize), 0);
    }
    // A good image is installed and saved.
    EXPECT_EQ(SeqImportFileImage(4, reinterpret_cast<const uint8_t*>(file.data()), kSeqFileSize),
              static_cast<int32_t>(kSeqFileSize));
    EXPECT_FALSE(Same(*before));
}

// SIGKILL at a random moment of a save loop leaves the old file or the new one, whole.
TEST_F(SeqSimFile, KilledSaveLeavesOldOrNewFile) {
    ASSERT_GT(SeqSaveFile(2, 0), 0);
    const std::string old = Read("/mnt/tst/seq/SEQ2.SEQ");
    Scramble(31);
    ASSERT_EQ(SeqBuildFile(2, 0), 0);
    const std::string fresh(reinterpret_cast<char*>(g_SeqFileBuf), kSeqFileSize);
    for (int delayMs : {3, 17, 41}) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;)
                SeqSaveFile(2, 0);
        }
        usleep(static_cast<useconds_t>(delayMs) * 1000);
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        const std::string now = Read("/mnt/tst/seq/SEQ2.SEQ");
        EXPECT_TRUE(now == old || now == fresh) << "after " << delayMs << " ms: " << now.size() << " bytes";
    }
}

// A remote query saves on its channel thread while the panel stores on its own.
TEST_F(SeqSimFile, SavesOnTwoThreadsDoNotShareTheImage) {
    auto saves = [](int32_t slot) {
        for (int i = 0; i < 8; ++i)
            SeqSaveFile(slot, 0);
    };
    std::thread other(saves, 2);
    saves(1);
    other.join();
    for (int slot : {1, 2}) {
        const std::string f = Read("/mnt/tst/seq/SEQ" + std::to_string(slot) + ".SEQ");
        ASSERT_EQ(f.size(), kSeqFileSize);
        EXPECT_EQ(Be16(f, 52), slot);
        EXPECT_TRUE(TrailerOk(f)) << slot;
    }
}

}  // namespace
