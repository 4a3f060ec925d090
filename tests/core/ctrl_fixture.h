#pragma once
// Fixtures of the core tests: a fresh instrument root with a freshly powered simulated power stage, the
// factory default of a model, and the control task stepped and watched through the stage's register
// trace. It brings the headers the tests drive the instrument with.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/control/ctrl_task.h"
#include "core/control/output_request.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/regbus/bus_transfer.h"
#include "core/regbus/encoding.h"
#include "core/regbus/reg_read.h"
#include "core/regbus/reg_step.h"
#include "core/regbus/reg_write.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/sys_status.h"
#include "platform/stage/power_stage_sim.h"
#include "tests/support/default_store.h"
#include "tests/support/temp_root.h"

namespace test {

// A fresh root (no interface card) and a freshly powered stage with the bus mapped.
struct InstrumentEnv {
    InstrumentEnv();
    testsupport::TempRoot root;
};
// Powers the stage up afresh and maps the bus again.
void ResetPowerStage();
// Sets the model type and runs its factory default.
void BuildDefaults(uint32_t modelType);
// Puts every process-wide word of the output state back to its start value.
void ResetOutputState();
// Both, for a test that starts the instrument again.
void Rebuild(uint32_t modelType = 1);
// A record as paramGetRecord reads it.
inline constexpr auto& Read = ReadRecord;
// One word of a voltage-class record (by mode, area, waveform, set and phase).
void SetVolt(uint32_t id, uint32_t mode, uint32_t area, uint32_t wave, uint32_t set, uint32_t phase,
             int32_t value, int32_t ParamRec::*field = &ParamRec::value);

// The instrument as powered up with the factory default of a model, the control task not yet run.
struct CtrlEnv {
    explicit CtrlEnv(uint32_t modelType = 1);
    ~CtrlEnv();
    InstrumentEnv env;
};
class CtrlTest : public ::testing::Test {
  protected:
    CtrlEnv env_;
};

inline plat::PowerStageSim& Stage() {
    return plat::PowerStage();
}
struct RegWrite {
    uint16_t reg, word;
    uint32_t raw;
    double value;
};
// The register writes since the last ClearTrace, oldest first; those to one register; the one write to a
// register (fails the test unless there is exactly one); the registers written, a run counted once.
std::vector<RegWrite> Writes();
std::vector<RegWrite> WritesTo(uint16_t reg);
std::vector<uint32_t> RawsTo(uint16_t reg);  // the raw words of WritesTo
RegWrite OnlyWriteTo(uint16_t reg);
std::vector<uint16_t> Registers();
inline void ClearTrace() {
    Stage().ClearTrace();
}
// The free text of the message popup.
std::string PopupText();
// A held popup shown and taken up by the popup machine.
void HoldPopup(const char* text);
// What `op` prints to the console (the popup texts among it).
template <typename Op>
std::string Console(Op op) {
    ::testing::internal::CaptureStdout();
    op();
    return ::testing::internal::GetCapturedStdout();
}
// The calibration-mode object started afresh and idling; the event waiting for its next step (0: none).
void StartCaliMode();
uint32_t PendingCaliModeEvent();
// Selects the line L1-L3 (0-2) the panel edits.
inline void SelectLine(uint32_t line) {
    g_OutputFlags = (g_OutputFlags.load() & ~(3u << 26)) | (line << 26);
}

// Polls the control task until it runs its periodic pass (false when it does not get there); until the
// system is ready as well, then clears the trace (the passes it took, 2000 when never); n times.
bool RunUntilRunning();
int RunUntilReady();
void Poll(int n = 1);
// Clears the trace and polls the control task until two passes in a row found nothing left to write
// (bounded).
void Settle();

}  // namespace test
