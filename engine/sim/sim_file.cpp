#include <cstdio>
#include <cstring>

#include "engine/seqsim/seqsim_defaults.h"
#include "engine/seqsim/seqsim_file_layout.h"
#include "engine/seqsim/seqsim_validate.h"
#include "storage/data_file_frame.h"
#include "storage/file_result.h"

using namespace engine;
using storage::LoadBe16;
using storage::LoadBe32;
using storage::StoreBe16;
using storage::StoreBe32;

uint8_t g_SimFileBuf[kSimFileSize];

namespace {

// The image of slot into out: record(set, phase, state) gives each state, saved the configuration.
template <typename Record>
void PackImage(int32_t slot, uint8_t* out, const SimSavedConfig& saved, Record record) {
    char name[16];
    std::snprintf(name, sizeof name, "SIM%d.SIM", static_cast<int>(slot));
    FileHeaderBuild(kFileKindSim, static_cast<uint16_t>(slot), out, name);
    for (int p = 0; p < 3; ++p) {
        for (int k = 0; k < kSimSets; ++k) {
            for (uint32_t s = 0; s < kSimStates; ++s) {
                uint32_t words[kSimWords];
                std::memcpy(words, &record(k, p, s), sizeof words);
                uint8_t* at = out + SimRecordOffset(p, k, static_cast<int>(s));
                for (uint32_t w = 0; w < kSimWords; ++w)
                    StoreBe32(at + 4 * w, words[w]);
            }
        }
    }
    uint8_t* cfg = out + kSimConfig;
    std::memset(cfg, 0, kSimCfgSize);
    StoreBe16(cfg + kSimCfgUnit, static_cast<uint16_t>(saved.acvUnit));
    StoreBe16(cfg + kSimCfgRange, static_cast<uint16_t>(saved.range));
    StoreBe16(cfg + kSimCfgWiring, static_cast<uint16_t>(saved.wiring));
    storage::DataFileSeal(out, kSimFileSize);
}

}  // namespace

int32_t SimBuildFile(int32_t slot) {
    if (slot < 0 || slot > 9) return -1;
    PackImage(slot, g_SimFileBuf, g_SeqSimBlock[0].simSaved,
              [](int k, int p, uint32_t s) -> const SimStepRecord& { return g_SimStepTable[k][p][s]; });
    return 0;
}

int32_t SimBuildClearedImage(int32_t slot, uint8_t* out) {
    if (slot < 0 || slot > 9 || out == nullptr) return -1;
    PackImage(slot, out, SimSavedConfig{},
              [](int, int, uint32_t) -> const SimStepRecord& { return kSimDefaultState; });
    return 0;
}

int32_t SimParseFile(int32_t, int32_t size) {
    if (size < 0) return kFileBadFrame;
    const storage::DataFileRule rule{kFileKindSim, 1u << kSimFileVersion, kFileBadModel};
    const int32_t frame = storage::DataFileFrameCheck(g_SimFileBuf, static_cast<size_t>(size), rule);
    if (frame != 1) return frame;
    for (int p = 0; p < 3; ++p) {
        for (int k = 0; k < kSimSets; ++k) {
            for (uint32_t s = 0; s < kSimStates; ++s) {
                uint32_t words[kSimWords];
                const uint8_t* in = g_SimFileBuf + SimRecordOffset(p, k, static_cast<int>(s));
                for (uint32_t w = 0; w < kSimWords; ++w)
                    words[w] = LoadBe32(in + 4 * w);
                std::memcpy(&g_SimStepTable[k][p][s], words, sizeof words);
            }
        }
    }
    const uint8_t* cfg = g_SimFileBuf + kSimConfig;
    SimSavedConfig& saved = g_SeqSimBlock[0].simSaved;
    saved.wiring = LoadBe16(cfg + kSimCfgWiring);
    saved.range = LoadBe16(cfg + kSimCfgRange);
    saved.acvUnit = LoadBe16(cfg + kSimCfgUnit);
    return SimValidateAll(kSimFileVersion) == 1 ? 1 : kFileBadRecord;
}
