// MODE (the output mode) and [SOURce:]VOLTage:RANGe: the settings that reconfigure the power stage. A
// set requests the reconfiguration, and the command completes once the control task has applied it.
#include "core/control/hooks/screen_request.h"
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/sys_status.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/handlers/scpi_setting_value.h"
#include "scpi/parser/scpi_errors.h"

namespace scpi {
namespace {

constexpr const char* kModeNames[] = {"ACDC-INT", "AC-INT", "DC-INT",    "ACDC-EXT", "AC-EXT",
                                      "ACDC-ADD", "AC-ADD", "ACDC-Sync", "AC-Sync",  "AC-VCA"};
constexpr int32_t kModeLast = kModeAcVca;
constexpr const char* kRangeNames[] = {"100", "200", "AUTO"};
// The output modes that have no AUTO range: the external and the added ones, and AC-VCA.
constexpr uint32_t kNoAutoModes =
    (1u << kModeAcDcExt) | (1u << kModeAcExt) | (1u << kModeAcDcAdd) | (1u << kModeAcAdd) | (1u << kModeAcVca);

// The hand-shake field with the control task: 1 requested, 2 taken. Other threads change other bits of
// the word meanwhile, so the field changes in one atomic step.
void RequestReconfig() {
    constexpr uint32_t kMask = 3u << kSysReconfigLow, kRequested = 1u << kSysReconfigLow;
    uint32_t old = g_SysStatus.load(std::memory_order_relaxed);
    while (!g_SysStatus.compare_exchange_weak(old, (old & ~kMask) | kRequested, std::memory_order_release,
                                              std::memory_order_relaxed)) {
    }
}

int QueryMode(ScpiInterface* ifc) {
    const uint32_t mode = GetOutputMode();
    if (mode > static_cast<uint32_t>(kModeLast)) {
        WriteSignedReply(ifc, static_cast<int32_t>(mode));
        return 0;
    }
    WriteTextReply(ifc, kModeNames[mode]);
    return 0;
}

int SetMode(ScpiInterface* ifc) {
    if (SeqSimIsActive()) {
        scpiSetError(ifc, kScpiErrExecution);
        return 0;
    }
    int32_t mode;
    if (const uint32_t error = ChoiceOrNumber(ifc, 0, &mode); error != 0) {
        scpiSetError(ifc, error);
        return 0;
    }
    if (mode < 0 || mode > kModeLast) {
        scpiSetError(ifc, kScpiErrSystem);
        return 0;
    }
    SetOutputMode(static_cast<uint32_t>(mode));
    g_OutputRefresh.store(1, std::memory_order_release);
    ScreenRequest_Ask(ScreenRequest::kAdvanceScreen);
    RequestReconfig();
    return 0;
}

int QueryRange(ScpiInterface* ifc) {
    int32_t choice;
    if (scpiGetParamCount(ifc) > 0 && scpiGetChoice(ifc, 0, &choice) == 0) {
        if (choice != kChoiceMin && choice != kChoiceMax) {
            scpiSetError(ifc, kScpiErrParameter);
            return 0;
        }
        WriteTextReply(ifc, kRangeNames[choice == kChoiceMax ? kUserRange200V : kUserRange100V]);
        return 0;
    }
    const int32_t range = GetVoltRange();
    if (range < kUserRange100V || range > kUserRangeAuto) {
        WriteSignedReply(ifc, range);
        return 0;
    }
    WriteTextReply(ifc, kRangeNames[range]);
    return 0;
}

int SetRange(ScpiInterface* ifc) {
    if (SeqSimIsActive()) {
        scpiSetError(ifc, kScpiErrExecution);
        return 0;
    }
    int32_t range;
    if (const uint32_t error = ChoiceOrNumber(ifc, 0, &range); error != 0) {
        scpiSetError(ifc, error);
        return 0;
    }
    if (range == 100) range = kUserRange100V;
    if (range == 200) range = kUserRange200V;
    if (range < kUserRange100V || range > kUserRangeAuto) {
        scpiSetError(ifc, kScpiErrDataOutOfRange);
        return 0;
    }
    if (range == kUserRangeAuto && ((kNoAutoModes >> GetOutputMode()) & 1u)) {
        scpiSetError(ifc, kScpiErrExecution);
        return 0;
    }
    SetVoltRange(RangeUserToCode(static_cast<uint32_t>(range)));
    RequestReconfig();
    return 0;
}

}  // namespace

int CmdSourMode(ScpiInterface* ifc) {
    return scpiIsQuery(ifc) == 1 ? QueryMode(ifc) : SetMode(ifc);
}

int CmdSourVoltRang(ScpiInterface* ifc) {
    return scpiIsQuery(ifc) == 1 ? QueryRange(ifc) : SetRange(ifc);
}

}  // namespace scpi
