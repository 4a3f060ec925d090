#include "core/params/param_store.h"

#include <array>

core::ParamStore g_ParamStore;
std::atomic<uint32_t> g_ParamFlags{0};
std::atomic<uint32_t> g_OutputModeIdx{0};

namespace core {

std::atomic<uint32_t> g_OutputStatusMirror{0};
std::mutex g_ParamLock;

void ParamStoreReset() {
    g_ParamFlags.store(0, std::memory_order_relaxed);
    g_OutputModeIdx.store(0, std::memory_order_relaxed);
    g_OutputStatusMirror.store(0, std::memory_order_relaxed);
    for (auto& code : g_ParamStore.rangeCode)
        code.store(0, std::memory_order_relaxed);
}

namespace {

constexpr uint32_t kMaxGlobalId = kParamParallelEnable;

constexpr std::array<int8_t, kMaxGlobalId + 1> MakeGlobalIndex() {
    std::array<int8_t, kMaxGlobalId + 1> t{};
    for (auto& v : t)
        v = -1;
    t[kParamIrmsLimitMode] = kGlbIrmsLimitMode;
    // Pairs: the list row state and its edit state address one record.
    constexpr uint32_t pairs[][2] = {
        {kParamPeakHoldTimeRow, kGlbPeakHoldTime},
        {kParamBalanceModeRow, kGlbBalanceMode},
        {kParamPeakClearItemRow, kGlbPeakClearItem},
        {kParamPowerOnStateRow, kGlbPowerOnState},
        {kParamBuzzerRow, kGlbBuzzer},
        {kParamRemoteSenseRow, kGlbRemoteSense},
        {kParamSlewRateRow, kGlbSlewRate},
        {kParamOutputRelayRow, kGlbOutputRelay},
        {kParamHarmModeRow, kGlbHarmMode},
        {kParamExtControlRow, kGlbExtControl},
        {kParamAcvUnitRow, kGlbAcvUnit},
        {kParamPhaseSetChangeRow, kGlbPhaseSetChange},
        {kParamMonitorSource1Row, kGlbMonitorSrc1},
        {kParamMonitorSource2Row, kGlbMonitorSrc2},
        {kParamMonitorAmpRow, kGlbMonitorAmp},
        {kParamTrigWidthRow, kGlbTrigWidth},
        {kParamTrigSourceRow, kGlbTrigSource},
        {kParamRelockRow, kGlbRelock},
        {kParamAvgCountRow, kGlbAvgCount},
        {kParamUpdateRateRow, kGlbUpdateRate},
        {kParamOutputImpedanceRow, kGlbOutputImpedance},
        {kParamInductanceL1Row, kGlbInductanceL1},
        {kParamInductanceL2Row, kGlbInductanceL2},
        {kParamInductanceL3Row, kGlbInductanceL3},
        {kParamResistanceL1Row, kGlbResistanceL1},
        {kParamResistanceL2Row, kGlbResistanceL2},
        {kParamResistanceL3Row, kGlbResistanceL3},
        {kParamParallelPositionRow, kGlbParallelPosition},
        {kParamParallelNumberRow, kGlbParallelNumber},
        {kParamParallelEnableRow, kGlbParallelEnable},
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

    if (id == kParamVoltLimit) return &u.mode[0].volt[area].voltLimit[set];
    if (id == kParamVpkMax) return &u.mode[0].volt[area].vpkMax;
    if (id == kParamVpkMin) return &u.mode[0].volt[area].vpkMin;
    if (id >= kParamFreq && id <= kParamFreq + 2) return &m.freq;
    if (id == kParamFreqLimitHi) return &u.mode[FreqClassOfMode(mode)].freqHi;
    if (id == kParamFreqLimitLo) return &u.mode[FreqClassOfMode(mode)].freqLo;
    if ((id >= kParamIpkMax && id <= kParamIpkMin + 2) ||
        (id >= kParamCurrLimit && id <= kParamCurrLimit2 + 2)) {
        if (place.variant >= kRangeVariants) return nullptr;
        ParamCurrArea& c = u.mode[0].curr[place.variant];
        if (id <= kParamIpkMax + 2) return &c.ipkMax;
        if (id <= kParamIpkMin + 2) return &c.ipkMin;
        return &c.irms;
    }
    if (id >= kParamWaveShape && id <= kParamWaveShape2) return &u.waveform;
    if (id >= kParamWaveDuty && id <= kParamWaveDutyAll) return &u.duty;
    if (id >= kParamMeasItem1 && id <= kParamMeasItem7)
        return &s.unit[0].mode[mode].meas[id - kParamMeasItem1];
    if (id >= kParamAcv && id <= kParamAcv + 2) return &a.acv[set][wave];
    if (id == kParamAcvLine) return &s.unit[kLineUnit].mode[mode].volt[area].acv[set][wave];
    if (id >= kParamDcv && id <= kParamDcv2 + 2) return &a.dcv[set][wave];
    if (id == kParamDcvLine) return &s.unit[kLineUnit].mode[mode].volt[area].dcv[set][wave];
    if (id >= kParamOnPhase && id <= kParamOnPhaseAll) return &m.onPhase;
    if (id >= kParamOffPhase && id <= kParamOffPhaseAll) return &m.offPhase;
    if (id >= kParamBalance && id <= kParamBalance3)
        return &s.unit[0].mode[mode].phaseAngle[id - kParamBalance];
    if (id >= kParamGain && id <= kParamGain2 + 2) return &a.gain;
    if (id >= kParamMainSig && id <= kParamMainSig + 2) return &a.sig;
    if (id >= kParamMainSrc && id <= kParamMainSrc + 4) return &a.src;
    if (id == kParamSyncPhase) return &s.unit[0].mode[mode].syncPhase;
    if (id >= kParamIpkLimitMode && id <= kParamIpkLimitMode + 2) return &u.ipkLimitMode;
    int g = GlobalIndexOfId(id);
    if (g >= 0) return &s.global[g];
    return &s.spare;
}

}  // namespace core
