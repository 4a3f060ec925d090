// The numeric settings of the waveform builder (triangle, stairs, clip and the two crest-factor
// waveforms): query and set within the limits the calling command gives.
#include "scpi/handlers/source/scpi_arb_edit_param.h"

#include <cstdio>
#include <iterator>

#include "engine/arb/arb_builder.h"
#include "scpi/channels/remote_port.h"
#include "scpi/parser/scpi_errors.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/scpi_numeric_param.h"
#include "scpi/handlers/scpi_refusals.h"
#include "scpi/handlers/scpi_setting_value.h"

namespace {

using scpi::kChoiceMax;
using scpi::kChoiceMin;

struct ArbItem {
    int32_t (*get)();
    int32_t (*set)(int32_t);
    int32_t divisor;  // builder steps per unit of the command; 1 answers as an integer
};

constexpr ArbItem kItems[] = {
    {ArbBuild_GetTriangle, ArbBuild_SetTriangle, 1}, {ArbBuild_GetStairs, ArbBuild_SetStairs, 1},
    {ArbBuild_GetClip, ArbBuild_SetClip, 100},       {ArbBuild_GetCf1, ArbBuild_SetCf1, 10},
    {ArbBuild_GetCf2, ArbBuild_SetCf2, 10},
};

int Reply(ScpiInterface* ifc, const ArbItem& item, int32_t v) {
    char text[48];
    const int n = item.divisor == 1
                      ? std::snprintf(text, sizeof text, "%+d", v)
                      : std::snprintf(text, sizeof text, "%+.4f", static_cast<double>(v) / item.divisor);
    scpiWriteResponse(ifc, text, static_cast<uint32_t>(n), kPortCopy, 0);
    return 0;
}

// The value of a set in builder steps, or an error row.
uint32_t Value(ScpiInterface* ifc, const ArbItem& item, int32_t maximum, int32_t minimum, int32_t* out) {
    if (const int limit = scpi::LimitChoice(ifc, 0, minimum, maximum, out); limit != 0)
        return limit > 0 ? 0 : kScpiErrParameter;
    double value;
    if (const uint32_t row = scpi::NumberValue(ifc, 0, &value); row != 0) return row;
    const float step = 1.0f / static_cast<float>(item.divisor);
    return scpi::ScaledSteps(value, step, out) ? 0 : kScpiErrDataOutOfRange;
}

}  // namespace

int scpiArbEditParam(ScpiInterface* ifc, uint32_t item, int32_t maximum, int32_t minimum) {
    if (item >= std::size(kItems)) return scpiRefuseHeader(ifc);
    if (RemoteSettingBlocked()) {
        scpiSetError(ifc, RemoteBlockedRow());
        return 0;
    }
    const ArbItem& it = kItems[item];
    if (scpiIsQuery(ifc) == 1) {
        int32_t choice;
        if (scpiGetParamCount(ifc) < 1 || scpi::ParamType(ifc, 0) == kItemOmitted)
            return Reply(ifc, it, it.get());
        if (scpiGetChoice(ifc, 0, &choice) != 0 || (choice != kChoiceMin && choice != kChoiceMax)) {
            scpiSetError(ifc, kScpiErrParameter);
            return 0;
        }
        return Reply(ifc, it, choice == kChoiceMax ? maximum : minimum);
    }
    int32_t v = 0;
    if (const uint32_t row = Value(ifc, it, maximum, minimum, &v); row != 0) {
        scpiSetError(ifc, row);
        return 0;
    }
    if (v < minimum || v > maximum) {
        scpiSetError(ifc, kScpiErrDataOutOfRange);
        return 0;
    }
    it.set(v);
    ArbBuild_SetBuildPending();
    return 0;
}
