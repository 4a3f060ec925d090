// The measurement queries: scalar values from the snapshot (FETCh) or live (MEASure, which then takes a
// snapshot), and the harmonic lists in groups of twenty orders; each command first checks that its line
// (or the total) exists in the wiring.
#include <cstdio>
#include <string>

#include "core/control/measure/harmonics.h"
#include "core/system/state/ctrl_words.h"
#include "scpi/channels/remote_port.h"
#include "scpi/commands/scpi_cmd_ids.h"
#include "scpi/parser/scpi_errors.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/measure/scpi_meas_snapshot.h"
#include "scpi/handlers/scpi_refusals.h"
#include "scpi/handlers/scpi_setting_value.h"

namespace {

using scpi::kChoiceMax;
using scpi::kChoiceMin;

constexpr int32_t kGroups = 5, kGroupSize = 20;

int Line() {
    const uint32_t line = core::SelectedPhase();
    return static_cast<int>(line > 2 ? 2 : line);
}

int WriteValue(ScpiInterface* ifc, float value) {
    char text[48];
    const double v = value;
    // Zero (also a negative zero) is written with a plus sign.
    const int n = v < 0 ? std::snprintf(text, sizeof text, "%.4f", v)
                        : std::snprintf(text, sizeof text, "%+.4f", v + 0.0);
    if (n <= 0 || n >= static_cast<int>(sizeof text)) {
        scpiSetError(ifc, kScpiErrQueryUnterm);
        return 0;
    }
    scpiWriteResponse(ifc, text, static_cast<uint32_t>(n), kPortCopy, 0);
    return 0;
}

float LiveHarm(uint32_t list, int line, uint32_t k) {
    const HarmResult& h = g_HarmResult[line];
    switch (list) {
        case 0:
            return h.IMag[k].load(std::memory_order_relaxed);
        case 1:
            return h.IPct[k].load(std::memory_order_relaxed);
        case 2:
            return h.VMag[k].load(std::memory_order_relaxed);
        default:
            return h.VPct[k].load(std::memory_order_relaxed);
    }
}

// The orders a group parameter selects: [first, last]; false for a parameter that is none of them.
bool Orders(ScpiInterface* ifc, uint32_t* first, uint32_t* last) {
    *first = 0, *last = scpi::kHarmValues - 1;
    if (scpiGetParamCount(ifc) < 1 || scpi::ParamType(ifc, 0) == kItemOmitted) return true;
    int32_t group;
    if (scpiGetChoice(ifc, 0, &group) == 0) {
        if (group != kChoiceMin && group != kChoiceMax) return false;
        group = group == kChoiceMin ? 1 : kGroups;
    } else if (scpiGetInt(ifc, 0, &group) != 0 || group < 0 || group > kGroups) {
        return false;
    }
    if (group == 0) {
        *last = 0;
    } else {
        *first = static_cast<uint32_t>(kGroupSize * (group - 1) + 1);
        *last = static_cast<uint32_t>(kGroupSize * group);
    }
    return true;
}

}  // namespace

int scpiFetchQuery(ScpiInterface* ifc, uint32_t quantity) {
    if (scpiIsQuery(ifc) != 1) return scpiRefuseHeader(ifc);
    float value;
    {
        std::lock_guard<std::mutex> hold(g_MeasSnapshot.lock);
        if (!g_MeasSnapshot.valid || quantity >= scpi::kMeasScalars) {
            scpiSetError(ifc, kScpiErrDataStale);
            return 0;
        }
        value = g_MeasSnapshot.scalar[quantity][Line()];
    }
    return WriteValue(ifc, value);
}

int scpiMeasureQuery(ScpiInterface* ifc, uint32_t quantity) {
    if (scpiIsQuery(ifc) != 1) return scpiRefuseHeader(ifc);
    WriteValue(ifc, scpi::LiveScalar(quantity, Line()));
    MeasTakeSnapshot();
    return 0;
}

int scpiHarmonicList(ScpiInterface* ifc, uint32_t list, bool fromSnapshot) {
    if (scpiIsQuery(ifc) != 1) return scpiRefuseHeader(ifc);
    uint32_t first, last;
    if (!Orders(ifc, &first, &last) || list >= scpi::kHarmLists) {
        scpiSetError(ifc, kScpiErrParameter);
        return 0;
    }
    float values[scpi::kHarmValues];
    const int line = Line();
    if (fromSnapshot) {
        std::lock_guard<std::mutex> hold(g_MeasSnapshot.lock);
        if (!g_MeasSnapshot.valid) {
            scpiSetError(ifc, kScpiErrDataStale);
            return 0;
        }
        for (uint32_t k = first; k <= last; ++k)
            values[k] = g_MeasSnapshot.harm[list][line][k];
    } else {
        for (uint32_t k = first; k <= last; ++k)
            values[k] = LiveHarm(list, line, k);
        // A live list is a MEASure like the scalars: FETCh answers from what it read from then on.
        MeasTakeSnapshot();
    }
    std::string text;
    char one[32];
    for (uint32_t k = first; k <= last; ++k) {
        std::snprintf(one, sizeof one, "%s%0.4f", k == first ? "" : ",", static_cast<double>(values[k]));
        text += one;
    }
    scpiWriteResponse(ifc, text.data(), static_cast<uint32_t>(text.size()), kPortCopy, 0);
    return 0;
}

namespace {

enum class Guard : uint8_t { kPhase, kLine, kTotal };

// The check each scalar quantity passes first, in quantity order: the totals do not exist in 1P2W and the
// line voltages need a line-to-line pair of the selected line.
constexpr Guard kGuards[scpi::kMeasScalars] = {
    Guard::kPhase, Guard::kPhase, Guard::kPhase, Guard::kPhase, Guard::kPhase, Guard::kTotal, Guard::kPhase,
    Guard::kPhase, Guard::kPhase, Guard::kLine,  Guard::kLine,  Guard::kLine,  Guard::kLine,  Guard::kPhase,
    Guard::kTotal, Guard::kPhase, Guard::kTotal, Guard::kPhase, Guard::kTotal, Guard::kPhase, Guard::kTotal,
    Guard::kPhase, Guard::kTotal, Guard::kPhase, Guard::kPhase, Guard::kPhase, Guard::kPhase,
};

bool Refused(Guard guard) {
    switch (guard) {
        case Guard::kLine:
            return LineAccessInvalid() != 0;
        case Guard::kTotal:
            return IsPhaseMode1P2W() != 0;
        default:
            return PhaseAccessInvalid() != 0;
    }
}

// Runs the guard and tags the command with its main-set id, so that an alternate-set alias is answered as
// the main command; false (with the error set) when the guard refuses.
bool Admit(ScpiInterface* ifc, Guard guard, uint32_t mainId) {
    if (Refused(guard)) {
        scpiSetError(ifc, kScpiErrExecution);
        return false;
    }
    if (ifc->cmd != nullptr) ifc->cmd->cmdId = mainId;
    return true;
}

// MEASure ids skip 100, which clears the peaks.
uint32_t MeasureId(uint32_t quantity) {
    return scpi::kCmdMeasScalCurrCfac + quantity + (quantity < 13 ? 0 : 1);
}

}  // namespace

namespace scpi {

int CmdFetchScalar(ScpiInterface* ifc, uint32_t quantity) {
    if (quantity >= kMeasScalars || !Admit(ifc, kGuards[quantity], kCmdFetcScalCurrCfac + quantity)) return 0;
    return scpiFetchQuery(ifc, quantity);
}
int CmdMeasureScalar(ScpiInterface* ifc, uint32_t quantity) {
    if (quantity >= kMeasScalars || !Admit(ifc, kGuards[quantity], MeasureId(quantity))) return 0;
    return scpiMeasureQuery(ifc, quantity);
}
int CmdHarmList(ScpiInterface* ifc, uint32_t list, bool fromSnapshot) {
    const uint32_t first = fromSnapshot ? kCmdFetcScalCurrHarmRms : kCmdMeasScalCurrHarmRms;
    if (!Admit(ifc, Guard::kPhase, first + list)) return 0;
    return scpiHarmonicList(ifc, list, fromSnapshot);
}

}  // namespace scpi
