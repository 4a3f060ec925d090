// The measurement settings: averaging count, remote sensing, peak-hold clear and the update rate. A
// parallel slave's measurement settings belong to its master, so every one of them is refused there.
#include <cstdint>
#include <iterator>

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/output_flags.h"
#include "platform/stage/wiring_codes.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/handlers/scpi_numeric_param.h"
#include "scpi/handlers/scpi_refusals.h"
#include "scpi/parser/scpi_errors.h"

namespace {

enum PeakItem : int32_t { kPeakAll = 0, kPeakL3 = 3, kPeakTotal = 4 };

// Refuses the command on a parallel slave; true when it may go on.
bool Allowed(ScpiInterface* ifc) {
    if (RemoteSettingBlocked() == 0) return true;
    scpiSetError(ifc, RemoteBlockedRow());
    return false;
}

// The one parameter as an integer, from a character or a numeric item; false when it is neither.
bool IntegerParam(ScpiInterface* ifc, int32_t* out) {
    return scpiGetChoice(ifc, 0, out) == 0 || scpiGetInt(ifc, 0, out) == 0;
}

// The update-rate codes 0-8: the rate in seconds each stands for (code 0 is FAST) and the query's text.
struct RateRow {
    double seconds;
    const char* text;
};
constexpr RateRow kRates[] = {
    {0.0, "Fast"},    {0.1, "+0.1000"}, {0.25, "+0.2500"},  {0.5, "+0.5000"},   {1.0, "+1.0000"},
    {2.0, "+2.0000"}, {5.0, "+5.0000"}, {10.0, "+10.0000"}, {20.0, "+20.0000"},
};
constexpr int32_t kRateCodes = static_cast<int32_t>(std::size(kRates));
constexpr double kRateLowest = 0.1, kRateHighest = 20.0;

// The code of a rate in seconds (exact), 0 for none.
int32_t RateCode(double seconds) {
    for (int32_t code = 1; code < kRateCodes; ++code)
        if (kRates[code].seconds == seconds) return code;
    return 0;
}

// The code a set asks for, or the error row.
uint32_t RequestedRate(ScpiInterface* ifc, int32_t* code) {
    int32_t integer;
    double real;
    if (scpiGetChoice(ifc, 0, &integer) == 0) {
        *code = 0;  // FAST
        return 0;
    }
    if (scpiGetInt(ifc, 0, &integer) == 0) {
        if (integer < 1 || integer > 20) return kScpiErrDataOutOfRange;
        *code = RateCode(integer);
    } else if (scpiGetReal(ifc, 0, &real) == 0) {
        if (!(real >= kRateLowest && real <= kRateHighest)) return kScpiErrDataOutOfRange;
        *code = RateCode(real);
    } else {
        return kScpiErrParameter;
    }
    return *code == 0 ? kScpiErrParameter : 0;
}

}  // namespace

namespace scpi {

int CmdMeasAverCoun(ScpiInterface* ifc) {
    if (!Allowed(ifc)) return 0;
    return scpiNumericParam(ifc, kParamAvgCount);
}

int CmdMeasConfSens(ScpiInterface* ifc) {
    if (!Allowed(ifc)) return 0;
    if (scpiIsQuery(ifc) == 1) {
        WriteSignedReply(ifc, GetRemoteSense());
        return 0;
    }
    int32_t on;
    if (!IntegerParam(ifc, &on) || on < 0 || on > 1) {
        scpiSetError(ifc, kScpiErrDataOutOfRange);
        return 0;
    }
    if (on == 1 && (SeqSimIsActive() != 0 || RemoteSenseBlockReason() != 0)) {
        scpiSetError(ifc, kScpiErrExecution);
        return 0;
    }
    SetRemoteSense(on);
    return 0;
}

int CmdMeasPeakCle(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) == 1) return scpiRefuseHeader(ifc);
    if (!Allowed(ifc)) return 0;
    // The alternate set's CURRent:PEAK:CLEar carries no parameter: it clears every peak.
    int32_t item = kPeakAll;
    if (scpiGetParamCount(ifc) > 0 && !IntegerParam(ifc, &item)) {
        scpiSetError(ifc, kScpiErrParameter);
        return 0;
    }
    const uint32_t wiring = GetPhaseMode();
    if ((wiring == kWiring1P2W && item != kPeakAll) || (wiring == kWiring1P3W && item == kPeakL3)) {
        scpiSetError(ifc, kScpiErrExecution);
        return 0;
    }
    // A negative item would pass an "above L3" check alone.
    if (item < kPeakAll || item >= kPeakTotal) {
        scpiSetError(ifc, kScpiErrDataOutOfRange);
        return 0;
    }
    SetPeakClearItem(item);
    PeakClearRequest();
    ShowMessage(2, "Peak Hold Clear \nSuccess");
    return 0;
}

int CmdMeasUpdRate(ScpiInterface* ifc) {
    if (!Allowed(ifc)) return 0;
    ParamRec rec{};
    paramGetRecord(kParamUpdateRate, &rec, 0);
    if (scpiIsQuery(ifc) == 1) {
        if (rec.value < 0 || rec.value >= kRateCodes) {
            scpiSetError(ifc, kScpiErrExecution);
            return 0;
        }
        WriteTextReply(ifc, kRates[rec.value].text);
        return 0;
    }
    int32_t code;
    if (const uint32_t row = RequestedRate(ifc, &code); row != 0) {
        scpiSetError(ifc, row);
        return 0;
    }
    if (code < rec.min || code > rec.max) {
        scpiSetError(ifc, kScpiErrDataOutOfRange);
        return 0;
    }
    rec.value = code;
    paramPutRecord(kParamUpdateRate, &rec, 0);
    return 0;
}

}  // namespace scpi
