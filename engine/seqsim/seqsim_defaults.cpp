#include "engine/seqsim/seqsim_defaults.h"

#include <algorithm>
#include <array>
#include <vector>

#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_saved_config.h"

const SeqStepRecord kSeqDefaultStep = {.flags = 0,
                                       .acv = 0,
                                       .dcv = 0,
                                       .fset = 5000,
                                       .wave = kWaveCodeSin,
                                       .duty = 500,
                                       .time = 1000,
                                       .onPhase = 0,
                                       .offPhase = 0,
                                       .jumpTo = 0,
                                       .jumpCnt = 1,
                                       .syncCode = 0,
                                       .branch1 = 0,
                                       .branch2 = 0,
                                       .angleL2 = 1200,
                                       .angleL3 = 2400,
                                       .acvVpp = 0};

const SimStepRecord kSimDefaultState = {.flags = 0,
                                        .acv = 0,
                                        .freq = 5000,
                                        .wave = kWaveCodeSin,
                                        .time = 1000,
                                        .onPhase = 0,
                                        .offPhase = 0,
                                        .repeat = 0,
                                        .syncCode = 0,
                                        .angleL2 = 1200,
                                        .angleL3 = 2400,
                                        .acvVpp = 0,
                                        .reserved = 0};

namespace {

constexpr uint32_t kOnOff = kSeqEnOnPhase | kSeqEnOffPhase;
constexpr uint32_t kEnd = uint32_t{kTermEnd} << kSeqTermShift;
constexpr uint32_t kDcvSP = uint32_t{kTypeSP} << kSeqDcvTypeShift;
constexpr uint32_t kDcvKP = uint32_t{kTypeKP} << kSeqDcvTypeShift;

// A template step: the default step with these fields changed (voltages 0.01 V, time 0.1 ms).
struct TemplateStep {
    int32_t dcv;
    uint32_t time;
    uint32_t flags = 0;
    uint32_t wave = kWaveCodeSin;
    uint32_t onPhase = 0;
    uint32_t acv = 0;
    uint32_t acvVpp = 0;
    uint32_t fset = 5000;
    uint32_t jumpTo = 0;
    uint32_t jumpCnt = 1;
};

std::vector<TemplateStep> TemplateOf(int32_t slot) {
    switch (slot) {
        case 6:
            return {{1200, 20000},
                    {1200, 50000},
                    {450, 1000},
                    {.dcv = 1200, .time = 20000, .flags = kEnd, .wave = 15}};
        case 7: {
            std::vector<TemplateStep> steps = {{1200, 20000}, {1200, 40000}};
            for (int32_t k = 1; k <= 20; ++k) {
                steps.push_back({1200 - 60 * k, 10000});
                steps.push_back({1200, 20000});
            }
            steps.push_back({.dcv = 0, .time = 10000, .flags = kEnd});
            return steps;
        }
        case 8:
            return {{1250, 1000},
                    {1250, 1000},
                    {.dcv = 450, .time = 600, .flags = kDcvSP},
                    {.dcv = 450, .time = 600, .flags = kDcvKP},
                    {.dcv = 750, .time = 1500, .flags = kDcvSP},
                    {.dcv = 750, .time = 3000, .flags = kOnOff, .onPhase = 1800, .acv = 70},
                    {.dcv = 1250, .time = 2700, .flags = kDcvSP | kSeqEnJumpto, .jumpTo = 1, .jumpCnt = 10},
                    {.dcv = 1250, .time = 1000, .flags = kDcvKP | kEnd, .wave = 15}};
        case 9:
            return {{.dcv = 1350, .time = 1000, .flags = kOnOff, .fset = 12500},
                    {.dcv = 1350, .time = 10000, .flags = kOnOff, .fset = 12500},
                    {.dcv = 1350, .time = 1000, .flags = kOnOff, .fset = 12500},
                    {.dcv = 1350, .time = 166, .wave = 15, .acv = 9000, .acvVpp = 19920, .fset = 6000},
                    {.dcv = 1350,
                     .time = 1800,
                     .flags = kOnOff | kSeqEnJumpto,
                     .wave = 16,
                     .acv = 3900,
                     .acvVpp = 19930,
                     .fset = 530,
                     .jumpTo = 1,
                     .jumpCnt = 999},
                    {.dcv = 1350, .time = 1000, .flags = kOnOff | kEnd}};
        default:
            return {};
    }
}

SeqStepRecord FromTemplate(const TemplateStep& t) {
    SeqStepRecord r = kSeqDefaultStep;
    r.dcv = t.dcv;
    r.time = t.time;
    r.flags = t.flags;
    r.wave = t.wave;
    r.onPhase = t.onPhase;
    r.acv = t.acv;
    r.acvVpp = t.acvVpp;
    r.fset = t.fset;
    r.jumpTo = t.jumpTo;
    r.jumpCnt = t.jumpCnt;
    return r;
}

}  // namespace

const std::vector<SeqStepRecord>& SeqSlotTemplate(int32_t slot) {
    static const auto kTemplates = [] {
        std::array<std::vector<SeqStepRecord>, 10> all;
        for (int32_t n = 0; n < 10; ++n)
            for (const TemplateStep& t : TemplateOf(n))
                all[n].push_back(FromTemplate(t));
        return all;
    }();
    static const std::vector<SeqStepRecord> kNone;
    return slot >= 0 && slot < 10 ? kTemplates[slot] : kNone;
}

void SeqMem_ResetToSlotDefaults(int32_t slot) {
    const std::vector<SeqStepRecord>& steps = SeqSlotTemplate(slot);
    for (auto& table : g_SeqStepTable)
        for (int p = 0; p < 3; ++p)
            for (auto& step : table[p])
                step = kSeqDefaultStep;
    for (uint32_t range = 0; range < 2; ++range)
        for (int p = 0; p < 3; ++p)
            std::copy(steps.begin(), steps.end(), g_SeqStepTable[SeqTableIndex(0, range)][p]);
    SeqInitSavedConfig();
}

void Sim_LoadDefaultSteps() {
    for (auto& set : g_SimStepTable)
        for (auto& slice : set)
            for (uint32_t s = 0; s <= kSimNormal2; ++s)
                slice[s] = kSimDefaultState;
    SimInitSavedConfig();
}
