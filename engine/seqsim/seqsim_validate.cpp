#include "engine/seqsim/seqsim_validate.h"

#include "core/params/access/param_access.h"
#include "core/params/limits/limit_checks.h"
#include "core/params/settings/angle_bounds.h"
#include "engine/seq/seq_limits.h"
#include "engine/seqsim/seqsim_data.h"
#include "platform/stage/wiring_codes.h"

namespace {

struct TableLimits {
    uint32_t kind, range;  // range 0 100V, 1 200V
    int32_t acvMax, dcvMax, fsetMin, vppMax;
};
// In the order of g_SeqStepTable; the DCV band is symmetric.
constexpr TableLimits kTables[kSeqTables] = {
    {0, 1, 40000, 57000, 100, 114000}, {0, 0, 20000, 28500, 100, 57000},   {1, 1, 40000, 57000, 1500, 114000},
    {1, 0, 20000, 28500, 1500, 57000}, {2, 1, 40000, 57000, 1500, 114000}, {2, 0, 20000, 28500, 1500, 57000},
};
constexpr int32_t kParallelFreqMax = 100000;
constexpr auto kAngleMax = static_cast<uint32_t>(settings::kAngleMax);  // the stored angles are unsigned

bool In(int64_t v, int64_t lo, int64_t hi) {
    return v >= lo && v <= hi;
}

// With parallel operation a frequency above 1000.00 Hz is clamped in the table and counts as a violation.
bool ParallelFreqOk(uint32_t& freq) {
    if (GetParallelEnable() != 1 || freq <= kParallelFreqMax) return true;
    freq = kParallelFreqMax;
    return false;
}

bool SeqStepValid(SeqStepRecord& r, const TableLimits& t, int step, int32_t freqMax, int version) {
    bool ok = true;
    const uint32_t types[3] = {r.flags & 7u, (r.flags >> kSeqDcvTypeShift) & 7u,
                               (r.flags >> kSeqFsetTypeShift) & 7u};
    for (uint32_t type : types)
        ok &= type <= kTypeSP && !(step == 0 && type == kTypeKP);
    ok &= ((r.flags >> kSeqTermShift) & 7u) <= kTermHold;
    int32_t limits[kStepLimitWords];
    const bool vpp = GetAcvUnit() == 1 && r.wave != kWaveCodeSin && r.wave != kWaveCodeSqu;
    SeqStepVoltLimits(limits, t.kind, t.range, r.wave, static_cast<int32_t>(vpp ? r.acvVpp : r.acv), r.dcv);
    ok &= limits[kStepOutOfRange] == 0;
    ok &= In(r.acv, 0, t.acvMax) && In(r.dcv, -t.dcvMax, t.dcvMax) && In(r.fset, t.fsetMin, freqMax);
    ok &= ParallelFreqOk(r.fset);
    ok &= In(r.wave, 1, 256) && In(r.time, 1, 99999999);
    for (uint32_t angle : {r.onPhase, r.offPhase, r.angleL2, r.angleL3})
        ok &= angle <= kAngleMax;
    for (uint32_t target : {r.jumpTo, r.branch1, r.branch2})
        ok &= target < kSeqSteps;
    ok &= r.jumpCnt <= 9999 && r.syncCode <= 3;
    if (version >= 5) ok &= r.acvVpp <= static_cast<uint32_t>(t.vppMax);
    return ok;
}

bool SimStateValid(SimStepRecord& r, uint32_t state, int32_t acvMax, int32_t freqMax) {
    const bool trans = state == kSimTrans1 || state == kSimTrans2;
    const bool timed = state == kSimNormal1 || state == kSimAbnormal || state == kSimNormal2;
    bool ok = In(r.acv, 0, acvMax) && In(r.freq, trans ? 0 : 100, freqMax);
    ok &= ParallelFreqOk(r.freq);
    ok &= r.wave == kWaveCodeSin && In(r.time, timed ? 1 : 0, 99999999);
    ok &= r.onPhase <= kAngleMax && r.offPhase <= kAngleMax && r.repeat <= 9999 && r.syncCode <= 3;
    return ok;
}

}  // namespace

int SeqValidateTable(int table, int version) {
    const SeqSavedConfig c = SeqSavedConfigCopy();
    if (table < 0 || table >= kSeqTables) return 0;
    if (c.wiring > kWiring1P3W || c.kind > 2 || c.range > 1 || c.acvUnit > 1) return 0;
    const int32_t freqMax = engine::FreqMax();
    bool ok = true;
    for (int p = 0; p < 3; ++p)
        for (int s = 0; s < kSeqSteps; ++s)
            ok &= SeqStepValid(g_SeqStepTable[table][p][s], kTables[table], s, freqMax, version);
    return ok ? 1 : 0;
}

int SeqValidateAll(int version) {
    bool ok = true;
    for (int t = 0; t < kSeqTables; ++t)
        ok &= SeqValidateTable(t, version) == 1;
    return ok ? 1 : 0;
}

int SimValidateSet(int set) {
    const SimSavedConfig c = SimSavedConfigCopy();
    if (set < 0 || set >= kSimSets) return 0;
    if (c.wiring > kWiring1P3W || c.range > 1 || c.acvUnit > 1) return 0;
    static constexpr int32_t kAcvMax[kSimSets] = {40000, 20000};
    const int32_t freqMax = engine::FreqMax();
    bool ok = true;
    for (uint32_t s = 0; s <= kSimNormal2; ++s)
        ok &= SimStateValid(g_SimStepTable[set][0][s], s, kAcvMax[set], freqMax);
    return ok ? 1 : 0;
}

int SimValidateAll(int) {
    bool ok = true;
    for (int k = 0; k < kSimSets; ++k)
        ok &= SimValidateSet(k) == 1;
    return ok ? 1 : 0;
}
