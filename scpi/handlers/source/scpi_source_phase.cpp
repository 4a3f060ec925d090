// [SOURce:]PHASe:PHASe (the L2 and L3 phase angles) and PHASe:SYNC (the sync phase), in tenths of a
// degree.
#include <cmath>
#include <cstdio>
#include <limits>

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "scpi/parser/scpi_errors.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/scpi_setting_value.h"

namespace scpi {
namespace {

enum : int32_t { kL12 = 0, kL13 = 1 };
// In Balance mode the angles are fixed: 120.0 and 240.0 degrees.
constexpr int32_t kBalancedAngle[] = {1200, 2400};
constexpr uint32_t kAngleParam[] = {kParamBalance2, kParamBalance3};

// Tenths of a degree from parameter i: MINimum/MAXimum the given limits, a real times 10 plus 0.5
// truncated, an integer times 10. The parameter error row when there is none, the out-of-range row when
// the tenths do not fit 32 bits.
uint32_t Tenths(const ScpiInterface* ifc, uint32_t i, int32_t min, int32_t max, int32_t* out) {
    if (const int limit = LimitChoice(ifc, i, min, max, out); limit != 0)
        return limit > 0 ? 0 : kScpiErrParameter;
    int32_t integer;
    double tenths;
    if (scpiGetInt(ifc, i, &integer) == 0) {
        tenths = static_cast<double>(integer) * 10.0;
    } else if (double real; scpiGetReal(ifc, i, &real) == 0) {
        tenths = std::trunc(real * 10.0 + 0.5);
    } else {
        return kScpiErrParameter;
    }
    if (!(tenths >= std::numeric_limits<int32_t>::min() && tenths <= std::numeric_limits<int32_t>::max()))
        return kScpiErrDataOutOfRange;
    *out = static_cast<int32_t>(tenths);
    return 0;
}

// The L12/L13 selector of parameter 0 as a choice or a number; -1 when it is neither.
int32_t Selector(const ScpiInterface* ifc) {
    int32_t s;
    if (scpiGetChoice(ifc, 0, &s) == 0 || scpiGetInt(ifc, 0, &s) == 0) return s;
    return -1;
}

bool Balanced() {
    return GetPhaseBalanceMode() == 1;
}

int QueryAngle(ScpiInterface* ifc) {
    const int32_t line = Selector(ifc);
    if (line != kL12 && line != kL13) {
        scpiSetError(ifc, kScpiErrParameter);
        return 0;
    }
    ParamRec rec{};
    paramGetRecord(kAngleParam[line], &rec, 0);
    int32_t v = rec.value;
    const int limit = LimitChoice(ifc, 1, rec.min, rec.max, &v);
    if (limit < 0) {
        scpiSetError(ifc, kScpiErrParameter);
        return 0;
    }
    if (limit > 0 && Balanced()) v = kBalancedAngle[line];
    char text[32];
    std::snprintf(text, sizeof text, "%+.1f", static_cast<double>(static_cast<float>(v) * rec.scale));
    WriteTextReply(ifc, text);
    return 0;
}

int SetAngle(ScpiInterface* ifc) {
    const int32_t line = Selector(ifc);
    if (line != kL12 && line != kL13) {
        scpiSetError(ifc, kScpiErrDataOutOfRange);
        return 0;
    }
    // Both angles keep to the L2 angle's limits.
    ParamRec limits{};
    paramGetRecord(kParamBalance2, &limits, 0);
    int32_t v;
    uint32_t error = Tenths(ifc, 1, limits.min, limits.max, &v);
    if (error == 0 && (v < limits.min || v > limits.max)) error = kScpiErrDataOutOfRange;
    if (error == 0 && Balanced()) error = kScpiErrExecution;
    if (error != 0) {
        scpiSetError(ifc, error);
        return 0;
    }
    if (line == kL12)
        SetPhaseAngle_L2(v);
    else
        SetPhaseAngle_L3(v);
    return 0;
}

int QuerySync(ScpiInterface* ifc) {
    ParamRec rec{};
    paramGetRecord(kParamSyncPhase, &rec, 0);
    int32_t v = rec.value;
    if (LimitChoice(ifc, 0, rec.min, rec.max, &v) < 0) {
        scpiSetError(ifc, kScpiErrParameter);
        return 0;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(v) / 10.0);
    WriteTextReply(ifc, text);
    return 0;
}

int SetSync(ScpiInterface* ifc) {
    ParamRec rec{};
    paramGetRecord(kParamSyncPhase, &rec, 0);
    int32_t v;
    uint32_t error = Tenths(ifc, 0, rec.min, rec.max, &v);
    if (error == 0 && (v < rec.min || v > rec.max)) error = kScpiErrDataOutOfRange;
    if (error != 0) {
        scpiSetError(ifc, error);
        return 0;
    }
    SetSyncPhase(v);
    return 0;
}

}  // namespace

int CmdSourPhasPhas(ScpiInterface* ifc) {
    return scpiIsQuery(ifc) == 1 ? QueryAngle(ifc) : SetAngle(ifc);
}

int CmdSourPhasSync(ScpiInterface* ifc) {
    return scpiIsQuery(ifc) == 1 ? QuerySync(ifc) : SetSync(ifc);
}

}  // namespace scpi
