// The access-layer operations that write power-stage registers themselves.
#include "core/params/access/param_access.h"
#include "core/params/access/param_access_internal.h"
#include "core/params/param_store.h"
#include "core/regbus/reg_write.h"
#include "core/system/config/model_table.h"
#include "core/system/state/ctrl_words.h"
#include "platform/stage/wiring_codes.h"

using namespace core;

std::atomic<uint32_t> core::g_MonitorSourceWord{0};
std::atomic<uint8_t> core::g_TrigSourceBits{0};

namespace {

// Field value of each monitor source (bit 0 is the lowest bit of the 3-bit field).
constexpr uint32_t kMonitorFieldOfSource[] = {0, 2, 4, 1, 3, 5};

int SetMonitorField(int32_t s, uint32_t shift) {
    if (s >= 0 && s < 6) {
        const uint32_t mask = 7u << shift;
        uint32_t word = g_MonitorSourceWord.load(std::memory_order_relaxed);
        word = (word & ~mask) | (kMonitorFieldOfSource[s] << shift);
        g_MonitorSourceWord.store(word, std::memory_order_relaxed);
    }
    BusReg_SetMonitorSource(static_cast<int32_t>(g_MonitorSourceWord.load(std::memory_order_relaxed)));
    return 0;
}

struct MonitorScale {
    float volt100, curr100, volt200, curr200;
};

// [amplitude][family 0 = 4.5 kVA, 1 = 6 kVA][0 = 3P4W/1P3W, 1 = 1P2W]
constexpr MonitorScale kMonitorScales[2][2][2] = {
    {{{0.01f, 0.041666668f, 0.005f, 0.083333336f}, {0.01f, 0.013888889f, 0.005f, 0.027777778f}},
     {{0.01f, 0.03125f, 0.005f, 0.0625f}, {0.01f, 0.010416667f, 0.005f, 0.020833334f}}},
    {{{0.04f, 0.16666667f, 0.02f, 0.33333334f}, {0.04f, 0.055555556f, 0.02f, 0.11111111f}},
     {{0.04f, 0.125f, 0.02f, 0.25f}, {0.04f, 0.041666668f, 0.02f, 0.083333336f}}},
};

}  // namespace

int SetMonitorSource1(int32_t s) {
    return SetMonitorField(s, 0);
}

int SetMonitorSource2(int32_t s) {
    return SetMonitorField(s, 3);
}

int SetTriggerSourceBits(int32_t s) {
    uint8_t bits = g_TrigSourceBits.load(std::memory_order_relaxed);
    if (s == 0) bits &= static_cast<uint8_t>(~7u);
    if (s == 1) bits = static_cast<uint8_t>((bits & ~7u) | 1u);
    if (s == 2) bits = static_cast<uint8_t>((bits & ~7u) | 2u);
    g_TrigSourceBits.store(bits, std::memory_order_relaxed);
    return 0;
}

int ApplyPhaseStartStopEnable(int phase) {
    if (!ValidPhase(phase)) return 0;
    const uint32_t p = static_cast<uint32_t>(phase);
    const uint32_t onBit = 1u << (kOptOnEnableL1 + p), offBit = 1u << (kOptOffEnableL1 + p);
    uint32_t word = g_OutputOptionWord.load(std::memory_order_relaxed) & ~(onBit | offBit);
    if (g_OutputShadow[phase][kShwOnEnable] & 1u) word |= onBit;
    if (g_OutputShadow[phase][kShwOffEnable] & 1u) word |= offBit;
    g_OutputOptionWord.store(word, std::memory_order_relaxed);
    if (OutputFlagTest(kOutFlagSettled)) BusReg_SetServiceFlags(static_cast<int32_t>(word));
    return 0;
}

int32_t ApplyIpkLimits(int phase) {
    const int32_t mode = PhaseValue(kParamIpkLimitMode, 0);
    ParamRec high, low;
    ReadPhaseRecord(kParamIpkMax, phase, &high);
    ReadPhaseRecord(kParamIpkMin, phase, &low);
    const bool userOn = mode == 1;
    BusReg_SetIpkLimitHigh(userOn ? high.value : high.defaultMax, regbus::Phase(phase));
    BusReg_SetIpkOffHigh(userOn ? high.defaultMax : high.value, regbus::Phase(phase));
    BusReg_SetIpkLimitLow(userOn ? low.value : low.defaultMin, regbus::Phase(phase));
    BusReg_SetIpkOffLow(userOn ? low.defaultMin : low.value, regbus::Phase(phase));
    return low.value;
}

int32_t ApplyMonitorScale() {
    const int32_t amplitude = PhaseValue(kParamMonitorAmp, 0);
    if (amplitude != 0 && amplitude != 1) return amplitude;
    const uint32_t family = VaClassOfModel(g_ModelId.load(std::memory_order_relaxed));
    const int32_t range = GetVoltRange();
    float volt = 0.0f, curr = 0.0f;
    if (family != kFamilyNone && (range == kUserRange100V || range == kUserRange200V)) {
        const uint32_t wiring = GetPhaseMode() == kWiring1P2W ? 1 : 0;
        const MonitorScale& s = kMonitorScales[amplitude][family - 1][wiring];
        volt = range == kUserRange100V ? s.volt100 : s.volt200;
        curr = range == kUserRange100V ? s.curr100 : s.curr200;
    }
    BusReg_SetMonitorScale1(volt);
    BusReg_SetMonitorScale2(curr);
    return amplitude;
}
