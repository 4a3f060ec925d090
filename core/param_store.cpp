#include "core/param_store.h"

#include <array>

core::ParamStore g_ParamStore;
std::atomic<uint32_t> g_ParamFlags{0};
std::atomic<uint32_t> g_OutputModeIdx{0};

namespace core {

std::atomic<uint32_t> g_OutputStatusMirror{0};
std::mutex g_ParamLock;

namespace {

constexpr uint32_t kMaxGlobalId = 213;

constexpr std::array<int8_t, kMaxGlobalId + 1> MakeGlobalIndex() {
    std::array<int8_t, kMaxGlobalId + 1> t{};
    for (auto& v : t)
        v = -1;
    t[90] = kGlbIrmsLimitMode;
    // Pairs: the list row state and its edit state address one record. 98/99 has none.
    constexpr uint32_t pairs[][2] = {
        {96, kGlbPeakHoldTime},      {100, kGlbBalanceMode},    {102, kGlbPeakClearItem},
        {104, kGlbPowerOnState},     {106, kGlbBuzzer},         {108, kGlbRemoteSense},
        {110, kGlbSlewRate},         {112, kGlbOutputRelay},    {114, kGlbHarmMode},
        {116, kGlbExtControl},       {118, kGlbAcvUnit},        {120, kGlbPhaseSetChange},
        {122, kGlbMonitorSrc1},      {124, kGlbMonitorSrc2},    {126, kGlbMonitorAmp},
        {128, kGlbTrigWidth},        {130, kGlbTrigSource},     {132, kGlbRelock},
        {134, kGlbAvgCount},         {136, kGlbUpdateRate},     {193, kGlbOutputImpedance},
        {195, kGlbInductanceL1},     {197, kGlbInductanceL2},   {199, kGlbInductanceL3},
        {201, kGlbResistanceL1},     {203, kGlbResistanceL2},   {205, kGlbResistanceL3},
        {208, kGlbParallelPosition}, {210, kGlbParallelNumber}, {212, kGlbParallelEnable},
    };
    for (const auto& p : pairs) {
        t[p[0]] = static_cast<int8_t>(p[1]);
        t[p[0] + 1] = static_cast<int8_t>(p[1]);
    }
    return t;
}

constexpr auto kGlobalIndex = MakeGlobalIndex();

}  // namespace

int GlobalIndexOfId(uint32_t id) {
    return id <= kMaxGlobalId ? kGlobalIndex[id] : -1;
}

uint32_t CurrentRangeCode() {
    return g_ParamStore.rangeCode[ClampMode(g_OutputModeIdx.load(std::memory_order_relaxed))].load(
        std::memory_order_relaxed);
}

ParamRec* ParamLocate(uint32_t id, const ParamPlace& place) {
    if (place.unit >= kUnits) return nullptr;
    const uint32_t mode = ClampMode(place.mode);
    const uint32_t area = place.area ? 1 : 0;
    const uint32_t wave = place.waveform < kWaveforms ? place.waveform : kWaveforms - 1;
    const uint32_t set = place.set ? 1 : 0;
    ParamStore& s = g_ParamStore;
    ParamUnit& u = s.unit[place.unit];
    ParamModeBlock& m = u.mode[mode];
    ParamVoltArea& a = m.volt[area];

    if (id == 8) return &u.mode[0].volt[area].voltLimit[set];
    if (id == 10) return &u.mode[0].volt[area].vpkMax;
    if (id == 11) return &u.mode[0].volt[area].vpkMin;
    if (id >= 12 && id <= 14) return &m.freq;
    if (id == 16) return &u.mode[FreqClassOfMode(mode)].freqHi;
    if (id == 19) return &u.mode[FreqClassOfMode(mode)].freqLo;
    if ((id >= 24 && id <= 29) || (id >= 58 && id <= 63)) {
        if (place.variant >= kRangeVariants) return nullptr;
        ParamCurrArea& c = u.mode[0].curr[place.variant];
        if (id <= 26) return &c.ipkMax;
        if (id <= 29) return &c.ipkMin;
        return &c.irms;
    }
    if (id >= 30 && id <= 33) return &u.waveform;
    if (id >= 34 && id <= 37) return &u.duty;
    if (id >= 38 && id <= 44) return &s.unit[0].mode[mode].meas[id - 38];
    if (id >= 47 && id <= 49) return &a.acv[set][wave];
    if (id == 50) return &s.unit[kLineUnit].mode[mode].volt[area].acv[set][wave];
    if (id >= 51 && id <= 56) return &a.dcv[set][wave];
    if (id == 57) return &s.unit[kLineUnit].mode[mode].volt[area].dcv[set][wave];
    if (id >= 64 && id <= 67) return &m.onPhase;
    if (id >= 68 && id <= 71) return &m.offPhase;
    if (id >= 72 && id <= 74) return &s.unit[0].mode[mode].phaseAngle[id - 72];
    if (id >= 75 && id <= 80) return &a.gain;
    if (id >= 81 && id <= 83) return &a.sig;
    if (id >= 84 && id <= 88) return &a.src;
    if (id == 89) return &s.unit[0].mode[mode].syncPhase;
    if (id >= 91 && id <= 93) return &u.ipkLimitMode;
    int g = GlobalIndexOfId(id);
    if (g >= 0) return &s.global[g];
    return &s.spare;
}

void ParamEnterNone() {}

void ParamStoreReset() {
    g_ParamFlags.store(0);
    g_OutputModeIdx.store(0);
    for (auto& code : g_ParamStore.rangeCode)
        code.store(0);
    g_OutputStatusMirror.store(0);
}

}  // namespace core
