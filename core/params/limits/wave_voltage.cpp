#include "core/params/limits/wave_voltage.h"

#include <cstdio>
#include <cstring>

#include "core/params/access/acv_unit.h"
#include "core/params/access/line_values.h"
#include "core/params/access/param_access.h"
#include "core/params/limits/limit_checks.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/params/settings/line_acv.h"
#include "core/regbus/reg_write.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/service_flags.h"
#include "platform/stage/wiring_codes.h"

using namespace core;

namespace {

constexpr int kMessageLines = 3;

int32_t Word(uint32_t unit, int word) {
    return static_cast<int32_t>(g_OutputShadow[unit][word]);
}

void SetWord(uint32_t unit, int word, int32_t value) {
    g_OutputShadow[unit][word] = static_cast<uint32_t>(value);
}

// One voltage record of the present mode and range area (explicit place, no automatic set switch).
struct VoltPlace {
    uint32_t mode;
    uint32_t area;
    uint32_t phase;
};

core::ParamPlace Place(const VoltPlace& at, uint32_t wave, uint32_t set) {
    return {.mode = at.mode, .area = at.area, .waveform = wave, .set = set, .unit = at.phase};
}

int32_t GetVolt(const VoltPlace& at, uint32_t id, uint32_t wave, uint32_t set) {
    ParamRec rec;
    paramAccessByUnit(Access::kRead, id, &rec, Place(at, wave, set));
    return rec.value;
}

void PutVolt(const VoltPlace& at, uint32_t id, uint32_t wave, uint32_t set, int32_t value) {
    ParamRec rec;
    paramAccessByUnit(Access::kRead, id, &rec, Place(at, wave, set));
    rec.value = value;
    paramAccessByUnit(Access::kWrite, id, &rec, Place(at, wave, set));
}

VoltPlace PresentPlace(uint32_t phase) {
    return {GetOutputMode(), VoltAreaOfRange(GetVoltRangeCode()), phase};
}

uint32_t LastPhase() {
    return static_cast<uint32_t>(LastPhaseOfWiring(GetPhaseMode()));
}

// Unit Vrms, or a waveform shown in Vrms: the rms limit of the record.
bool LimitToRmsMax(int32_t* acv, int phase) {
    if (AcvExceedsMax(*acv, phase) == 0) return false;
    *acv = GetAcvLimitMax(phase);
    return true;
}

}  // namespace

namespace core {

void AppendLimitedPhase(char* text, unsigned size, int phase) {
    const size_t used = std::strlen(text);
    if (used + 1 < size) std::snprintf(text + used, size - used, " L%d", phase + 1);
}

void ShowWaveLimitMessage(const char* phases) {
    // The popup's formatter takes no text arguments: the phases go into the text before it is posted.
    char text[128];
    std::snprintf(text, sizeof text, kWaveLimitFormat, phases);
    ShowMessage(kMessageLines, text);
}

}  // namespace core

void SpreadVoltageToWaves() {
    for (uint32_t p = 0; p <= LastPhase(); ++p) {
        const VoltPlace at = PresentPlace(p);
        // The voltage in force is the stored one: a shadow word may hold a value posted as value + 1 for
        // the next pass, which must neither spread nor hide that write.
        const int32_t acv = paramGetValue(kParamAcv + p, p);
        const int32_t dcv = paramGetValue(kParamDcv2 + p, p);
        if (IsAcvUnitVppOfPhase(static_cast<int>(p))) {
            const int32_t acvRms = GetVolt(at, kParamAcv, kWaveSin, 0);
            const int32_t dcvRms = GetVolt(at, kParamDcv, kWaveSin, 0);
            for (uint32_t w = 0; w < kWaveforms; ++w) {
                if (w == kWaveSin || w == kWaveSqu) continue;
                PutVolt(at, kParamAcv, w, 1, acv);
                PutVolt(at, kParamDcv, w, 1, dcv);
                PutVolt(at, kParamAcv, w, 0, acvRms);
                if (at.mode != kModeDcInt) PutVolt(at, kParamDcv, w, 0, dcvRms);
            }
        } else {
            for (uint32_t w = 0; w < kWaveforms; ++w) {
                PutVolt(at, kParamAcv, w, 0, acv);
                PutVolt(at, kParamDcv, w, 0, dcv);
            }
            for (uint32_t w : {kWaveSin, kWaveSqu}) {
                PutVolt(at, kParamAcv, w, 1, acv);
                PutVolt(at, kParamDcv, w, 1, dcv);
            }
        }
    }
}

RmsInForce RmsVoltagesInForce() {
    RmsInForce v{};
    for (uint32_t p = 0; p < kPhases; ++p) {
        v.acv[p] = GetAcvSetRms(static_cast<int>(p));
        v.dcv[p] = GetDcvSetRms(static_cast<int>(p));
    }
    return v;
}

void WaveVoltageRecheck() {
    const RmsInForce rms = RmsVoltagesInForce();
    char limited[32] = "";
    const uint32_t mode = GetOutputMode();
    const uint32_t area = VoltAreaOfRange(GetVoltRangeCode());
    for (uint32_t p = 0; p <= LastPhase(); ++p) {
        const int phase = static_cast<int>(p);
        int32_t acv;
        int32_t dcv;
        bool limit;
        if (IsAcvUnitVppOfPhase(phase)) {
            acv = GetAcvSetVpp(phase);
            dcv = GetDcvSetVpp(phase);
            VoltSettingCheckAll(mode, area);
            limit = IsAcvOverVppLimitOfPhase(acv, phase) > 0 && !NvWritesDisabled();
            if (limit) acv = GetAcvMaxVppOfPhase(phase);
        } else {
            acv = rms.acv[p];
            dcv = rms.dcv[p];
            paramPutValue(kParamDcv2 + p, dcv, p);
            VoltSettingCheckAll(mode, area);
            limit = LimitToRmsMax(&acv, phase);
        }
        if (limit) AppendLimitedPhase(limited, sizeof limited, phase);
        SetWord(p, kShwAcv, acv);
        SetWord(p, kShwDcv, dcv);
        paramPutValue(kParamAcv + p, acv, p);
        paramPutValue(kParamDcv2 + p, dcv, p);
        BusReg_SetAcv(regbus::Phase(phase), acv);
        BusReg_SetDcv(regbus::Phase(phase), dcv);
        BusReg_Apply(1);
    }
    if (limited[0] != '\0') ShowWaveLimitMessage(limited);
    SpreadVoltageToWaves();
    if (g_EditAllPhases.load(std::memory_order_relaxed) == 1) {
        LineValueFromPhase(kParamAcvLine);
        LineValueFromPhase(kParamDcvLine);
    }
}

void LineValueFromPhase(uint32_t id) {
    const uint32_t wiring = GetPhaseMode();
    if (id == kParamAcvLine) {
        const int32_t l1 = Word(0, kShwAcv);
        if (wiring == kWiring3P4W || wiring == kWiring1P3W) {
            const int32_t line = settings::LineAcvOfPhase(l1, wiring == kWiring3P4W);
            SetWord(kLineShadow, kShwAcv, line);
            paramPutValue(kParamAcvLine, line, 0);
        }
        UpdateLineValueFromPhases(50);
    } else if (id == kParamDcvLine) {
        const int32_t l1 = Word(0, kShwDcv);
        const uint32_t mode = GetOutputMode();
        bool store = true;
        int32_t line = l1;
        if (wiring == kWiring1P3W && (mode == kModeAcDcInt || mode == kModeAcDcSync))
            line = l1 * 2;
        else if (wiring != kWiring3P4W)
            store = false;
        if (store) {
            SetWord(kLineShadow, kShwDcv, line);
            paramPutValue(kParamDcvLine, line, 0);
        }
        UpdateLineValueFromPhases(57);
    }
}
