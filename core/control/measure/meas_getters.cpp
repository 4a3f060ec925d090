// The measurement getters: one table row per displayed quantity.
#include "core/control/measure/meas_getters.h"

#include <cmath>
#include <cstdio>

#include "core/control/measure/harmonics.h"
#include "core/control/measure/meas_records.h"
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/system/util/format_number.h"

std::atomic<float> g_MeasValCache[kMqCount];

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr int kValueOnly = 2;
constexpr const char* kInvalidText = "----";

enum class Kind : uint8_t { kPlain, kPower, kFreq, kThdV, kThdI };

struct Getter {
    MeasQuantity quantity;
    int field;
    int recordOffset;  // 3 for the line-to-line records
    const char* unit;  // mode 0
    const char* longUnit;
    int decimals;
    int plus;
    Kind kind = Kind::kPlain;
    const char* kiloUnit = nullptr;
};

void Remember(MeasQuantity q, float v) {
    g_MeasValCache[q].store(v, kRelaxed);
}

// Power: a small negative reading is 0.
float PowerRule(float v) {
    return v >= -0.06f && v <= 0.0f ? 0.0f : v;
}

float Get(const Getter& g, char* text, const char** unit, int phase, int mode, int base = 0) {
    if (phase < 0 || phase > 2) return 0.0f;
    float value = g_DispCache[phase + g.recordOffset].Get(g.field);
    Remember(g.quantity, value);
    int decimals = g.decimals;
    const char* shownUnit = mode == 1 ? g.longUnit : g.unit;
    bool scaled = false;
    if (g.kind == Kind::kPower) {
        if (g.quantity == kMqPower) value = PowerRule(value);
        if (value >= 9999.5f) {
            value /= 1000.0f;
            decimals = 2;
            shownUnit = g.kiloUnit;
            scaled = true;
        }
    } else if (g.kind == Kind::kFreq && mode != kValueOnly) {
        // The meter shows a frequency only where the output follows a measured signal; a remote query
        // reads what the stage measures in every mode.
        const uint32_t outputMode = GetOutputMode();
        if (outputMode != kModeAcDcSync && outputMode != kModeAcSync) value = 0.0f;
    }
    decimals = MeasDecimals(mode, decimals, value);
    if (mode != kValueOnly && text != nullptr) {
        bool invalid = false;
        if (g.kind == Kind::kFreq) invalid = value < 10.0f || value > 2100.0f;
        if (g.kind == Kind::kThdV)
            invalid = value < 0.0f || (g_HarmValid.load(kRelaxed) & (1u << phase)) == 0;
        if (g.kind == Kind::kThdI) invalid = value < 0.0f;
        if (invalid) {
            snprintf(text, kNumberTextSize, "%s", kInvalidText);
        } else {
            FormatNumber(g.plus, text, decimals, nullptr, value);
        }
        if (unit != nullptr) *unit = shownUnit;
    }
    return scaled && base == 1 ? value * 1000.0f : value;
}

constexpr Getter kVrms{kMqVrms, kMfVrms, 0, "rms", "Vrms", 2, 0};
constexpr Getter kVavg{kMqVavg, kMfVavg, 0, "V", "V", 2, 1};
constexpr Getter kVmax{kMqVmax, kMfVmax, 0, "Vpk", "Vpk", 2, 1};
constexpr Getter kVmin{kMqVmin, kMfVmin, 0, "Vpk", "Vpk", 2, 1};
constexpr Getter kVpkHold{kMqVpkHold, kMfVpkHold, 0, "Vpk", "Vpk", 2, 1};
constexpr Getter kIrms{kMqIrms, kMfIrms, 0, "rms", "Arms", 2, 0};
constexpr Getter kIavg{kMqIavg, kMfIavg, 0, "A", "A", 2, 1};
constexpr Getter kImax{kMqImax, kMfImax, 0, "Apk", "Apk", 2, 1};
constexpr Getter kImin{kMqImin, kMfImin, 0, "Apk", "Apk", 2, 1};
constexpr Getter kIpkHold{kMqIpkHold, kMfIpkHold, 0, "Apk", "Apk", 2, 1};
constexpr Getter kPower{kMqPower, kMfPower, 0, "W", "W", 1, 0, Kind::kPower, "KW"};
constexpr Getter kApparent{kMqApparent, kMfApparent, 0, "VA", "VA", 1, 0, Kind::kPower, "KVA"};
constexpr Getter kReactive{kMqReactive, kMfReactive, 0, "var", "var", 1, 0, Kind::kPower, "Kvar"};
constexpr Getter kPF{kMqPF, kMfPF, 0, "", "", 3, 0};
constexpr Getter kCF{kMqCF, kMfCF, 0, "", "", 2, 0};
constexpr Getter kFreq{kMqFreq, kMfFreq, 0, "Hz", "Hz", 2, 0, Kind::kFreq};
constexpr Getter kThdV{kMqThdV, kMfThdV, 0, "%", "%", 1, 0, Kind::kThdV};
constexpr Getter kThdI{kMqThdI, kMfThdI, 0, "%", "%", 1, 0, Kind::kThdI};
constexpr Getter kVllRms{kMqVllRms, kMfVrms, 3, "rms", "Vrms", 2, 0};
constexpr Getter kVllAvg[3] = {{kMqVllAvg, kMfVavg, 3, "V12", "V12", 2, 1},
                               {kMqVllAvg, kMfVavg, 3, "V23", "V23", 2, 1},
                               {kMqVllAvg, kMfVavg, 3, "V31", "V31", 2, 1}};
constexpr Getter kVllMax{kMqVllMax, kMfVmax, 3, "pk", "pk", 2, 1};
constexpr Getter kVllMin{kMqVllMin, kMfVmin, 3, "pk", "pk", 2, 1};

// sqrt(rms^2 - avg^2), 0 when the average's magnitude exceeds the rms (readings taken at different
// moments can do that).
float AcPart(int rmsField, int avgField, MeasQuantity rmsQ, MeasQuantity avgQ, int phase) {
    if (phase < 0 || phase > 2) return 0.0f;
    const double rms = g_DispCache[phase].Get(rmsField);
    const double avg = g_DispCache[phase].Get(avgField);
    Remember(rmsQ, static_cast<float>(rms));
    Remember(avgQ, static_cast<float>(avg));
    const double d = rms * rms - avg * avg;
    return d > 0.0 ? static_cast<float>(std::sqrt(d)) : 0.0f;
}

float Total(int field, int n, bool powerRule = false) {
    float v = g_MeasLive[0].Get(field);
    if (powerRule) v = PowerRule(v);
    Remember(static_cast<MeasQuantity>(kMqTotals + n), v);
    return v;
}

}  // namespace

int MeasDecimals(int mode, int defaultDecimals, float value) {
    if (mode != 0 && mode != 1) return defaultDecimals;
    const double v = value;
    switch (defaultDecimals) {
        case 3:
            if (v >= 999.95 || v <= -999.95) return 0;
            if (v >= 99.995 || v <= -99.995) return 1;
            if (v >= 9.9995 || v <= -9.9995) return 2;
            return 3;
        case 2:
            if (v >= 999.95 || v <= -999.95) return 0;
            if (v >= 99.995 || v <= -99.995) return 1;
            return 2;
        case 1:
            return v >= 999.95 || v <= -999.95 ? 0 : 1;
        default:
            return defaultDecimals;
    }
}

float MeasGetVrms(char* t, const char** u, int p, int m) {
    return Get(kVrms, t, u, p, m);
}
float MeasGetVavg(char* t, const char** u, int p, int m) {
    return Get(kVavg, t, u, p, m);
}
float MeasGetVmax(char* t, const char** u, int p, int m) {
    return Get(kVmax, t, u, p, m);
}
float MeasGetVmin(char* t, const char** u, int p, int m) {
    return Get(kVmin, t, u, p, m);
}
float MeasGetVpkHold(char* t, const char** u, int p, int m) {
    return Get(kVpkHold, t, u, p, m);
}
float MeasGetIrms(char* t, const char** u, int p, int m) {
    return Get(kIrms, t, u, p, m);
}
float MeasGetIavg(char* t, const char** u, int p, int m) {
    return Get(kIavg, t, u, p, m);
}
float MeasGetImax(char* t, const char** u, int p, int m) {
    return Get(kImax, t, u, p, m);
}
float MeasGetImin(char* t, const char** u, int p, int m) {
    return Get(kImin, t, u, p, m);
}
float MeasGetIpkHold(char* t, const char** u, int p, int m) {
    return Get(kIpkHold, t, u, p, m);
}
float MeasGetPower(char* t, const char** u, int p, int m, int base) {
    return Get(kPower, t, u, p, m, base);
}
float MeasGetApparent(char* t, const char** u, int p, int m, int base) {
    return Get(kApparent, t, u, p, m, base);
}
float MeasGetReactive(char* t, const char** u, int p, int m, int base) {
    return Get(kReactive, t, u, p, m, base);
}
float MeasGetPF(char* t, const char** u, int p, int m) {
    return Get(kPF, t, u, p, m);
}
float MeasGetCF(char* t, const char** u, int p, int m) {
    return Get(kCF, t, u, p, m);
}
float MeasGetTemperature(int phase) {
    if (phase < 0 || phase > 2) return 0.0f;
    return g_DispCache[phase].Get(kMfAux);
}
float MeasGetFreq(char* t, const char** u, int p, int m) {
    return Get(kFreq, t, u, p, m);
}
float MeasGetThdV(char* t, const char** u, int p, int m) {
    return Get(kThdV, t, u, p, m);
}
float MeasGetThdI(char* t, const char** u, int p, int m) {
    return Get(kThdI, t, u, p, m);
}
float MeasGetVllRms(char* t, const char** u, int p, int m) {
    return Get(kVllRms, t, u, p, m);
}
float MeasGetVllAvg(char* t, const char** u, int p, int m) {
    return p >= 0 && p <= 2 ? Get(kVllAvg[p], t, u, p, m) : 0.0f;
}
float MeasGetVllMax(char* t, const char** u, int p, int m) {
    return Get(kVllMax, t, u, p, m);
}
float MeasGetVllMin(char* t, const char** u, int p, int m) {
    return Get(kVllMin, t, u, p, m);
}

float MeasGetVac(char*, const char**, int p, int) {
    return AcPart(kMfVrms, kMfVavg, kMqVrms, kMqVavg, p);
}
float MeasGetIac(char*, const char**, int p, int) {
    return AcPart(kMfIrms, kMfIavg, kMqIrms, kMqIavg, p);
}
float MeasGetVrmsTotal(char*, const char**, int, int) {
    return Total(kMfVrmsTotal, 0);
}
float MeasGetIrmsTotal(char*, const char**, int, int) {
    return Total(kMfIrmsTotal, 1);
}
float MeasGetPowerTotal(char*, const char**, int, int) {
    return Total(kMfPowerTotal, 2, true);
}
float MeasValPowerTotal(char*, const char**, int, int) {
    return Total(kMfPowerTotal, 2, true);
}
float MeasGetPFTotal(char*, const char**, int, int) {
    return Total(kMfPFTotal, 3);
}
float MeasGetApparentTotal(char*, const char**, int, int) {
    return Total(kMfApparentTotal, 4);
}
float MeasValApparentTotal(char*, const char**, int, int) {
    return Total(kMfApparentTotal, 4);
}
float MeasGetReactiveTotal(char*, const char**, int, int) {
    return Total(kMfReactiveTotal, 5);
}
float MeasValReactiveTotal(char*, const char**, int, int) {
    return Total(kMfReactiveTotal, 5);
}
