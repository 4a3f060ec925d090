// The [SOURce:] settings that the generic numeric handler serves behind a guard of their own: one row
// per command.
#include "core/params/param_store.h"
#include "scpi/commands/scpi_cmd_ids.h"
#include "scpi/parser/scpi_errors.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/scpi_numeric_param.h"
#include "scpi/handlers/scpi_refusals.h"

namespace scpi {
namespace {

enum class Guard : uint8_t {
    kNone,
    kSlave,     // a parallel slave's master owns the setting
    kLineUnit,  // 1P2W has no line-to-line value
};

struct GenericRow {
    uint32_t cmd;
    uint32_t param;
    Guard guard;
};

constexpr GenericRow kRows[] = {
    {kCmdSourCurrLimPeakHigh, kParamIpkMax, Guard::kSlave},
    {kCmdSourCurrLimPeakLow, kParamIpkMin, Guard::kSlave},
    {kCmdSourCurrLimRmsAmpl, kParamCurrLimit2, Guard::kNone},
    {kCmdSourFreqLimHigh, kParamFreqLimitHi, Guard::kNone},
    {kCmdSourFreqLimLow, kParamFreqLimitLo, Guard::kNone},
    {kCmdSourLineVoltLevImmAmpl, kParamAcvLine, Guard::kLineUnit},
    {kCmdSourLineVoltLevImmOffs, kParamDcvLine, Guard::kLineUnit},
    {kCmdSourPhasStarImm, kParamOnPhase, Guard::kNone},
    {kCmdSourPhasStopImm, kParamOffPhase, Guard::kNone},
    {kCmdSourSquDcyc, kParamWaveDuty, Guard::kNone},
    {kCmdSourVoltLimHigh, kParamVpkMax, Guard::kNone},
    {kCmdSourVoltLimLow, kParamVpkMin, Guard::kNone},
    {kCmdSourVoltLevImmOffs, kParamDcv2, Guard::kNone},
};

}  // namespace

int CmdSourGenericRow(ScpiInterface* ifc, uint32_t cmd) {
    for (const GenericRow& row : kRows) {
        if (row.cmd != cmd) continue;
        if (row.guard == Guard::kSlave && RemoteSettingBlocked()) {
            scpiSetError(ifc, RemoteBlockedRow());
            return 0;
        }
        if (row.guard == Guard::kLineUnit && IsPhaseMode1P2W()) {
            scpiSetError(ifc, kScpiErrExecution);
            return 0;
        }
        return scpiNumericParam(ifc, row.param);
    }
    return CmdUndefined(ifc);
}

}  // namespace scpi
