// OUTPut:IMPedance:INDuctance and :RESistance: the output impedance of one phase, or of all three, in
// tenths of the unit. ALL sets L1 and gives its value to L2 and L3 as the panel's DEF key does.
#include <cmath>
#include <cstdio>
#include <limits>

#include "core/params/access/impedance_copy.h"
#include "core/params/param_store.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/handlers/scpi_refusals.h"
#include "scpi/handlers/scpi_setting_value.h"
#include "scpi/parser/scpi_errors.h"

namespace scpi {
namespace {

constexpr int32_t kAllPhases = 3;

int Fail(ScpiInterface* ifc, uint32_t row) {
    scpiSetError(ifc, row);
    return 0;
}

// Parameter 2 as tenths: an integer or a real times 10 (a real rounded), or the record's limit. A value
// whose tenths leave 32 bits is out of range, not converted.
uint32_t Tenths(const ScpiInterface* ifc, const ParamRec& rec, int32_t* tenths) {
    const int limit = LimitChoice(ifc, 1, rec.min, rec.max, tenths);
    if (limit == 1) return 0;
    if (limit < 0) return kScpiErrParameter;
    double v;
    if (const uint32_t row = NumberValue(ifc, 1, &v); row != 0) return row;
    const double scaled = scpiIsInt(ifc, 1) == 1 ? v * 10.0 : std::trunc(v * 10.0 + 0.5);
    if (!(scaled >= std::numeric_limits<int32_t>::min() && scaled <= std::numeric_limits<int32_t>::max()))
        return kScpiErrDataOutOfRange;
    *tenths = static_cast<int32_t>(scaled);
    return 0;
}

int Impedance(ScpiInterface* ifc, uint32_t first, uint32_t rowState) {
    if (RemoteSettingBlocked()) return Fail(ifc, RemoteBlockedRow());
    int32_t phase;
    if (ChoiceOrNumber(ifc, 0, &phase) != 0 || phase < 0 || phase > kAllPhases)
        return Fail(ifc, kScpiErrParameter);
    if (scpiIsQuery(ifc) == 1) {
        int32_t which = -1;
        if (scpiGetParamCount(ifc) > 1 && scpiGetChoice(ifc, 1, &which) != 0) which = -1;
        if (which >= 0 && which != kChoiceMin && which != kChoiceMax) return Fail(ifc, kScpiErrParameter);
        auto shown = [&](int32_t p) {
            ParamRec rec{};
            paramGetRecord(first + 2 * static_cast<uint32_t>(p), &rec, 0);
            const int32_t v = which == kChoiceMin ? rec.min : which == kChoiceMax ? rec.max : rec.value;
            return static_cast<double>(static_cast<float>(v) * rec.scale);
        };
        char text[64];
        if (phase == kAllPhases)
            std::snprintf(text, sizeof text, "%+.1f,%+.1f,%+.1f", shown(0), shown(1), shown(2));
        else
            std::snprintf(text, sizeof text, "%+.1f", shown(phase));
        WriteTextReply(ifc, text);
        return 0;
    }
    const int32_t target = phase == kAllPhases ? 0 : phase;
    ParamRec rec{};
    paramGetRecord(first + 2 * static_cast<uint32_t>(target), &rec, 0);
    int32_t tenths;
    if (const uint32_t row = Tenths(ifc, rec, &tenths); row != 0) return Fail(ifc, row);
    if (tenths < rec.min || tenths > rec.max) return Fail(ifc, kScpiErrDataOutOfRange);
    paramPutValue(first + 2 * static_cast<uint32_t>(target), tenths, 0);
    if (phase == kAllPhases) CopyImpedanceToOtherPhases(rowState);
    return 0;
}

}  // namespace

int CmdOutpImpInd(ScpiInterface* ifc) {
    return Impedance(ifc, kParamInductanceL1, kParamInductanceL1Row);
}

int CmdOutpImpRes(ScpiInterface* ifc) {
    return Impedance(ifc, kParamResistanceL1, kParamResistanceL1Row);
}

}  // namespace scpi
