// [SOURce:]VOLTage:LIMit:PEAK and :RMS: the voltage limit (parameter 8) of the range in force, in its
// peak-to-peak or its rms record set; a change re-checks the AC voltages against it.
#include <cstdio>

#include "core/params/limits/limit_checks.h"
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/system/state/ctrl_words.h"
#include "scpi/parser/scpi_errors.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/scpi_numeric_param.h"
#include "scpi/handlers/scpi_refusals.h"
#include "scpi/handlers/scpi_setting_value.h"

namespace scpi {
namespace {

enum RecordSet : uint32_t { kSetRms = 0, kSetPeak = 1 };

uint32_t Area() {
    return core::VoltAreaOfRange(core::CurrentRangeCode());
}

// The limit lives in one block whatever the output mode; the mode in force is passed for both reads and
// writes, so they always meet the same record.
ParamRec LimitRecord(Access op, RecordSet set, int phase, ParamRec rec = {}) {
    paramAccessByUnit(op, kParamVoltLimit, &rec,
                      {.mode = GetOutputMode(),
                       .area = Area(),
                       .waveform = static_cast<uint32_t>(GetWaveformSel()),
                       .set = set,
                       .unit = static_cast<uint32_t>(phase)});
    return rec;
}

// The phases a set writes: with edit-all every phase of the wiring, else the selected one.
void PhasesToWrite(int* first, int* last) {
    if (g_EditAllPhases.load(std::memory_order_acquire) != 0) {
        *first = 0;
        *last = core::LastPhaseOfWiring(GetPhaseMode());
    } else {
        *first = *last = static_cast<int>(core::SelectedPhase());
    }
}

int Query(ScpiInterface* ifc, RecordSet set) {
    const ParamRec rec = LimitRecord(Access::kRead, set, static_cast<int>(core::SelectedPhase()));
    int32_t v = rec.value;
    if (LimitChoice(ifc, 0, rec.min, rec.max, &v) < 0) {
        scpiSetError(ifc, kScpiErrParameter);
        return 0;
    }
    char text[48];
    std::snprintf(text, sizeof text, "%+.4f", static_cast<double>(static_cast<float>(v) * rec.scale));
    WriteTextReply(ifc, text);
    return 0;
}

// The value of a set in record steps, or an error row. The steps of a real or an integer that do not fit
// 32 bits are out of range.
uint32_t SetValue(const ScpiInterface* ifc, const ParamRec& rec, int32_t* v) {
    if (const int limit = LimitChoice(ifc, 0, rec.min, rec.max, v); limit != 0)
        return limit > 0 ? 0 : kScpiErrParameter;
    int32_t integer;
    double real;
    if (scpiGetInt(ifc, 0, &integer) == 0) {
        real = integer;
    } else if (scpiGetReal(ifc, 0, &real) != 0) {
        return kScpiErrParameter;
    }
    return ScaledSteps(real, rec.scale, v) ? 0 : kScpiErrDataOutOfRange;
}

int Set(ScpiInterface* ifc, RecordSet set) {
    int32_t v;
    const uint32_t error =
        SetValue(ifc, LimitRecord(Access::kRead, set, static_cast<int>(core::SelectedPhase())), &v);
    if (error != 0) {
        scpiSetError(ifc, error);
        return 0;
    }
    int first, last;
    PhasesToWrite(&first, &last);
    for (int p = first; p <= last; ++p) {
        const ParamRec rec = LimitRecord(Access::kRead, set, p);
        if (v < rec.min || v > rec.max) {
            scpiSetError(ifc, kScpiErrDataOutOfRange);
            return 0;
        }
    }
    for (int p = first; p <= last; ++p) {
        ParamRec rec = LimitRecord(Access::kRead, set, p);
        rec.value = v;
        LimitRecord(Access::kWrite, set, p, rec);
    }
    VoltLimitCheck(Area());
    return 0;
}

int VoltLimit(ScpiInterface* ifc, RecordSet set) {
    if (ParamUnusedInMode(kParamVoltLimit) || (set == kSetPeak && GetAcvUnit() == 0)) {
        scpiSetError(ifc, kScpiErrExecution);
        return 0;
    }
    return scpiIsQuery(ifc) == 1 ? Query(ifc, set) : Set(ifc, set);
}

}  // namespace

int CmdSourVoltLimPeak(ScpiInterface* ifc) {
    return VoltLimit(ifc, kSetPeak);
}

int CmdSourVoltLimRms(ScpiInterface* ifc) {
    return VoltLimit(ifc, kSetRms);
}

}  // namespace scpi
