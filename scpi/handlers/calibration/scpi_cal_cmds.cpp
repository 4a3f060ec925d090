// CALibration: the remote run of the calibration procedure the calibration pages run on the panel. Every
// command needs the calibration access that SYSTem:PASSword gives.
#include <atomic>
#include <cmath>
#include <cstdint>

#include "core/control/calibration/cal_state.h"
#include "core/control/calibration/cali_exit.h"
#include "core/control/calibration/cali_step_record.h"
#include "core/control/calibration/calibration.h"
#include "core/control/hooks/screen_request.h"
#include "core/control/sys_event.h"
#include "core/regbus/reg_write.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/parser/scpi_errors.h"

namespace scpi {
namespace {

enum : int32_t { kVolt, kCurr, kSave, kRecall, kDefault, kExit, kExt, kCapacitance, kZero };
enum : int32_t { kChoiceExit = 0 };
constexpr uint32_t kModeVolt = 1u << 4, kModeCurr = 1u << 5;
// The one-shot calibrations run on all three phases at once; their kinds (6-8) follow the mode bits 6-8.
constexpr uint32_t kModeAllPhases = 7;
// The list item of the external offset calibration; capacitance and zero follow it.
constexpr uint32_t kFirstOneShotItem = 6;
constexpr uint32_t kCmdStart = 1u << 3, kCmdAbort = 1u << 5;
constexpr uint32_t kReadingSettleMs = 1000;
constexpr uint32_t kReadingHoldTicks = 20;

bool IsStart(int32_t mode) {
    return mode == kVolt || mode == kCurr || mode == kExt || mode == kCapacitance || mode == kZero;
}

int Refuse(ScpiInterface* ifc, uint32_t row) {
    scpiSetError(ifc, row);
    return 0;
}

bool Protected() {
    return !SysStatusTest(kSysCaliAccess);
}

void WriteMode(uint32_t mode) {
    g_CalState.mode.store(static_cast<uint16_t>(mode), std::memory_order_relaxed);
    BusReg_SetCaliMode(static_cast<int32_t>(mode));
}

void WriteCommand(uint32_t cmd) {
    g_CalState.cmd.store(cmd, std::memory_order_relaxed);
    BusReg_SetCaliCmd(static_cast<int32_t>(cmd));
}

// The selected phase's calibration starts at its first point page.
void StartProcedure(uint32_t kindBit, uint32_t firstPoint) {
    const uint32_t phase = core::SelectedPhase();
    g_CalState.phase.store(phase, std::memory_order_relaxed);
    WriteMode((1u << phase) | kindBit);
    WriteCommand(kCmdStart);
    ScreenRequest_Ask(ScreenRequest::kCalibrationPage, firstPoint, kCaliPageEnter);
}

// A one-shot leaves the calibration mode standing, as the list's item does, until the list's EXIT: asked
// from another page, it runs on the list with its item selected, so that the panel can leave it.
void ShowOneShotItem(int32_t mode) {
    const uint32_t state = g_MenuState.load(std::memory_order_acquire);
    if (IsCalibrationState(state)) return;
    g_CalState.savedSelection.store(static_cast<uint32_t>(mode - kExt) + kFirstOneShotItem,
                                    std::memory_order_relaxed);
    ScreenRequest_Ask(ScreenRequest::kCalibrationPage, kMenuCalibration, kCaliPageEnter);
}

// A reading in thousandths: a real is truncated, an integer scaled; a product that leaves 32 bits is
// refused rather than wrapped. The error row, 0 with the value.
uint32_t ReadingThousandths(const ScpiInterface* ifc, int32_t* out) {
    int32_t whole;
    double value;
    if (scpiGetInt(ifc, 0, &whole) == 0) {
        value = static_cast<double>(whole) * 1000.0;
    } else if (scpiGetReal(ifc, 0, &value) == 0) {
        value = std::trunc(value * 1000.0);
    } else {
        return kScpiErrParameter;
    }
    if (!(value >= INT32_MIN && value <= INT32_MAX)) return kScpiErrDataOutOfRange;
    *out = static_cast<int32_t>(value);
    return 0;
}

int Reading(ScpiInterface* ifc, bool (*isPoint)(uint32_t), int32_t (*pass)(int32_t)) {
    if (scpiIsQuery(ifc) == 1) return Refuse(ifc, kScpiErrQueryInterrupted);
    const uint32_t state = g_MenuState.load(std::memory_order_acquire);
    ParamRec rec;
    caliGetStepRecord(state, &rec);
    int32_t reading;
    if (const uint32_t row = ReadingThousandths(ifc, &reading); row != 0) return Refuse(ifc, row);
    if (Protected()) return Refuse(ifc, kScpiErrProtected);
    g_EditBuf.enteredInt = reading;
    plat::SleepMs(kReadingSettleMs);
    if (!isPoint(state)) return 0;
    if (reading < rec.min || reading > rec.max) return Refuse(ifc, kScpiErrDataOutOfRange);
    pass(reading);
    SetHoldCountdown(kReadingHoldTicks);
    return 0;
}

int Leave(ScpiInterface* ifc, void (*signal)()) {
    if (scpiIsQuery(ifc) == 1) return Refuse(ifc, kScpiErrQueryInterrupted);
    int32_t choice;
    if (scpiGetChoice(ifc, 0, &choice) != 0) return Refuse(ifc, kScpiErrParameter);
    if (Protected()) return Refuse(ifc, kScpiErrProtected);
    if (choice != kChoiceExit) return Refuse(ifc, kScpiErrSystem);
    ScreenRequest_Ask(ScreenRequest::kCalibrationPage, kMenuCalibration, kCaliPageEnter);
    WriteCommand(kCmdAbort);
    signal();
    return 0;
}

}  // namespace

int CmdCalConfMode(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) == 1) return Refuse(ifc, kScpiErrQueryInterrupted);
    int32_t mode;
    if (scpiGetChoice(ifc, 0, &mode) != 0 && scpiGetInt(ifc, 0, &mode) != 0)
        return Refuse(ifc, kScpiErrParameter);
    if (Protected()) return Refuse(ifc, kScpiErrProtected);
    // Like the other page changes, a start is refused while a point is up; the exits below still end it.
    if (IsStart(mode) && CalibrationPointUp()) return Refuse(ifc, kScpiErrSettingsConflict);
    switch (mode) {
        case kVolt:
            StartProcedure(kModeVolt, kMenuCalVoltR100P0);
            return 0;
        case kCurr:
            StartProcedure(kModeCurr, kMenuCalCurrP0);
            return 0;
        case kSave:
            caliSaveExit(1);
            return 0;
        case kRecall:
            caliRecallExit();
            return 0;
        case kDefault:
            caliDefaultExit();
            return 0;
        case kExit:
            CaliModeStart();
            caliGoHome();
            return 0;
        case kExt:
        case kCapacitance:
        case kZero:
            ShowOneShotItem(mode);
            WriteMode(kModeAllPhases | 1u << mode);
            WriteCommand(kCmdStart);
            caliExtOffset(mode);
            return 0;
        default:
            return Refuse(ifc, kScpiErrSystem);
    }
}

int CmdCalVoltAvg(ScpiInterface* ifc) {
    return Reading(ifc, IsCalVoltPointState, CaliVoltAvgSet);
}

int CmdCalCurrAvg(ScpiInterface* ifc) {
    return Reading(ifc, IsCalCurrPointState, CaliCurrAvgSet);
}

int CmdCalVolt(ScpiInterface* ifc) {
    return Leave(ifc, CaliVoltStepSignal);
}

int CmdCalCurr(ScpiInterface* ifc) {
    return Leave(ifc, CaliCurrStepSignal);
}

}  // namespace scpi
