#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/seqsim/seqsim_defaults.h"
#include "engine/seqsim/seqsim_file_layout.h"
#include "engine/seqsim/seqsim_saved_config.h"
#include "engine/seqsim/seqsim_validate.h"
#include "storage/data_file_frame.h"
#include "storage/file_result.h"

using namespace engine;
using storage::LoadBe16;
using storage::LoadBe32;
using storage::StoreBe16;
using storage::StoreBe32;

uint8_t g_SeqFileBuf[kSeqFileSize];

namespace {

// The image of slot into out: record(table, phase, step) gives each step, saved the configuration.
template <typename Record>
void PackImage(int32_t slot, uint8_t* out, const SeqSavedConfig& saved, Record record) {
    char name[16];
    std::snprintf(name, sizeof name, "SEQ%d.SEQ", static_cast<int>(slot));
    FileHeaderBuild(kFileKindSeq, static_cast<uint16_t>(slot), out, name);
    for (int p = 0; p < 3; ++p) {
        for (int t = 0; t < kSeqTables; ++t) {
            for (int s = 0; s < kSeqSteps; ++s) {
                uint32_t words[kSeqWords];
                std::memcpy(words, &record(t, p, s), sizeof words);
                uint8_t* at = out + SeqRecordOffset(p, t, s);
                for (uint32_t w = 0; w < kSeqWords; ++w)
                    StoreBe32(at + 4 * w, words[w]);
            }
        }
    }
    // The reserved bytes carry nothing, so they are zero whether or not the memory is being cleared.
    uint8_t* cfg = out + kSeqConfig;
    std::memset(cfg, 0, kSeqCfgSize);
    for (int i = 0; i < 16; ++i)
        StoreBe32(cfg + 4 * i, saved.factors[i]);
    StoreBe16(cfg + kSeqCfgRange, static_cast<uint16_t>(saved.range));
    StoreBe16(cfg + kSeqCfgKind, static_cast<uint16_t>(saved.kind));
    StoreBe16(cfg + kSeqCfgUnit, static_cast<uint16_t>(saved.acvUnit));
    StoreBe16(cfg + kSeqCfgWiring, static_cast<uint16_t>(saved.wiring));
    storage::DataFileSeal(out, kSeqFileSize);
}

}  // namespace

int32_t SeqBuildFile(int32_t slot, int32_t clear) {
    if (slot < 0 || slot > 9) return -1;
    if (slot == 9 && clear == 1) {
        for (auto& b : g_SeqSimBlock)
            b.seqSaved.acvUnit = 1;
    }
    PackImage(slot, g_SeqFileBuf, g_SeqSimBlock[0].seqSaved,
              [](int t, int p, int s) -> const SeqStepRecord& { return g_SeqStepTable[t][p][s]; });
    return 0;
}

int32_t SeqBuildClearedImage(int32_t slot, uint8_t* out) {
    if (slot < 0 || slot > 9 || out == nullptr) return -1;
    const std::vector<SeqStepRecord>& steps = SeqSlotTemplate(slot);
    const int withTemplate[] = {SeqTableIndex(0, 0), SeqTableIndex(0, 1)};
    SeqSavedConfig saved = SeqDefaultSavedConfig();
    if (slot == 9) saved.acvUnit = 1;
    PackImage(slot, out, saved, [&](int t, int, int s) -> const SeqStepRecord& {
        const bool templated = t == withTemplate[0] || t == withTemplate[1];
        return templated && static_cast<size_t>(s) < steps.size() ? steps[s] : kSeqDefaultStep;
    });
    return 0;
}

int32_t SeqParseFile(int32_t, int32_t size) {
    if (size < 0) return kFileBadFrame;
    const storage::DataFileRule rule{kFileKindSeq, 1u << kSeqFileVersion, kFileBadModel};
    const int32_t frame = storage::DataFileFrameCheck(g_SeqFileBuf, static_cast<size_t>(size), rule);
    if (frame != 1) return frame;
    for (int p = 0; p < 3; ++p) {
        for (int t = 0; t < kSeqTables; ++t) {
            for (int s = 0; s < kSeqSteps; ++s) {
                uint32_t words[kSeqWords];
                const uint8_t* in = g_SeqFileBuf + SeqRecordOffset(p, t, s);
                for (uint32_t w = 0; w < kSeqWords; ++w)
                    words[w] = LoadBe32(in + 4 * w);
                std::memcpy(&g_SeqStepTable[t][p][s], words, sizeof words);
            }
        }
    }
    const uint8_t* cfg = g_SeqFileBuf + kSeqConfig;
    SeqSavedConfig& saved = g_SeqSimBlock[0].seqSaved;
    for (int i = 0; i < 16; ++i)
        saved.factors[i] = LoadBe32(cfg + 4 * i);
    saved.wiring = LoadBe16(cfg + kSeqCfgWiring);
    saved.kind = LoadBe16(cfg + kSeqCfgKind);
    saved.range = LoadBe16(cfg + kSeqCfgRange);
    saved.acvUnit = LoadBe16(cfg + kSeqCfgUnit);
    if (SeqValidateAll(kSeqFileVersion) == 1) return 1;
    g_SeqSimBlock[0].invalid = 1;
    return kFileBadRecord;
}
